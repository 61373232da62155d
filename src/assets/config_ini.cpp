#include "assets/config_ini.h"

#include <QFile>
#include <QStringDecoder>
#include <cstring>
#include <ini.h>

namespace {

// A colour laid out as 0x00BBGGRR; the top byte is ignored.
QColor Bgr_Colour(int number) {
  const auto bgr = static_cast<unsigned>(number);
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// Hands the parser one line at a time. Lines lose their leading blanks, so an indented key is
// never taken as the continuation of the previous value, and a line too long for the parser's
// buffer is dropped whole: cut into pieces, its tail would be read as a key of its own.
struct Line_Reader {
  const QByteArray& Text;
  qsizetype Pos = 0;

  static char* Next(char* buffer, int size, void* stream) {
    auto& self = *static_cast<Line_Reader*>(stream);
    const QByteArray& text = self.Text;
    if (self.Pos >= text.size() || size < 2) return nullptr;
    qsizetype end = text.indexOf('\n', self.Pos);
    end = end < 0 ? text.size() : end + 1;
    qsizetype start = self.Pos;
    self.Pos = end;
    while (start < end && (text[start] == ' ' || text[start] == '\t'))
      ++start;
    const qsizetype length = end - start;
    if (length > size - 1) {
      std::strcpy(buffer, "\n");
      return buffer;
    }
    std::memcpy(buffer, text.constData() + start, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return buffer;
  }
};

// Config.ini files are usually UTF-8, but one saved by an older editor may be Latin-1.
QString Decode(const char* bytes) {
  const QByteArrayView text(bytes);
  return text.isValidUtf8() ? QString::fromUtf8(text) : QString::fromLatin1(text);
}

std::optional<int> Parse_Hex(QStringView digits) {
  if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
  bool ok = false;
  const uint value = digits.toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  return static_cast<int>(value);
}

} // namespace

std::optional<Config_Ini> Config_Ini::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return Parse(file.readAll());
}

Config_Ini Config_Ini::Parse(const QByteArray& text) {
  Config_Ini ini;
  Line_Reader reader{text};
  // Lines the parser does not understand are skipped; the rest of the file still counts.
  ini_parse_stream(&Line_Reader::Next, &reader, &Config_Ini::On_Value, &ini);
  return ini;
}

int Config_Ini::On_Value(void* user, const char* section, const char* name, const char* value) {
  auto& ini = *static_cast<Config_Ini*>(user);
  // The first of a repeated key wins.
  std::pair<QString, QString> key{Decode(section).toLower(), Decode(name).toLower()};
  if (!ini.Values.contains(key)) ini.Values.insert(std::move(key), Decode(value ? value : ""));
  return 1;
}

const QString* Config_Ini::Find(const QString& section, const QString& key) const {
  const auto it = Values.constFind({section.toLower(), key.toLower()});
  return it == Values.cend() ? nullptr : &it.value();
}

QString Config_Ini::String(const Config_Key& key) const {
  return String(key.Section, key.Key, key.Default);
}

int Config_Ini::Integer(const Config_Key& key) const {
  return Integer(key.Section, key.Key, To_Integer(key.Default).value_or(0));
}

QColor Config_Ini::Colour(const Config_Key& key, const Reporter& report) const {
  return Colour(key.Section, key.Key, Bgr_Colour(To_Integer(key.Default).value_or(0)), report);
}

QString Config_Ini::Folder(const Config_Key& key) const {
  return Folder(key.Section, key.Key, key.Default);
}

std::optional<QString> Config_Ini::File_Name(const Config_Key& key) const {
  return File_Name(key.Section, key.Key, key.Default);
}

QString Config_Ini::String(const QString& section, const QString& key,
                           const QString& default_value) const {
  const QString* value = Find(section, key);
  return value ? *value : default_value;
}

std::optional<int> Config_Ini::To_Integer(const QString& text) {
  if (text.startsWith('$')) return Parse_Hex(QStringView(text).mid(1));
  if (text.startsWith("0x", Qt::CaseInsensitive)) return Parse_Hex(QStringView(text).mid(2));
  if (text.isEmpty()) return std::nullopt;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool sign = i == 0 && (c == '+' || c == '-') && text.size() > 1;
    if (!sign && (c < '0' || c > '9')) return std::nullopt;
  }
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

int Config_Ini::Integer(const QString& section, const QString& key, int default_value) const {
  const QString* value = Find(section, key);
  if (!value) return default_value;
  return To_Integer(*value).value_or(default_value);
}

QColor Config_Ini::Colour(const QString& section, const QString& key, const QColor& default_value,
                          const Reporter& report) const {
  const QString* value = Find(section, key);
  if (!value) return default_value;
  const std::optional<int> number = To_Integer(*value);
  if (!number) {
    if (report) report(QString("'%1' is not a valid integer value").arg(*value));
    return default_value;
  }
  return Bgr_Colour(*number);
}

QString Config_Ini::Folder(const QString& section, const QString& key,
                           const QString& default_value) const {
  QString folder = String(section, key, default_value);
  folder.replace('\\', '/');
  // An empty folder would otherwise become "/", the root of the file system.
  if (folder.isEmpty()) return "./";
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

std::optional<QString> Config_Ini::File_Name(const QString& section, const QString& key,
                                             const QString& default_value) const {
  QString name = String(section, key, default_value);
  if (name.isEmpty() || name == "nil") return std::nullopt;
  // Skins are made where the backslash separates folders ("sub\pic.png").
  name.replace('\\', '/');
  return name;
}
