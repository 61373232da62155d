#include "display/lcd_painter.h"

#include "assets/picture_scale.h"
#include "desktop/display_scale.h"
#include "desktop/text_font.h"

#include <QBitmap>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// The in-game menu's font is sized by its cell: a line of text, leading included, is 16
// pixels high, which makes the glyphs themselves smaller than 16 pixels.
QFont Menu_Font() {
  static const QFont font = [] {
    QFont f;
    f.setFamilies(Text_Families());
    for (int pixels = 16; pixels > 1; --pixels) {
      f.setPixelSize(pixels);
      if (QFontMetrics(f).height() <= 16) break;
    }
    return f;
  }();
  return font;
}

QFont Text_Font(Element_Id id) {
  if (id >= la_cheat_0 && id <= la_cheat_9) {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(11);
    return font;
  }
  return Menu_Font();
}

} // namespace

QSize Lcd_Painter::Text_Size(Element_Id id, const QString& text) {
  const QFontMetrics metrics(Text_Font(id));
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void Lcd_Painter::Reset(QSize client, QColor window_colour, const Lcd_Surface& surface, int scale,
                        Frame_Look look) {
  Client = client.expandedTo(QSize(1, 1));
  Frame_Scale = std::max(1, scale);
  if (Frame_Image.size() != Client * Frame_Scale)
    Frame_Image = QImage(Client * Frame_Scale, QImage::Format_ARGB32_Premultiplied);
  Window_Colour = window_colour;
  Look = look;
  Compose(QRegion(QRect(QPoint(0, 0), Client)), surface);
}

QRect Lcd_Painter::Picture_Place(Element_Id id, const Lcd_Element& e) const {
  // A picture drawn for the scale has one pixel to each device pixel; one drawn for another
  // (a backdrop too large to enlarge) is stretched to its logical size.
  const int ratio = std::max(1, qRound(e.Picture.devicePixelRatio()));
  const QSize size = e.Picture.size() * Frame_Scale / ratio;
  if (id == im_backdrop && e.Stretch) return Device_Rect(e.Rect, Frame_Scale);
  if (id == im_backdrop) {
    // Centred in logical pixels, as at 1x.
    const QSize logical = Logical_Size(e.Picture);
    return {QPoint(e.Rect.left() + (e.Rect.width() - logical.width()) / 2,
                   e.Rect.top() + (e.Rect.height() - logical.height()) / 2) *
                Frame_Scale,
            size};
  }
  return {e.Rect.topLeft() * Frame_Scale, size};
}

bool Lcd_Painter::Compose(const QRegion& region, const Lcd_Surface& surface,
                          const Lcd_Response* response, double now) {
  // Everything is drawn in device pixels, so that a picture drawn for the scale is copied one
  // pixel to one pixel.
  const QRegion logical = region & QRegion(QRect(QPoint(0, 0), Client));
  if (logical.isEmpty()) return false;
  const QRegion area = Device_Region(logical, Frame_Scale);
  QPainter painter(&Frame_Image);
  // Full screen, the window colour is seen only where no opaque backdrop covers it; windowed,
  // nothing lies beneath the elements.
  QRegion fill = area;
  const Lcd_Element& backdrop = surface[im_backdrop];
  if (backdrop.Shown && !backdrop.Transparent && !backdrop.Picture.isNull() &&
      !backdrop.Picture.hasAlphaChannel())
    fill -= QRegion(Picture_Place(im_backdrop, backdrop) & Device_Rect(backdrop.Rect, Frame_Scale));
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& r : fill)
    painter.fillRect(r, Look == Frame_Look::Opaque ? Window_Colour : QColor(Qt::transparent));
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QRect bounds = logical.boundingRect();
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    const Lcd_Element& e = surface[id];
    const bool responds = response && response->Enabled() && Is_Liquid_Crystal(id);
    if ((!e.Shown && !responds) || e.Rect.isEmpty() || !e.Rect.intersects(bounds)) continue;
    const QRegion clip = area & QRegion(Device_Rect(e.Rect, Frame_Scale));
    if (clip.isEmpty()) continue;
    painter.setClipRegion(clip);
    if (responds)
      Draw_Segment(painter, id, e, *response, now);
    else
      Draw_Element(painter, id, e);
  }
  painter.end();
  bool see_through = false;
  if (Look != Frame_Look::Opaque)
    for (const QRect& r : area)
      see_through |= Finish(r);
  return see_through;
}

bool Lcd_Painter::Finish(const QRect& device) {
  const QRgb key = Window_Colour.rgb() | 0xFF000000u;
  bool see_through = false;
  for (int y = device.top(); y <= device.bottom(); ++y) {
    QRgb* const line = reinterpret_cast<QRgb*>(Frame_Image.scanLine(y)) + device.left();
    QRgb* const end = line + device.width();
    if (Look == Frame_Look::Translucent) {
      for (QRgb* pixel = line; pixel != end; ++pixel) {
        if (*pixel == key) *pixel = 0;
        see_through |= qAlpha(*pixel) < 128;
      }
      continue;
    }
    for (QRgb* pixel = line; pixel != end; ++pixel) {
      if (qAlpha(*pixel) == 255) {
        see_through |= *pixel == key;
      } else if (qAlpha(*pixel) < 128) {
        *pixel = key;
        see_through = true;
      } else {
        *pixel = qUnpremultiply(*pixel) | 0xFF000000u;
      }
    }
  }
  return see_through;
}

void Lcd_Painter::Draw_Element(QPainter& painter, Element_Id id, const Lcd_Element& e) const {
  if (e.Kind == Element_Kind::Text) {
    if (e.Paint_Background) painter.fillRect(Device_Rect(e.Rect, Frame_Scale), Qt::black);
    if (e.Text.isEmpty()) return;
    // Text is laid out in logical pixels and drawn at the scale.
    painter.save();
    painter.scale(Frame_Scale, Frame_Scale);
    painter.setFont(Text_Font(id));
    painter.setPen(Qt::white);
    painter.drawText(e.Rect, Qt::AlignLeft | Qt::AlignVCenter, e.Text);
    painter.restore();
    return;
  }
  if (e.Picture.isNull()) return;
  painter.drawImage(Picture_Place(id, e), e.Picture);
}

namespace {

// Two glyphs of one panel position while one fades out and the other darkens, each pixel at the
// ink of its bar: the old glyph's, the new one's, or, where both light it, the held ink.
QImage Glyphs_Crossing(const QImage& a, double a_ink, const QImage& b, double b_ink,
                       double held_ink) {
  const QImage first = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage second = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage out(first.size().expandedTo(second.size()), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  out.setDevicePixelRatio(a.devicePixelRatio());
  const auto scaled = [](QRgb p, double k) {
    const auto c = [k](int v) { return static_cast<int>(v * k + 0.5); };
    return qRgba(c(qRed(p)), c(qGreen(p)), c(qBlue(p)), c(qAlpha(p)));
  };
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb p = first.valid(x, y) ? first.pixel(x, y) : 0;
      const QRgb q = second.valid(x, y) ? second.pixel(x, y) : 0;
      if (qAlpha(p) > 0 && qAlpha(q) > 0)
        line[x] = scaled(qAlpha(p) > qAlpha(q) ? p : q, held_ink);
      else
        line[x] = qAlpha(p) > 0 ? scaled(p, a_ink) : scaled(q, b_ink);
    }
  }
  return out;
}

} // namespace

void Lcd_Painter::Draw_Segment(QPainter& painter, Element_Id id, const Lcd_Element& e,
                               const Lcd_Response& response, double now) const {
  const double ink = response.Ink(id, now);
  const double old_ink = response.Fading_Ink(id, now);
  const QImage& old = response.Fading_Picture(id);
  if (old_ink > 0 && !old.isNull()) {
    const QImage both = e.Picture.isNull() ? old
                                           : Glyphs_Crossing(old, old_ink, e.Picture, ink,
                                                             response.Held_Ink(id, now));
    painter.setOpacity(e.Picture.isNull() ? old_ink : 1.0);
    Lcd_Element held = e;
    held.Picture = both;
    painter.drawImage(Picture_Place(id, held), both);
  } else if (ink > 0 && !e.Picture.isNull()) {
    painter.setOpacity(ink);
    painter.drawImage(Picture_Place(id, e), e.Picture);
  }
  painter.setOpacity(1.0);
}

QRegion Lcd_Painter::Visible_Region() const {
  if (Look == Frame_Look::Translucent)
    return QRegion(QBitmap::fromImage(Frame_Image.createAlphaMask(Qt::ThresholdAlphaDither)));
  return QRegion(QBitmap::fromImage(
      Frame_Image.createMaskFromColor(Window_Colour.rgb() | 0xFF000000u, Qt::MaskInColor)));
}
