#include "lcd_art.h"

#include "art_style.h"
#include "shape_pen.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Art {

namespace {

// The liquid crystal darkens to a cool near-black that still lets a little of the reflector
// through a large segment (a tiny one is mostly edge, and would only look washed out); its
// shadow falls on the reflector below it, softened by the gap between them.
const QColor Ink{14, 18, 27, 210};
const QColor Tiny_Ink{14, 18, 27, 236};
const QColor Shadow{46, 56, 40, 84};
// Unlit segments printed into the LCD: full strength here, faded by the place on the glass.
const QColor Ghost{20, 30, 20, 255};

int Index_In(Element_Id id, Element_Id first) {
  return static_cast<int>(id - first);
}

// The room shapes leave at the right and bottom of their picture for the shadow: one pixel
// for tiny shapes, two for the rest.
int Shadow_Room(QSize size) {
  return std::min(size.width(), size.height()) < 10 ? 1 : 2;
}

// How far the shadow falls and how soft it is, in logical pixels.
struct Shadow_Fall {
  qreal Offset;
  qreal Softness; // the blur's standard deviation
};
Shadow_Fall Shadow_Of(QSize size) {
  return Shadow_Room(size) == 1 ? Shadow_Fall{0.9, 0.5} : Shadow_Fall{1.3, 0.7};
}

// Coverage blurred with a Gaussian of `sigma` device pixels, one row or column at a time.
std::vector<float> Gaussian_Blur(std::vector<float> values, int width, int height, qreal sigma) {
  const int radius = static_cast<int>(std::ceil(sigma * 3));
  std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
  float sum = 0;
  for (int k = -radius; k <= radius; ++k)
    sum += kernel[static_cast<std::size_t>(k + radius)] =
        static_cast<float>(std::exp(-(k * k) / (2 * sigma * sigma)));
  for (float& k : kernel)
    k /= sum;
  std::vector<float> out(values.size());
  for (const bool along_rows : {true, false}) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        float total = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int sx = along_rows ? x + k : x, sy = along_rows ? y : y + k;
          if (sx >= 0 && sx < width && sy >= 0 && sy < height)
            total += values[static_cast<std::size_t>(sy * width + sx)] *
                     kernel[static_cast<std::size_t>(k + radius)];
        }
        out[static_cast<std::size_t>(y * width + x)] = total;
      }
    values.swap(out);
  }
  return values;
}

// The segment's shadow: its coverage blurred, moved down and right by a distance that need not
// be whole device pixels (sampled between them), in the shadow's colour.
QImage Soft_Shadow(const QImage& coverage, Shadow_Fall fall, int scale) {
  const int w = coverage.width(), h = coverage.height();
  std::vector<float> alpha(static_cast<std::size_t>(w * h));
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
    for (int x = 0; x < w; ++x)
      alpha[static_cast<std::size_t>(y * w + x)] = qAlpha(line[x]) / 255.0f;
  }
  alpha = Gaussian_Blur(std::move(alpha), w, h, fall.Softness * scale);
  const auto at = [&](int x, int y) {
    return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : alpha[static_cast<std::size_t>(y * w + x)];
  };
  const qreal offset = fall.Offset * scale;
  const int whole = static_cast<int>(std::floor(offset));
  const auto part = static_cast<float>(offset - whole);
  // Where a shape comes close to the picture's right or bottom edge, its shadow thins out
  // towards the edge instead of stopping short along it.
  const auto thinning = [scale](int from_edge) {
    const float t = std::min(1.0f, (from_edge + 0.5f) / (1.5f * static_cast<float>(scale)));
    return t * t * (3 - 2 * t);
  };
  QImage shadow(coverage.size(), QImage::Format_ARGB32_Premultiplied);
  shadow.setDevicePixelRatio(scale);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const int sx = x - whole, sy = y - whole;
      const float a = ((at(sx, sy) * (1 - part) + at(sx - 1, sy) * part) * (1 - part) +
                       (at(sx, sy - 1) * (1 - part) + at(sx - 1, sy - 1) * part) * part) *
                      thinning(w - 1 - x) * thinning(h - 1 - y);
      // The blur's faintest tail is invisible; it is left out so the ground stays clear.
      const int alpha = qRound(a * static_cast<float>(Shadow.alpha()));
      line[x] =
          alpha < 2 ? 0 : qPremultiply(qRgba(Shadow.red(), Shadow.green(), Shadow.blue(), alpha));
    }
  }
  return shadow;
}

QImage Tinted(const QImage& coverage, QColor colour) {
  QImage out = coverage;
  QPainter p(&out);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(out.rect(), colour);
  return out;
}

void Draw_Shape(Shape_Pen& pen, Element_Id id, QSizeF size) {
  if (Is_Glyph(id)) return Draw_Glyph(pen, Glyph_Char(id), size);
  if (id >= im_bat_1 && id <= im_bat_5) return Draw_Bat(pen, Index_In(id, im_bat_1) + 1, size);
  switch (id) {
  case im_warrior_0: return Draw_Warrior(pen, 0);
  case im_warrior_1: return Draw_Warrior(pen, 1);
  case im_warrior_2: return Draw_Warrior(pen, 2);
  case im_warrior_3: return Draw_Warrior(pen, 3);
  case im_warrior_4: return Draw_Warrior(pen, 4);
  case im_warrior_5: return Draw_Warrior(pen, 5);
  case im_warrior_6: return Draw_Warrior(pen, 6);
  case im_warrior_7: return Draw_Warrior(pen, 7);
  case im_arrow_0: return Draw_Arrow_Frame(pen, 0);
  case im_arrow_1: return Draw_Arrow_Frame(pen, 1);
  case im_arrow_2: return Draw_Arrow_Frame(pen, 2);
  case im_arrow_3: return Draw_Arrow_Frame(pen, 3);
  case im_arrow_4: return Draw_Arrow_Frame(pen, 4);
  case im_arrow_5: return Draw_Arrow_Frame(pen, 5);
  case im_arrow_6: return Draw_Slain_Dragon(pen);
  case im_cursor_up:
  case im_cursor_left:
  case im_cursor_right:
  case im_cursor_down: return Draw_Cursor(pen, id, size);
  case im_maze: return Draw_Maze(pen);
  case im_pit: return Draw_Pit(pen);
  case im_hook: return Draw_Hook(pen);
  case im_dragon: return Draw_Dragon(pen);
  case im_icon_arrow: return Draw_Arrow_Icon(pen, size);
  case im_icon_hook: return Draw_Hook_Icon(pen, size);
  default: return;
  }
}

} // namespace

bool Is_Glyph(Element_Id id) {
  return id >= im_panel_number_1_0 && id <= im_panel_number_2_9;
}

bool Is_Lcd_Segment(Element_Id id) {
  return Is_Glyph(id) || (id >= im_bat_1 && id <= im_dragon) || id == im_arrow_6 ||
         id == im_icon_arrow || id == im_icon_hook || id == im_pit;
}

QImage Segment_Coverage(Element_Id id, int scale) {
  const QSize size = Built_In_Rect(id).size();
  QImage image = Canvas(size, scale);
  image.fill(Qt::transparent);
  QPainter p(&image);
  Shape_Pen pen(p);
  // Shapes leave room at the right and bottom for the shadow.
  const int room = Shadow_Room(size);
  Draw_Shape(pen, id, QSizeF(size.width() - room, size.height() - room));
  return image;
}

QImage Lit_Segment(Element_Id id, int scale) {
  const QImage coverage = Segment_Coverage(id, scale);
  const QSize size = Built_In_Rect(id).size();
  QImage out = Canvas(size, scale);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.drawImage(QPoint(0, 0), Soft_Shadow(coverage, Shadow_Of(size), scale));
  p.drawImage(QPoint(0, 0), Tinted(coverage, Shadow_Room(size) == 1 ? Tiny_Ink : Ink));
  p.end();
  return out.convertToFormat(QImage::Format_ARGB32);
}

QImage Segment_Shape(Element_Id id, qreal zoom, QColor colour, int scale) {
  const QSize size = Built_In_Rect(id).size();
  QImage image = Canvas((QSizeF(size) * zoom).toSize(), scale);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(zoom, zoom);
  Shape_Pen pen(p);
  const int room = Shadow_Room(size);
  Draw_Shape(pen, id, QSizeF(size.width() - room, size.height() - room));
  p.end();
  return Tinted(image, colour);
}

void Paint_Ghost(QPainter& painter, Element_Id id, QPoint at) {
  painter.drawImage(at, Tinted(Segment_Coverage(id, Scale_Of(painter)), Ghost));
}

void Paint_Lit(QPainter& painter, Element_Id id, QPoint at) {
  painter.drawImage(at, Lit_Segment(id, Scale_Of(painter)));
}

} // namespace Art
