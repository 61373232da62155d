#include "skin_files.h"

#include "art_style.h"
#include "assets/config_keys.h"
#include "backdrop.h"
#include "handheld.h"
#include "lcd_art.h"

#include <QStringList>
#include <map>
#include <utility>

namespace Art {

namespace {

bool Is_Click_Area(Element_Id id) {
  return id == btn_cursor_top || id == btn_attack_top || id == btn_acl_top || id == btn_move_top;
}

bool Is_Pressed_Button(Element_Id id) {
  return id == btn_cursor_down || id == btn_attack_down || id == btn_acl_down ||
         id == btn_move_down;
}

QString Name(Element_Id id) {
  return QString::fromLatin1(Element_Name(id));
}

const QImage& Pressed_Handheld(int scale) {
  static std::map<int, QImage> pictures;
  QImage& picture = pictures[scale];
  if (picture.isNull()) picture = Draw_Handheld(Button_State::Pressed, scale);
  return picture;
}

} // namespace

bool Is_Panel_Position(Element_Id id) {
  return id == im_panel_digit_pos_1 || id == im_panel_digit_pos_2;
}

QString Skin_File_Name(Element_Id id) {
  if (Is_Click_Area(id) || Is_Panel_Position(id)) return {};
  return Name(id) + QStringLiteral(".png");
}

QImage Skin_Picture(Element_Id id, int scale) {
  if (id == im_background) return Draw_Handheld(Button_State::Up, scale);
  if (id == im_background_screen_top) return Draw_Screen_Glass(scale);
  if (Is_Pressed_Button(id)) return Pressed_Button(Pressed_Handheld(scale), id);
  if (Is_Lcd_Segment(id)) return Lit_Segment(id, scale);
  return {}; // the click areas and the panel positions have no picture of their own
}

QString Config_Ini_Text() {
  QStringList lines;
  lines << QStringLiteral("; Grathmoor skin configuration.")
        << QStringLiteral("; Folders are relative to the game folder; 'nil' names no file.")
        << QString() << QStringLiteral("[Common]") << Config_Line(Config::Skin_Dir)
        << Config_Line(Config::Game_Width, QString::number(Default_Client_Size().width()))
        << Config_Line(Config::Game_Height, QString::number(Default_Client_Size().height()))
        << QString() << QStringLiteral("[VideoMode]") << Config_Line(Config::Transp_Color)
        << QString() << QStringLiteral("[Fullscreen]") << Config_Line(Config::Backdrop_Dir)
        << Config_Line(Config::Backdrop_File, Backdrop_File)
        << Config_Line(Config::Backdrop_Stretch)
        << Config_Line(Config::Bg_Color, Backdrop_Edge_Colour())
        << Config_Line(Config::Game_Offset_X) << Config_Line(Config::Game_Offset_Y)
        << Config_Line(Config::Logo_File, Logo_File) << Config_Line(Config::Logo_Position)
        << QString() << QStringLiteral("[Manual]") << Config_Line(Config::Manual_Dir)
        << Config_Line(Config::Manual_Width) << Config_Line(Config::Manual_Height);
  for (int n = 1; n <= Skin_Element_Count; ++n) {
    const Element_Id id = Skin_Elements[static_cast<std::size_t>(n - 1)];
    const QRect rect = Built_In_Rect(id);
    const QString file = Skin_File_Name(id);
    lines << QString() << QLatin1Char('[') + Config::Image_Section(n) + QLatin1Char(']');
    if (Is_Panel_Position(id))
      lines << QStringLiteral("; %1: the game copies glyphs into it; a picture named here")
                   .arg(Name(id))
            << QStringLiteral("; would blank the panel of a running game at every mode switch")
            << QLatin1String(Config::Image_File) + QStringLiteral("=nil");
    else if (file.isEmpty())
      lines << QStringLiteral("; %1: click area only, so the pressed button beneath shows")
                   .arg(Name(id))
            << QLatin1String(Config::Image_File) + QStringLiteral("=nil");
    else
      lines << QLatin1String(Config::Image_File) + QLatin1Char('=') + file;
    for (const auto& [key, value] : {std::pair{Config::Image_Left, rect.left()},
                                     {Config::Image_Top, rect.top()},
                                     {Config::Image_Width, rect.width()},
                                     {Config::Image_Height, rect.height()}})
      lines << QStringLiteral("%1=%2").arg(QLatin1String(key)).arg(value);
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Picture_Files Skin_Files() {
  Picture_Files files;
  for (int scale : Skin_Scales)
    for (Element_Id id : Skin_Elements) {
      const QString file = Skin_File_Name(id);
      if (!file.isEmpty())
        files.push_back({Scaled_File_Name(QStringLiteral("Graphics/Skin/") + file, scale),
                         Skin_Picture(id, scale)});
    }
  return files;
}

} // namespace Art
