// Config.ini: the skin's and the manual's configuration, an INI text file beside the
// executable. Section and key names match without regard to case, values are trimmed, and the
// first value of a key that appears twice is the one that counts.
#pragma once

#include "assets/config_keys.h"
#include "desktop/reporter.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <optional>
#include <utility>

class Config_Ini {
public:
  // Reads the file; nothing when it cannot be opened.
  static std::optional<Config_Ini> Load(const QString& path);
  static Config_Ini Parse(const QByteArray& text);

  // The value as written, or the default when the key is missing.
  QString String(const QString& section, const QString& key, const QString& default_value) const;

  // Decimal with an optional sign, or "$"/"0x" and up to eight hexadecimal digits (read as 32
  // bits, so "$FFFFFFFF" is -1). Anything else, and a missing key, give the default.
  int Integer(const QString& section, const QString& key, int default_value) const;

  // A colour laid out as 0x00BBGGRR, in decimal or "$" hexadecimal; the top byte is ignored.
  // A missing key gives the default; a malformed value (an empty one too) is reported as
  // "'<value>' is not a valid integer value" and gives the default as well.
  QColor Colour(const QString& section, const QString& key, const QColor& default_value,
                const Reporter& report) const;

  // A folder with '/' as its delimiter (a backslash is taken as one) and a trailing delimiter.
  // An empty value is the working directory, "./".
  QString Folder(const QString& section, const QString& key, const QString& default_value) const;

  // A file name inside some folder, with '/' for a backslash as in folders; nothing for "" and
  // for exactly "nil" (lower case).
  std::optional<QString> File_Name(const QString& section, const QString& key,
                                   const QString& default_value) const;

  // As above, for a key of the program's with its own default.
  QString String(const Config_Key& key) const;
  int Integer(const Config_Key& key) const;
  QColor Colour(const Config_Key& key, const Reporter& report) const;
  QString Folder(const Config_Key& key) const;
  std::optional<QString> File_Name(const Config_Key& key) const;

  // The integer rules of Integer, for values that come from elsewhere (e.g. GameOffsetX).
  static std::optional<int> To_Integer(const QString& text);

private:
  static int On_Value(void* user, const char* section, const char* name, const char* value);
  const QString* Find(const QString& section, const QString& key) const;

  // (section, key) in lower case -> value.
  QHash<std::pair<QString, QString>, QString> Values;
};
