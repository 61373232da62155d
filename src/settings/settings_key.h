// The per-user settings store: the text values under organisation "Kelvamor", application
// "Tov50" ($XDG_CONFIG_HOME/Kelvamor/Tov50.conf). Every write is on disk when it returns;
// one of values the file already holds leaves the file as it is.
#pragma once

#include "desktop/reporter.h"

#include <QLatin1String>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QSettings;

// Where the store lies: the organisation's folder and the application's file in it.
inline constexpr char Settings_Organisation[] = "Kelvamor";
inline constexpr char Settings_Application[] = "Tov50";

// The names of the values.
namespace Setting {
inline constexpr QLatin1String Sound_Mode("SoundMode");
inline constexpr QLatin1String Splash_Screen("SplashScreen");
inline constexpr QLatin1String Fullscreen_Mode("FullscreenMode");
inline constexpr QLatin1String Lcd_Response("LcdResponse");
inline constexpr QLatin1String Zoom("Zoom");
// By binding number 1..4: All Clear, Cursor, Start game/Attack, Select game/Move.
inline constexpr std::array<QLatin1String, 5> Key = {QLatin1String(), QLatin1String("Key1"),
                                                     QLatin1String("Key2"), QLatin1String("Key3"),
                                                     QLatin1String("Key4")};
} // namespace Setting

// The folder of the settings file, $XDG_CONFIG_HOME/Kelvamor; the player may put other files
// for the program there.
QString Settings_Folder();

class Settings_Key {
public:
  // Problems go to `report`: a failed write ("Failed to set data for '%s'") or a value of the
  // wrong type. Unset, the message goes to standard error.
  explicit Settings_Key(Reporter report = {});
  ~Settings_Key();
  Settings_Key(const Settings_Key&) = delete;
  Settings_Key& operator=(const Settings_Key&) = delete;

  // An absent or empty value, or text that is no decimal integer, reads as the default; so does
  // a value that is not text, after the message "Invalid data type for '%s'".
  int Read_Integer(const QString& name, int default_value);
  // The same without a word: nothing where Read_Integer would give the default.
  std::optional<int> Peek_Integer(const QString& name) const;
  // True when Read_Integer would tell of the value: it is there, but not text.
  bool Would_Tell(const QString& name) const;
  void Write_Integer(const QString& name, int value);
  // Several values, each as Write_Integer would write it.
  void Write_Integers(const std::vector<std::pair<QString, int>>& values);
  // Read as an integer with default 0 or 1; true when non-zero.
  bool Read_Bool(const QString& name, bool default_value);
  void Write_Bool(const QString& name, bool value);

private:
  void Open();
  bool Holds_Already(const std::vector<std::pair<QString, int>>& values);
  void Write_One(const QString& name, int value);

  Reporter Report;
  std::unique_ptr<QSettings> Store;
};
