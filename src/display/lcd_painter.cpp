#include "display/lcd_painter.h"

#include "display/display_scale.h"

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
    QFont f(QStringLiteral("Arial"));
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

void Lcd_Painter::Reset(QSize client, QColor window_colour, const Lcd_Surface& surface, int scale) {
  Client = client.expandedTo(QSize(1, 1));
  scale = std::max(1, scale);
  if (Frame_Image.size() != Client * scale) {
    Frame_Image = QImage(Client * scale, QImage::Format_RGB32);
    Frame_Image.setDevicePixelRatio(scale);
  }
  Frame_Scale = scale;
  Window_Colour = window_colour;
  Compose(QRegion(QRect(QPoint(0, 0), Client)), surface);
}

void Lcd_Painter::Compose(const QRegion& region, const Lcd_Surface& surface) {
  const QRegion area = region & QRegion(QRect(QPoint(0, 0), Client));
  if (area.isEmpty()) return;
  QPainter painter(&Frame_Image);
  painter.setClipRegion(area);
  for (const QRect& r : area)
    painter.fillRect(r, Window_Colour);
  const QRect bounds = area.boundingRect();
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    const Lcd_Element& e = surface[id];
    if (!e.Shown || e.Rect.isEmpty() || !e.Rect.intersects(bounds)) continue;
    const QRegion clip = area & QRegion(e.Rect);
    if (clip.isEmpty()) continue;
    painter.setClipRegion(clip);
    Draw_Element(painter, id, e);
  }
}

void Lcd_Painter::Draw_Element(QPainter& painter, Element_Id id, const Lcd_Element& e) const {
  if (e.Kind == Element_Kind::Text) {
    if (e.Paint_Background) painter.fillRect(e.Rect, Qt::black);
    if (e.Text.isEmpty()) return;
    painter.setFont(Text_Font(id));
    painter.setPen(Qt::white);
    painter.drawText(e.Rect, Qt::AlignLeft | Qt::AlignVCenter, e.Text);
    return;
  }
  if (e.Picture.isNull()) return;
  if (id == im_backdrop && e.Stretch) {
    painter.drawImage(e.Rect, e.Picture);
  } else if (id == im_backdrop) {
    const QSize size = Logical_Size(e.Picture);
    painter.drawImage(QPoint(e.Rect.left() + (e.Rect.width() - size.width()) / 2,
                             e.Rect.top() + (e.Rect.height() - size.height()) / 2),
                      e.Picture);
  } else {
    painter.drawImage(e.Rect.topLeft(), e.Picture);
  }
}

QRegion Lcd_Painter::Visible_Region(QColor key) const {
  return QRegion(QBitmap::fromImage(Frame_Image.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
}

bool Lcd_Painter::Has_Colour(const QRegion& region, QColor colour) const {
  const QRgb wanted = colour.rgb();
  for (const QRect& logical : region& QRegion(QRect(QPoint(0, 0), Client))) {
    const QRect r(logical.topLeft() * Frame_Scale, logical.size() * Frame_Scale);
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(Frame_Image.constScanLine(y));
      for (int x = r.left(); x <= r.right(); ++x)
        if ((line[x] | 0xFF000000u) == wanted) return true;
    }
  }
  return false;
}
