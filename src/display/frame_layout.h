// Where each element of the surface lies in the frame, in device pixels. Three parts of the
// picture have factors of their own: the desk and its logo lie on the screen at the desktop's
// scale; the handheld's elements at the desktop's scale times the handheld's zoom, from the
// device pixel where the skin's corner lies; the in-game menu from the frame's corner, as large
// as the handheld where it fits the screen. Rectangles keep the units the skin gives them (the
// skin's offset included), so at zoom 100 % the three agree.
#pragma once

#include "desktop/zoom.h"
#include "lcd/lcd_elements.h"
#include "lcd/lcd_surface.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

struct Frame_Layout {
  int Scale = 1;      // the desktop's
  Frame_Factor Skin;  // the handheld's elements
  QPoint Skin_Offset; // the skin's corner in the rectangles' units
  QPoint Skin_Origin; // the skin's corner in the frame, device pixels
  Frame_Factor Menu;  // the in-game menu's elements

  // The layout with no zoom: every element at the scale, as its rectangle says.
  static Frame_Layout Unzoomed_At(int scale, QPoint skin_offset = {});

  enum class Part { Desk, Handheld, Menu };
  static Part Part_Of(Element_Id id);
  Frame_Factor Factor_Of(Element_Id id) const;

  // An element's rectangle (or a rectangle in its units) in device pixels.
  QRect Device_Rect(Element_Id id, const QRect& rect) const;
  // Where a picture drawn at the element's factor lies in the skin, for the rounding of its
  // edges: its rectangle's corner without the offset.
  QPoint Skin_Point(Element_Id id, const QRect& rect) const;
  // The device pixels a changed region of the surface may touch: each of its rectangles laid
  // out as every part with an element there lays it out (the desk only for its logo: the
  // desk itself changes only with the skin, which recomposes everything).
  QRegion Device_Region(const QRegion& region, const Lcd_Surface& surface) const;
  // The point in an element's units a device pixel shows.
  QPoint Element_Point(Element_Id id, QPoint device) const;
};
