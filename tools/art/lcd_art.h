// The LCD's segments as pictures. Each segment is a translucent dark shape over its soft shadow
// on a transparent ground; unlit, the same shape is printed into the LCD as a pale ghost.
#pragma once

#include "lcd/lcd_elements.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace Art {

class Shape_Pen;

// The elements drawn as LCD art: the scene's segments and the panel's glyphs.
bool Is_Lcd_Segment(Element_Id id);
bool Is_Glyph(Element_Id id);

// The shape of a segment or glyph in its element's size at a scale: opaque black where it lies.
QImage Segment_Coverage(Element_Id id, int scale = 1);
// The lit picture: the shape in LCD ink over its shadow.
QImage Lit_Segment(Element_Id id, int scale = 1);
// Prints the shape at `at` in the unlit segments' ink at full strength (at the scale of the
// picture the painter draws on), for a layer of ghosts that is then faded to a watermark.
void Paint_Ghost(QPainter& painter, Element_Id id, QPoint at);
// Paints a lit segment at `at` (for pictures of the LCD outside the skin).
void Paint_Lit(QPainter& painter, Element_Id id, QPoint at);

// A segment's shape enlarged or reduced by `zoom`, in one colour, without shadow (for logos and
// icons), drawn at a scale.
QImage Segment_Shape(Element_Id id, qreal zoom, QColor colour, int scale = 1);

// The families of shapes, each in its element's own coordinates.
void Draw_Warrior(Shape_Pen& pen, int place);
void Draw_Bat(Shape_Pen& pen, int place, QSizeF size);
void Draw_Dragon(Shape_Pen& pen);
void Draw_Slain_Dragon(Shape_Pen& pen);
void Draw_Arrow_Frame(Shape_Pen& pen, int place);
void Draw_Cursor(Shape_Pen& pen, Element_Id cursor, QSizeF size);
void Draw_Maze(Shape_Pen& pen);
void Draw_Pit(Shape_Pen& pen);
void Draw_Hook(Shape_Pen& pen);
void Draw_Arrow_Icon(Shape_Pen& pen, QSizeF size);
void Draw_Hook_Icon(Shape_Pen& pen, QSizeF size);
// A seven-segment character ('0'..'9', 'A'..'F', 'H', 'J', 'L') filling the box.
void Draw_Glyph(Shape_Pen& pen, char c, QSizeF size);

} // namespace Art
