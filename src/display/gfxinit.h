// The skin loader: applies Config.ini to the main window's elements and tells the window what
// it must set on itself (client size, colours, offsets). It runs when the window is created
// and again on every full-screen toggle, so edits to Config.ini take effect at the next toggle.
#pragma once

#include "display/config_ini.h"
#include "lcd/lcd_surface.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

inline constexpr char Config_Missing_Message[] =
    "Configuration file (Config.ini) not found. Please reinstall the game.";

// What the skin elements' pictures may take in memory together. The handheld's own take a few
// megabytes; a skin that names big pictures for many elements stops here, not at the end of
// the machine's memory. A picture past the allowance is reported and left out.
inline constexpr qsizetype Max_Skin_Picture_Bytes = qsizetype(256) * 1024 * 1024;

// What the loader needs to know about the window's surroundings.
struct Skin_Environment {
  QString Exe_Dir; // the folder where Config.ini lies
  bool Fullscreen_Mode = false;
  QSize Screen_Size;
  Config_Ini::Reporter Report; // messages for the user; unset, they go to standard error
  qsizetype Picture_Allowance = Max_Skin_Picture_Bytes;
  int Scale = 1; // the screen's whole factor: pictures are made ready for it
};

// The window's own settings that the skin decides.
struct Skin_Window {
  QSize Client_Size{527, 348};
  QColor Colour{0, 0, 0}; // seen wherever no element covers the window
  bool Key_Colour_On = false;
  QColor Key_Colour{255, 0, 255}; // windowed mode: this colour is see-through
  int Skin_Offset_X = 0;          // added to every skin element's left and top
  int Skin_Offset_Y = 0;
};

struct Skin_Result {
  // False when Config.ini is missing or unreadable: the window shows Config_Missing_Message
  // and ends the program. The in-game menu's elements are set up all the same.
  bool Config_Found = true;
  Skin_Window Window; // the window as it was, with what the skin changed
};

Skin_Result gfxinit(Lcd_Surface& surface, const Skin_Window& window, const Skin_Environment& env);

// Pictures no larger than this on either side are decoded; a bigger one is refused.
inline constexpr int Max_Picture_Side = 8192;

// The message for a picture left out because the skin's pictures would take too much memory.
QString Skin_Too_Large_Message(const QString& path);

// The part of a picture that is wanted, in the file's pixels, from the file's size and the scale
// it is drawn for; unset, the whole picture. Only that part is decoded where the format allows
// (a JPEG's rows outside it are never kept).
using Picture_Part = std::function<QRect(QSize file_size, int file_scale)>;

// Decodes a picture by its file-name extension (png, bmp, jpg, jpeg, ico; case does not
// matter). Nothing, after a message to `report`, for an unknown extension, a picture that
// cannot be decoded (the file's path, then the decoder's message) or one that is too large.
std::optional<QImage> Load_Picture(const QString& path, const Config_Ini::Reporter& report,
                                   const Picture_Part& part = {}, int file_scale = 1);

// Decodes the picture drawn for a scale: the file's @<scale>x twin when there is one (a twin
// that cannot be decoded is reported and the file itself stands in), else the file. The
// picture comes with its device pixel ratio set to the factor it was drawn for; For_Scale
// (display_scale.h) enlarges it by what is missing.
std::optional<QImage> Load_Picture_For_Scale(const QString& path, int scale,
                                             const Config_Ini::Reporter& report,
                                             const Picture_Part& part = {});

// What marks a missing picture: 10 x 10, red with a one-pixel black border.
QImage Placeholder_Picture();

// Prepares a picture for an element: for a see-through element, a picture without an alpha
// channel loses every pixel of its bottom-left pixel's colour; one with alpha keeps it.
QImage Element_Picture(QImage picture, bool transparent);
