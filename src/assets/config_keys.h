// The keys of Config.ini and what each stands for when it is missing. The skin loader and the
// manual read them, and the generator of the shipped file writes them, from here.
#pragma once

#include <QString>

struct Config_Key {
  const char* Section;
  const char* Key;
  const char* Default; // as it would be written in the file; none for the image sections
};

namespace Config {
inline constexpr Config_Key Skin_Dir{"Common", "SkinDir", "Graphics\\Skin\\"};
// Missing, the client area is the background's built-in size.
inline constexpr Config_Key Game_Width{"Common", "GameWidth", nullptr};
inline constexpr Config_Key Game_Height{"Common", "GameHeight", nullptr};
inline constexpr Config_Key Transp_Color{"VideoMode", "TranspColor", "$00ff00ff"};
inline constexpr Config_Key Backdrop_Dir{"Fullscreen", "BackdropDir", "Graphics\\Backdrops\\"};
inline constexpr Config_Key Backdrop_File{"Fullscreen", "BackdropFile", "nil"};
inline constexpr Config_Key Backdrop_Stretch{"Fullscreen", "BackdropStretch", "0"};
inline constexpr Config_Key Bg_Color{"Fullscreen", "BgColor", "$00000000"};
inline constexpr Config_Key Game_Offset_X{"Fullscreen", "GameOffsetX", "Center"};
inline constexpr Config_Key Game_Offset_Y{"Fullscreen", "GameOffsetY", "Center"};
inline constexpr Config_Key Logo_File{"Fullscreen", "LogoFile", "nil"};
inline constexpr Config_Key Logo_Position{"Fullscreen", "LogoPosition", "1"};
inline constexpr Config_Key Manual_Dir{"Manual", "ManualDir", "Graphics\\Manual\\"};
inline constexpr Config_Key Manual_Width{"Manual", "ManualWidth", "375"};
inline constexpr Config_Key Manual_Height{"Manual", "ManualHeight", "600"};

// Section ImageN configures skin element N with these keys; missing, a number is 0 and the file
// is none.
inline QString Image_Section(int n) {
  return QStringLiteral("Image%1").arg(n);
}
inline constexpr const char* Image_File = "Filename";
inline constexpr const char* Image_Left = "Left";
inline constexpr const char* Image_Top = "Top";
inline constexpr const char* Image_Width = "Width";
inline constexpr const char* Image_Height = "Height";
} // namespace Config

// "Key=value", as the file has it; the key's own default where no value is given.
inline QString Config_Line(const Config_Key& key, const QString& value) {
  return QLatin1String(key.Key) + QLatin1Char('=') + value;
}
inline QString Config_Line(const Config_Key& key) {
  return Config_Line(key, QString::fromLatin1(key.Default));
}
