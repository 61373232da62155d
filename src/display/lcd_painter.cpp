#include "display/lcd_painter.h"

#include "assets/picture_scale.h"
#include "desktop/display_scale.h"
#include "desktop/text_font.h"

#include <QBitmap>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

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

void Lcd_Painter::Reset(QSize client, QColor window_colour, const Lcd_Surface& surface,
                        const Frame_Layout& layout, Frame_Look look) {
  Client = client.expandedTo(QSize(1, 1));
  Layout = layout;
  Layout.Scale = std::max(1, layout.Scale);
  if (Frame_Image.size() != Client * Layout.Scale)
    Frame_Image = QImage(Client * Layout.Scale, QImage::Format_ARGB32_Premultiplied);
  Window_Colour = window_colour;
  Look = look;
  Compose_Device(QRegion(Frame_Image.rect()), surface, nullptr, 0);
}

QRect Lcd_Painter::Picture_Place(Element_Id id, const Lcd_Element& e) const {
  const int scale = Layout.Scale;
  if (id == im_backdrop && e.Stretch) return ::Device_Rect(e.Rect, scale);
  if (id == im_backdrop) {
    // Centred in logical pixels, as at 1x.
    const QSize logical = Logical_Size(e.Picture);
    const int ratio = std::max(1, qRound(e.Picture.devicePixelRatio()));
    return {QPoint(e.Rect.left() + (e.Rect.width() - logical.width()) / 2,
                   e.Rect.top() + (e.Rect.height() - logical.height()) / 2) *
                scale,
            e.Picture.size() * scale / ratio};
  }
  // A picture made for its element's factor has one pixel to each device pixel; another (one
  // too large to prepare, the menu's panel at another size) is stretched to its size there.
  const Frame_Factor factor = Layout.Factor_Of(id);
  const bool made_for = qFuzzyCompare(e.Picture.devicePixelRatio(), factor.Value());
  return {Layout.Device_Rect(id, e.Rect).topLeft(),
          made_for ? e.Picture.size()
                   : factor.Device_Size(Logical_Size(e.Picture), Layout.Skin_Point(id, e.Rect))};
}

QRegion Lcd_Painter::Device_Region(const QRegion& region, const Lcd_Surface& surface) const {
  return Layout.Device_Region(region, surface) & QRegion(Frame_Image.rect());
}

QRegion Lcd_Painter::Logical_Region(const QRegion& region, const Lcd_Surface& surface) const {
  const int scale = Layout.Scale;
  QRegion logical;
  for (const QRect& r : Device_Region(region, surface)) {
    const QPoint first(r.left() / scale, r.top() / scale);
    const QPoint past((r.right() + scale) / scale, (r.bottom() + scale) / scale);
    logical += QRect(first, past - QPoint(1, 1));
  }
  return logical;
}

std::optional<Element_Id> Lcd_Painter::Hit_Test(const Lcd_Surface& surface, QPointF logical) const {
  const QPoint device(static_cast<int>(std::floor(logical.x() * Layout.Scale)),
                      static_cast<int>(std::floor(logical.y() * Layout.Scale)));
  for (int i = Element_Count - 1; i >= 0; --i) {
    const auto id = static_cast<Element_Id>(i);
    const Lcd_Element& e = surface[id];
    if (e.Shown && e.Rect.contains(Layout.Element_Point(id, device))) return id;
  }
  return std::nullopt;
}

bool Lcd_Painter::Compose(const QRegion& region, const Lcd_Surface& surface,
                          const Lcd_Response* response, double now) {
  return Compose_Device(Device_Region(region, surface), surface, response, now);
}

bool Lcd_Painter::Compose_Device(const QRegion& area, const Lcd_Surface& surface,
                                 const Lcd_Response* response, double now) {
  // Everything is drawn in device pixels, so that a picture made for its factor is copied one
  // pixel to one pixel.
  if (area.isEmpty()) return false;
  QPainter painter(&Frame_Image);
  // Full screen, the window colour is seen only where no opaque backdrop covers it; windowed,
  // nothing lies beneath the elements.
  QRegion fill = area;
  const Lcd_Element& backdrop = surface[im_backdrop];
  if (backdrop.Shown && !backdrop.Transparent && !backdrop.Picture.isNull() &&
      !backdrop.Picture.hasAlphaChannel())
    fill -= QRegion(Picture_Place(im_backdrop, backdrop) &
                    Layout.Device_Rect(im_backdrop, backdrop.Rect));
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& r : fill)
    painter.fillRect(r, Look == Frame_Look::Opaque ? Window_Colour : QColor(Qt::transparent));
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QRect bounds = area.boundingRect();
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    const Lcd_Element& e = surface[id];
    const bool responds = response && response->Enabled() && Is_Liquid_Crystal(id);
    if ((!e.Shown && !responds) || e.Rect.isEmpty()) continue;
    const QRect device = Layout.Device_Rect(id, e.Rect);
    if (!device.intersects(bounds)) continue;
    const QRegion clip = area & QRegion(device);
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
    const QRect device = Layout.Device_Rect(id, e.Rect);
    if (e.Paint_Background) painter.fillRect(device, Qt::black);
    if (e.Text.isEmpty()) return;
    // Text is laid out in the element's units and drawn at its factor.
    const double factor = Layout.Factor_Of(id).Value();
    painter.save();
    painter.translate(device.topLeft());
    painter.scale(factor, factor);
    painter.setFont(Text_Font(id));
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), e.Rect.size()), Qt::AlignLeft | Qt::AlignVCenter, e.Text);
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
