// Config.ini text as a user might have mangled it: the reader and every value rule must give
// a value or the default, never crash. The first line of the input names the section and key
// looked up (as "section/key"), so the lookups also meet the keys the file actually holds.
#include "assets/config_ini.h"

#include <QStringList>

namespace {

void Look_Up(const Config_Ini& ini, const QString& section, const QString& key) {
  const Reporter report = [](const QString& message) { (void)message.size(); };
  (void)ini.String(section, key, "default");
  (void)ini.Integer(section, key, 7);
  (void)ini.Colour(section, key, QColor(1, 2, 3), report);
  (void)ini.Colour(section, key, QColor(1, 2, 3), nullptr);
  const QString folder = ini.Folder(section, key, "Graphics\\Skin\\");
  if (!folder.endsWith('/')) __builtin_trap();
  if (const auto name = ini.File_Name(section, key, "nil"); name && name->isEmpty())
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Config_Ini ini = Config_Ini::Parse(text);

  const QString first_line = QString::fromUtf8(text.left(text.indexOf('\n')));
  const QStringList parts = first_line.split('/');
  const QString section = parts.value(0).trimmed();
  const QString key = parts.value(1).trimmed();
  Look_Up(ini, section, key);
  Look_Up(ini, section.toUpper(), key.toUpper());
  Look_Up(ini, "Common", "GameWidth");
  Look_Up(ini, "Image1", "Filename");
  Look_Up(ini, "VideoMode", "TranspColor");
  Look_Up(ini, "Fullscreen", "GameOffsetX");

  // The integer rules on their own, for text that comes from elsewhere.
  if (const auto value = Config_Ini::To_Integer(first_line)) {
    // Whatever reads as an integer must read back the same from its own decimal form.
    if (Config_Ini::To_Integer(QString::number(*value)) != value) __builtin_trap();
  }
  return 0;
}
