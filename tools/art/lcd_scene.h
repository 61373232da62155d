// Pictures of the LCD at a moment of the game, for the manual and the contact sheet.
#pragma once

#include "handheld.h"
#include "lcd/lcd_elements.h"

#include <QImage>
#include <QString>
#include <vector>

namespace Art {

// The LCD (the glass's size) with the given segments lit and the panel reading `panel` (two
// characters, a space for a blank position), under the glass, at a scale.
QImage Lcd_Scene(std::vector<Element_Id> lit, const QString& panel = QString(), int scale = 1,
                 Surface surface = Surface::Grained);

// Every segment lit and the panel reading 88.
QImage Lcd_All_Lit(int scale = 1);

} // namespace Art
