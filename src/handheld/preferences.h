// The player's preferences, each kept once: whether the splash screen comes up at start, the
// display mode, the zoom and the LCD's response. Every window shows them from here and changes
// them here; a change is announced to whoever shows it, so no window tells another.
#pragma once

#include "desktop/zoom.h"

#include <QObject>
#include <optional>

class Settings_Key;

class Preferences : public QObject {
  Q_OBJECT
public:
  // Reads the display mode, the zoom and the response from the store (the command line's
  // response goes before the stored one, and is not written back). The splash choice is read
  // when it is first asked for: the splash screen reads it after the sound output.
  // The command line's zoom goes before the stored one in the same way.
  Preferences(Settings_Key& store, std::optional<bool> lcd_response_on,
              std::optional<int> zoom = {});

  bool Splash_At_Start();
  // A choice shown before it is kept (the splash's check box until play).
  void Show_Splash_At_Start(bool on);
  // The choice shown and kept in the store.
  void Keep_Splash_At_Start(bool on);
  // The stored choice, with the one shown now as its default.
  void Reread_Splash_At_Start();

  bool Fullscreen() const { return Is_Fullscreen; }
  void Set_Fullscreen(bool on);

  // The handheld's own size in a window over the desktop's scale, in percent: a whole step
  // from 100 (a stored value that is none reads as 100). The window shows the largest step
  // that fits the screen when this one does not.
  int Zoom() const { return Zoom_Percent; }
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
  int Zoom_Percent = Unzoomed;
  bool Response_On = true;
};
