// Composes the element stack into a picture: the window colour beneath, then every shown
// element in stacking order, each clipped to its rectangle and drawn at its natural size.
// The frame holds the window's device pixels; each element lies where the layout puts it.
#pragma once

#include "display/frame_layout.h"
#include "display/lcd_response.h"
#include "lcd/lcd_surface.h"

#include <QColor>
#include <QImage>
#include <QRegion>
#include <optional>

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
  int Scale() const { return Layout.Scale; }
  const Frame_Layout& Layout_Of_Frame() const { return Layout; }

  // Resizes the frame for the client area (logical pixels at the layout's scale) and recomposes
  // all of it. Windowed, the window colour is the key colour.
  void Reset(QSize client, QColor window_colour, const Lcd_Surface& surface,
             const Frame_Layout& layout, Frame_Look look = Frame_Look::Opaque);
  void Reset(QSize client, QColor window_colour, const Lcd_Surface& surface, int scale = 1,
             Frame_Look look = Frame_Look::Opaque) {
    Reset(client, window_colour, surface, Frame_Layout::Unzoomed_At(scale), look);
  }
  // Recomposes the part of the frame a changed region of the surface touches; with a response,
  // the segments are drawn with the ink they have at the time. True when a pixel of the part is
  // see-through: of the key colour, or less than half covered.
  bool Compose(const QRegion& region, const Lcd_Surface& surface,
               const Lcd_Response* response = nullptr, double now = 0);
  // The device pixels Compose recomposes for a changed region, and the window's logical pixels
  // that show them.
  QRegion Device_Region(const QRegion& region, const Lcd_Surface& surface) const;
  QRegion Logical_Region(const QRegion& region, const Lcd_Surface& surface) const;
  // The element a point of the window (logical pixels) shows, topmost first, as the surface's
  // own hit test does for rectangles in one unit.
  std::optional<Element_Id> Hit_Test(const Lcd_Surface& surface, QPointF logical) const;

  // The size a self-sizing text element takes for its text, in the font it is drawn with.
  static QSize Text_Size(Element_Id id, const QString& text);

  // Every pixel that is not see-through: the shape of the windowed handheld, in device pixels.
  QRegion Visible_Region() const;

private:
  void Draw_Element(class QPainter& painter, Element_Id id, const Lcd_Element& e) const;
  // A segment with the ink it has now.
  void Draw_Segment(class QPainter& painter, Element_Id id, const Lcd_Element& e,
                    const Lcd_Response& response, double now) const;
  bool Compose_Device(const QRegion& area, const Lcd_Surface& surface, const Lcd_Response* response,
                      double now);
  // Where an element's picture goes, in device pixels (before clipping to its rectangle).
  QRect Picture_Place(Element_Id id, const Lcd_Element& e) const;
  // Keys or hardens the composed pixels of a device rectangle for the look; true when one is
  // see-through after.
  bool Finish(const QRect& device);

  QImage Frame_Image;
  QSize Client;
  Frame_Layout Layout;
  QColor Window_Colour = Qt::white;
  Frame_Look Look = Frame_Look::Opaque;
};
