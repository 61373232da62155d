// Composes the element stack into a picture: the window colour beneath, then every shown
// element in stacking order, each clipped to its rectangle and drawn at its natural size.
// Rectangles are in logical pixels; the picture has scale x scale device pixels for each.
#pragma once

#include "lcd/lcd_surface.h"

#include <QColor>
#include <QImage>
#include <QRegion>

class Lcd_Painter {
public:
  // The composed picture of the whole client area, one pixel to each device pixel.
  const QImage& Frame() const { return Frame_Image; }
  int Scale() const { return Frame_Scale; }

  // Resizes the frame for the client area (logical pixels) at a scale and recomposes all of it.
  void Reset(QSize client, QColor window_colour, const Lcd_Surface& surface, int scale = 1);
  // Recomposes the given part of the frame from the surface.
  void Compose(const QRegion& region, const Lcd_Surface& surface);

  // The size a self-sizing text element takes for its text, in the font it is drawn with.
  static QSize Text_Size(Element_Id id, const QString& text);

  // Whether any pixel of the region has the colour.
  bool Has_Colour(const QRegion& region, QColor colour) const;

  // Every pixel not of the key colour: the shape of the windowed handheld, in device pixels.
  QRegion Visible_Region(QColor key) const;

private:
  void Draw_Element(class QPainter& painter, Element_Id id, const Lcd_Element& e) const;
  // Where an element's picture goes, in device pixels (before clipping to its rectangle).
  QRect Picture_Place(Element_Id id, const Lcd_Element& e) const;

  QImage Frame_Image;
  QSize Client;
  int Frame_Scale = 1;
  QColor Window_Colour = Qt::white;
};
