// The player's preferences, each kept once: whether the splash screen comes up at start, the
// display mode, the zoom and the LCD's response. Every window shows them from here and changes
// them here; a change is announced to whoever shows it, so no window tells another.
#pragma once

#include <QObject>
#include <optional>

class Settings_Key;

class Preferences : public QObject {
  Q_OBJECT
public:
  // Reads the display mode, the zoom and the response from the store (the command line's
  // response goes before the stored one, and is not written back). The splash choice is read
  // when it is first asked for: the splash screen reads it after the sound output.
  Preferences(Settings_Key& store, std::optional<bool> lcd_response_on);

  bool Splash_At_Start();
  // A choice shown before it is kept (the splash's check box until play).
  void Show_Splash_At_Start(bool on);
  // The choice shown and kept in the store.
  void Keep_Splash_At_Start(bool on);
  // The stored choice, with the one shown now as its default.
  void Reread_Splash_At_Start();

  bool Fullscreen() const { return Is_Fullscreen; }
  void Set_Fullscreen(bool on);

  // The handheld's own enlargement over the desktop's scale, a whole factor from 1.
  int Zoom() const { return Zoom_Factor; }
  void Set_Zoom(int zoom);

  bool Lcd_Response() const { return Response_On; }

  // From now on nothing more is read or written: the store is closed with the main window.
  void Close_Store() { Store = nullptr; }

signals:
  void Splash_At_Start_Changed(bool on);
  void Fullscreen_Changed(bool on);
  void Zoom_Changed(int zoom);

private:
  Settings_Key* Store;
  std::optional<bool> Splash;
  bool Is_Fullscreen = true;
  int Zoom_Factor = 1;
  bool Response_On = true;
};
