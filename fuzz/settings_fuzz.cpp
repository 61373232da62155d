// A mangled settings file: every value must read as a number or its default, and a write must
// still work afterwards. XDG_CONFIG_HOME points into this process's scratch folder.
#include "fuzz_support.h"
#include "settings/settings_key.h"

#include <QDir>
#include <QFile>
#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QString Settings_File() {
  return Fuzz::Scratch_Folder() + "config/Kelvamor/Tov50.conf";
}

constexpr std::array Names{"SoundMode", "SplashScreen", "FullscreenMode", "Key1", "Key2",
                           "Key3",      "Key4"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Before the application object: QSettings reads the variable once per process.
  setenv("XDG_CONFIG_HOME", qPrintable(Fuzz::Scratch_Folder() + "config"), 1);
  QDir(Fuzz::Scratch_Folder()).mkpath("config/Kelvamor");
  Fuzz::Start_Application();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = Settings_File();
  if (!Fuzz::Write_File(path, data, size)) return 0;
  // QSettings keeps the files it has read and rereads one only when its size or time stamp
  // moved; a fresh time stamp per input makes each input count even at the same size.
  static long long stamp = 1000000000;
  ++stamp;
  const timespec times[2] = {{stamp, 0}, {stamp, 0}};
  utimensat(AT_FDCWD, qPrintable(path), times, 0);

  Settings_Key key([](const QString& message) { (void)message.size(); });
  for (const char* name : Names) {
    (void)key.Read_Integer(name, -5);
    (void)key.Read_Bool(name, true);
  }
  const int wanted = static_cast<int>(size % 41);
  key.Write_Integer("Key2", wanted);
  if (key.Read_Integer("Key2", -1) != wanted) __builtin_trap();
  return 0;
}
