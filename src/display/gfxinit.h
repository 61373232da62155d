// The skin loader: applies Config.ini to the main window's elements and tells the window what
// it must set on itself (client size, colours, offsets). It runs when the window is created
// and again on every full-screen toggle, so edits to Config.ini take effect at the next toggle.
#pragma once

#include "assets/config_ini.h"
#include "assets/picture_file.h"
#include "desktop/reporter.h"
#include "display/frame_layout.h"
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
  qsizetype Picture_Allowance = Max_Skin_Picture_Bytes;
  int Scale = 1; // the screen's whole factor: pictures are made ready for it
  // The handheld's own size in a window on top of the scale, a whole step; shown at the largest
  // step that fits the available area (logical pixels; unset, any) where it does not. Full
  // screen makes the handheld as large as the screen allows.
  int Zoom = Unzoomed;
  QSize Available_Size;
};

// The window's own settings that the skin decides.
struct Skin_Window {
  QSize Client_Size = Default_Client_Size();
  QColor Colour{0, 0, 0}; // seen wherever no element covers the window
  bool Key_Colour_On = false;
  QColor Key_Colour{255, 0, 255}; // windowed mode: this colour is see-through
  int Skin_Offset_X = 0;          // added to every skin element's left and top
  int Skin_Offset_Y = 0;
  Frame_Layout Layout; // where the elements lie in the frame, their pictures made for it
  QSize Skin_Size = Default_Client_Size(); // the handheld unzoomed, logical pixels
  int Zoom = Unzoomed;                     // the handheld's size shown
};

// The in-game menu open, in its own units.
inline constexpr QSize Open_Game_Menu_Size{256, 416};

struct Skin_Result {
  // False when Config.ini is missing or unreadable: Config_Missing_Message is reported and the
  // window ends the program. The in-game menu's elements are set up all the same.
  bool Config_Found = true;
  Skin_Window Window; // the window as it was, with what the skin changed
};

// Config.ini in the program's folder; nothing when it is missing or cannot be read.
std::optional<Config_Ini> Read_Config_Ini(const QString& exe_dir);

// Problems go to `report` (unset, to standard error), the last of them a missing Config.ini.
Skin_Result gfxinit(Lcd_Surface& surface, const Skin_Window& window, const Skin_Environment& env,
                    Reporter report);
// The same with Config.ini as read before (nothing: missing).
Skin_Result gfxinit(Lcd_Surface& surface, const Skin_Window& window, const Skin_Environment& env,
                    const std::optional<Config_Ini>& ini, Reporter report);

// The message for a picture left out because the skin's pictures would take too much memory.
QString Skin_Too_Large_Message(const QString& path);

// Prepares a picture for an element: for a see-through element, a picture without an alpha
// channel loses every pixel of its bottom-left pixel's colour; one with alpha keeps it.
QImage Element_Picture(QImage picture, bool transparent);
