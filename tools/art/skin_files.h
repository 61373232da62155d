// The skin folder's pictures and the Config.ini that lays them out.
#pragma once

#include "art_style.h"
#include "lcd/lcd_elements.h"

#include <QImage>
#include <QString>

namespace Art {

// The file of a skin element's picture inside the skin folder, or "" when the element gets no
// picture: the buttons' click areas, which must not cover the pressed pictures beneath them,
// and the panel positions, which hold the glyphs the game copies into them.
QString Skin_File_Name(Element_Id id);

// The picture of a skin element, exactly its built-in size, at a scale; none for the elements
// that get no file.
QImage Skin_Picture(Element_Id id, int scale = 1);

// The text of Config.ini: every skin element at its built-in place, the backdrop and logo for
// full-screen mode and the manual's page size.
QString Config_Ini_Text();

inline const QString Backdrop_File = QStringLiteral("desk.jpg");
inline const QString Logo_File = QStringLiteral("logo.png");

// The skin folder's pictures at every scale, paths relative to the game folder.
Picture_Files Skin_Files();

} // namespace Art
