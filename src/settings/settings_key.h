// The per-user settings store: seven text values under organisation "Kelvamor", application
// "Tov50" ($XDG_CONFIG_HOME/Kelvamor/Tov50.conf). Every write is on disk when it returns.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QSettings;

class Settings_Key {
public:
  Settings_Key();
  ~Settings_Key();
  Settings_Key(const Settings_Key&) = delete;
  Settings_Key& operator=(const Settings_Key&) = delete;

  // An absent or empty value, or text that is no decimal integer, reads as the default; so does
  // a value that is not text, after the message "Invalid data type for '%s'".
  int Read_Integer(const QString& name, int default_value);
  void Write_Integer(const QString& name, int value);
  // Several values, each as Write_Integer would write it.
  void Write_Integers(const std::vector<std::pair<QString, int>>& values);
  // Read as an integer with default 0 or 1; true when non-zero.
  bool Read_Bool(const QString& name, bool default_value);
  void Write_Bool(const QString& name, bool value);

  // Reports a failed write ("Failed to set data for '%s'") or a value of the wrong type to the
  // user; set by the program. Unset, the message goes to standard error.
  std::function<void(const QString& message)> On_Error;

private:
  void Open();
  void Write_One(const QString& name, int value);
  void Report(const QString& message) const;

  std::unique_ptr<QSettings> Store;
};
