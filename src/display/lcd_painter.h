// Composes the element stack into a picture: the window colour beneath, then every shown
// element in stacking order, each clipped to its rectangle and drawn at its natural size.
// Rectangles are in logical pixels; the picture has scale x scale device pixels for each.
#pragma once

#include "display/lcd_response.h"
#include "lcd/lcd_surface.h"

#include <QColor>
#include <QImage>
#include <QRegion>

// How the frame meets the desktop around it.
enum class Frame_Look {
  // Full screen: the window colour beneath everything, every pixel opaque.
  Opaque,
  // A windowed handheld cut out of the desktop by its key colour (X11 without a compositor):
  // nothing beneath the elements, and every pixel either opaque or the key colour, so soft
  // edges are made hard (half covered or more is opaque).
  Keyed,
  // A windowed handheld on a compositing desktop: nothing beneath the elements, the key
  // colour fully transparent, soft edges kept.
  Translucent,
};

class Lcd_Painter {
public:
  // The composed picture of the whole client area, one pixel to each device pixel.
  const QImage& Frame() const { return Frame_Image; }
  int Scale() const { return Frame_Scale; }

  // Resizes the frame for the client area (logical pixels) at a scale and recomposes all of it.
  // Windowed, the window colour is the key colour.
  void Reset(QSize client, QColor window_colour, const Lcd_Surface& surface, int scale = 1,
             Frame_Look look = Frame_Look::Opaque);
  // Recomposes the given part of the frame from the surface; with a response, the segments are
  // drawn with the ink they have at the time. True when a pixel of the part is see-through: of
  // the key colour, or less than half covered.
  bool Compose(const QRegion& region, const Lcd_Surface& surface,
               const Lcd_Response* response = nullptr, double now = 0);

  // The size a self-sizing text element takes for its text, in the font it is drawn with.
  static QSize Text_Size(Element_Id id, const QString& text);

  // Every pixel that is not see-through: the shape of the windowed handheld, in device pixels.
  QRegion Visible_Region() const;

private:
  void Draw_Element(class QPainter& painter, Element_Id id, const Lcd_Element& e) const;
  // A segment with the ink it has now.
  void Draw_Segment(class QPainter& painter, Element_Id id, const Lcd_Element& e,
                    const Lcd_Response& response, double now) const;
  // Where an element's picture goes, in device pixels (before clipping to its rectangle).
  QRect Picture_Place(Element_Id id, const Lcd_Element& e) const;
  // Keys or hardens the composed pixels of a device rectangle for the look; true when one is
  // see-through after.
  bool Finish(const QRect& device);

  QImage Frame_Image;
  QSize Client;
  int Frame_Scale = 1;
  QColor Window_Colour = Qt::white;
  Frame_Look Look = Frame_Look::Opaque;
};
