// Composes the element stack into a picture: the window colour beneath, then every shown
// element in stacking order, each clipped to its rectangle and drawn at its natural size.
#pragma once

#include "lcd/lcd_surface.h"

#include <QColor>
#include <QImage>
#include <QRegion>

class Lcd_Painter {
public:
  // The composed picture of the whole client area.
  const QImage& Frame() const { return Frame_Image; }

  // Resizes the frame and recomposes all of it.
  void Reset(QSize client, QColor window_colour, const Lcd_Surface& surface);
  // Recomposes the given part of the frame from the surface.
  void Compose(const QRegion& region, const Lcd_Surface& surface);

  // The size a self-sizing text element takes for its text, in the font it is drawn with.
  static QSize Text_Size(Element_Id id, const QString& text);

  // Whether any pixel of the region has the colour.
  bool Has_Colour(const QRegion& region, QColor colour) const;

  // Every pixel not of the key colour: the shape of the windowed handheld.
  QRegion Visible_Region(QColor key) const;

private:
  void Draw_Element(class QPainter& painter, Element_Id id, const Lcd_Element& e) const;

  QImage Frame_Image;
  QColor Window_Colour = Qt::white;
};
