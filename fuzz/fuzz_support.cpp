#include "fuzz_support.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace Fuzz {

void Start_Application() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept for the whole run: libFuzzer ends the process without returning from main.
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

const QString& Scratch_Folder() {
  static QTemporaryDir dir;
  static const QString path = dir.path() + '/';
  if (!dir.isValid()) std::abort();
  return path;
}

bool Write_File(const QString& path, const QByteArray& contents) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(contents) == contents.size();
}

bool Write_File(const QString& path, const uint8_t* data, size_t size) {
  return Write_File(path,
                    QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

} // namespace Fuzz
