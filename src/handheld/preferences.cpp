#include "handheld/preferences.h"

#include "settings/settings_key.h"

#include <algorithm>

Preferences::Preferences(Settings_Key& store, std::optional<bool> lcd_response_on,
                         std::optional<int> zoom)
    : Store(&store) {
  Is_Fullscreen = Store->Read_Bool(Setting::Fullscreen_Mode, true);
  Response_On = lcd_response_on.value_or(Store->Read_Bool(Setting::Lcd_Response, true));
  Zoom_Percent = Valid_Zoom(zoom.value_or(Store->Read_Integer(Setting::Zoom, Unzoomed)));
}

bool Preferences::Splash_At_Start() {
  if (!Splash) Splash = !Store || Store->Read_Bool(Setting::Splash_Screen, true);
  return *Splash;
}

void Preferences::Show_Splash_At_Start(bool on) {
  if (Splash == on) return;
  Splash = on;
  emit Splash_At_Start_Changed(on);
}

void Preferences::Keep_Splash_At_Start(bool on) {
  if (Store) Store->Write_Bool(Setting::Splash_Screen, on);
  // Told even when unchanged: a window that never asked for the choice learns it here.
  Splash = on;
  emit Splash_At_Start_Changed(on);
}

void Preferences::Reread_Splash_At_Start() {
  const bool shown = Splash_At_Start();
  Show_Splash_At_Start(Store ? Store->Read_Bool(Setting::Splash_Screen, shown) : shown);
}

void Preferences::Set_Fullscreen(bool on) {
  if (Store) Store->Write_Bool(Setting::Fullscreen_Mode, on);
  if (Is_Fullscreen == on) return;
  Is_Fullscreen = on;
  emit Fullscreen_Changed(on);
}

void Preferences::Set_Zoom(int zoom) {
  zoom = Valid_Zoom(zoom);
  if (Store) Store->Write_Integer(Setting::Zoom, zoom);
  if (Zoom_Percent == zoom) return;
  Zoom_Percent = zoom;
  emit Zoom_Changed(zoom);
}
