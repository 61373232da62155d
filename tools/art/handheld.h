// The handheld seen from the front: the skin's background, its pressed buttons and the glass
// over the LCD.
#pragma once

#include "lcd/lcd_elements.h"

#include <QImage>

namespace Art {

enum class Button_State { Up, Pressed };

// On screen the plastic and the LCD's reflector show their fine grain, pixel by pixel. The
// printed manual's photographs of the handheld are reduced or enlarged, where the grain would
// be mere noise (and many times the file's size): there the surfaces are smooth.
enum class Surface { Grained, Printed };

// The whole handheld (the default client size in logical pixels) at a scale, every LCD segment
// printed into its LCD as a faint ghost and the buttons in the given state. Outside the case's
// outline every pixel is the key colour, with a hard edge cut at the scale's own pixels: no pixel
// is blended towards it. No alpha channel.
QImage Draw_Handheld(Button_State buttons, int scale = 1, Surface surface = Surface::Grained);

// The LCD alone, the size of the glass, with every segment printed as a ghost.
QImage Draw_Lcd_Screen(int scale = 1, Surface surface = Surface::Grained);

// The glass over the LCD: a thin frame and a faint reflection, clear elsewhere.
QImage Draw_Screen_Glass(int scale = 1);

// The pressed picture of a button, cut from a handheld drawn with its buttons pressed (at that
// handheld's scale).
QImage Pressed_Button(const QImage& pressed_handheld, Element_Id button_down);

} // namespace Art
