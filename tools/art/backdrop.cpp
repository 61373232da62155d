#include "backdrop.h"

#include "handheld.h"
#include "lcd_art.h"
#include "skin_files.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Art {

namespace {

constexpr int Desk_Width = 2560, Desk_Height = 1440;
const QColor Desk_Edge{12, 9, 7};

// Smooth value noise in [0, 1], the same on every build.
double Lattice(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFFu) / 65535.0;
}

double Noise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = x - fx, ty = y - fy;
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double top = Lattice(ix, iy, seed) * (1 - sx) + Lattice(ix + 1, iy, seed) * sx;
  const double bottom = Lattice(ix, iy + 1, seed) * (1 - sx) + Lattice(ix + 1, iy + 1, seed) * sx;
  return top * (1 - sy) + bottom * sy;
}

double Fractal(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0, amplitude = 0.5, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x, y, seed + static_cast<std::uint32_t>(i)) * amplitude;
    total += amplitude;
    x *= 2.03;
    y *= 2.03;
    amplitude *= 0.5;
  }
  return sum / total;
}

// Three passes of a box blur on an 8-bit mask: close to a Gaussian.
void Blur(QImage& mask, int radius) {
  const int w = mask.width(), h = mask.height();
  std::vector<int> line(static_cast<std::size_t>(std::max(w, h)));
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      uchar* row = mask.scanLine(y);
      for (int x = 0; x < w; ++x)
        line[static_cast<std::size_t>(x)] = row[x];
      for (int x = 0; x < w; ++x) {
        int sum = 0, n = 0;
        for (int k = std::max(0, x - radius); k <= std::min(w - 1, x + radius); ++k, ++n)
          sum += line[static_cast<std::size_t>(k)];
        row[x] = static_cast<uchar>(sum / n);
      }
    }
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y)
        line[static_cast<std::size_t>(y)] = mask.scanLine(y)[x];
      for (int y = 0; y < h; ++y) {
        int sum = 0, n = 0;
        for (int k = std::max(0, y - radius); k <= std::min(h - 1, y + radius); ++k, ++n)
          sum += line[static_cast<std::size_t>(k)];
        mask.scanLine(y)[x] = static_cast<uchar>(sum / n);
      }
    }
  }
}

// The soft shadow the handheld casts on the desk, as a black picture with alpha.
QImage Handheld_Shadow(int spread, qreal strength) {
  const QSize hand = Built_In_Rect(im_background).size();
  QImage mask(hand + QSize(spread * 4, spread * 4), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(spread * 2, spread * 2, hand.width(), hand.height()), 30, 30);
  }
  Blur(mask, spread / 3 + 1);
  QImage shadow(mask.size(), QImage::Format_ARGB32);
  for (int y = 0; y < mask.height(); ++y) {
    const uchar* m = mask.constScanLine(y);
    auto* s = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < mask.width(); ++x)
      s[x] = qRgba(0, 0, 0, qRound(m[x] * strength));
  }
  return shadow;
}

QImage Desk() {
  QImage desk(Desk_Width, Desk_Height, QImage::Format_RGB32);
  const QColor dark(44, 27, 16), light(96, 62, 36);
  constexpr int board = 320;
  for (int y = 0; y < Desk_Height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(desk.scanLine(y));
    const int plank = (y + 90) / board, in_plank = (y + 90) % board;
    const auto seed = static_cast<std::uint32_t>(plank * 7 + 3);
    const double tint = 0.9 + 0.2 * Lattice(plank, 1, 99);
    for (int x = 0; x < Desk_Width; ++x) {
      // Long wavy grain along the boards, with fine fibres.
      const double warp = Fractal(x * 0.0016, y * 0.012, seed, 4);
      const double grain = 0.5 + 0.5 * std::sin(y * 0.07 + warp * 14.0 + plank * 2.1);
      const double fibre = Noise(x * 0.35, y * 0.9, seed + 50);
      const double streak = Noise(x * 0.006, y * 0.45, seed + 80);
      double t =
          std::clamp(0.18 + grain * 0.45 + (fibre - 0.5) * 0.22 + (streak - 0.5) * 0.35, 0.0, 1.0);
      // A warm lamp above and to the left, the room darker towards the edges.
      const double dx = (x - Desk_Width * 0.42) / (Desk_Width * 0.62);
      const double dy = (y - Desk_Height * 0.36) / (Desk_Height * 0.75);
      const double light_level = 0.22 + 0.95 * std::exp(-(dx * dx + dy * dy) * 1.6);
      double r = (dark.red() + (light.red() - dark.red()) * t) * tint * light_level;
      double g = (dark.green() + (light.green() - dark.green()) * t) * tint * light_level;
      double b = (dark.blue() + (light.blue() - dark.blue()) * t) * tint * light_level;
      // The joint between two boards.
      if (in_plank < 3) {
        const double shade = in_plank == 2 ? 0.75 : 0.3;
        r *= shade;
        g *= shade;
        b *= shade;
      } else if (in_plank == 3) {
        r *= 1.15;
        g *= 1.15;
        b *= 1.15;
      }
      row[x] = qRgb(std::clamp(static_cast<int>(r), int(Desk_Edge.red()), 255),
                    std::clamp(static_cast<int>(g), int(Desk_Edge.green()), 255),
                    std::clamp(static_cast<int>(b), int(Desk_Edge.blue()), 255));
    }
  }
  // The handheld lies at the centre of the screen, so its shadow is printed there.
  QPainter p(&desk);
  const QSize hand = Built_In_Rect(im_background).size();
  const QPoint centre(Desk_Width / 2, Desk_Height / 2);
  for (const auto& [spread, strength, offset] :
       {std::tuple{44, 0.8, QPoint(16, 26)}, std::tuple{8, 0.75, QPoint(4, 8)}}) {
    const QImage shadow = Handheld_Shadow(spread, strength);
    p.drawImage(centre - QPoint(hand.width() / 2, hand.height() / 2) -
                    QPoint(spread * 2, spread * 2) + offset,
                shadow);
  }
  p.end();
  return desk;
}

QImage Logo() {
  QImage logo(300, 104, QImage::Format_ARGB32_Premultiplied);
  logo.fill(Qt::transparent);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  // Clear of the screen's edge when placed in a corner.
  p.translate(18, 14);
  QLinearGradient gold(0, 8, 0, 52);
  gold.setColorAt(0.0, QColor(255, 232, 156));
  gold.setColorAt(0.5, Print_Gold);
  gold.setColorAt(0.56, QColor(178, 114, 36));
  gold.setColorAt(1.0, QColor(240, 194, 100));

  const QImage dragon = Segment_Shape(im_dragon, 1.6, Qt::black);
  p.drawImage(QPoint(8, 10), Segment_Shape(im_dragon, 1.6, QColor(0, 0, 0, 140)));
  QImage gold_dragon = dragon;
  {
    QPainter g(&gold_dragon);
    g.setCompositionMode(QPainter::CompositionMode_SourceIn);
    g.fillRect(gold_dragon.rect(), gold);
  }
  p.drawImage(QPoint(6, 7), gold_dragon);

  QPainterPath title;
  title.addText(QPointF(64, 46), Serif(38, true, true), QStringLiteral("Grathmoor"));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 140));
  p.drawPath(title.translated(2, 2));
  p.setBrush(gold);
  p.setPen(QPen(QColor(90, 52, 10), 0.8));
  p.drawPath(title);
  QFont small = Sans(9, true);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  p.setFont(small);
  p.setPen(Print_Silver);
  p.drawText(QRectF(64, 52, 210, 16), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("BRENNICOR \u00b7 ZEPHYRINE SERIES"));
  p.end();
  return logo.convertToFormat(QImage::Format_ARGB32);
}

QImage Icon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  const QRectF body(s * 0.03, s * 0.15, s * 0.94, s * 0.70);
  QLinearGradient plastic(body.topLeft(), body.bottomLeft());
  plastic.setColorAt(0, Case_Light);
  plastic.setColorAt(1, Case_Dark);
  p.setPen(size >= 32 ? QPen(QColor(0, 0, 0, 160), s / 64.0) : Qt::NoPen);
  p.setBrush(plastic);
  p.drawRoundedRect(body, s * 0.12, s * 0.12);

  const QRectF screen(s * 0.11, s * 0.24, s * 0.52, s * 0.40);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(8, 9, 10));
  p.drawRoundedRect(screen.adjusted(-s * 0.02, -s * 0.02, s * 0.02, s * 0.02), s * 0.03, s * 0.03);
  QLinearGradient lcd(screen.topLeft(), screen.bottomRight());
  lcd.setColorAt(0, Lcd_Light);
  lcd.setColorAt(1, Lcd_Dark);
  p.setBrush(lcd);
  p.drawRect(screen);
  if (size >= 32) {
    // The dragon on the screen.
    const Element_Id figure = im_dragon;
    const QSizeF shape = Built_In_Rect(figure).size();
    const qreal scale = screen.height() * 0.86 / shape.height();
    const QImage dragon = Segment_Shape(figure, scale, QColor(16, 22, 18));
    p.drawImage(QPointF(screen.center().x() - dragon.width() / 2.0,
                        screen.center().y() - dragon.height() / 2.0 + s * 0.01),
                dragon);
  } else {
    p.setBrush(QColor(16, 22, 18));
    p.drawRect(
        QRectF(screen.center().x() - s * 0.08, screen.center().y() - s * 0.1, s * 0.16, s * 0.2));
  }
  // Two buttons.
  for (const auto& [y, colour] :
       {std::pair{0.38, QColor(226, 146, 38)}, std::pair{0.62, QColor(198, 38, 34)}}) {
    const QPointF c(s * 0.80, s * y);
    QRadialGradient cap(c - QPointF(s * 0.02, s * 0.03), s * 0.09);
    cap.setColorAt(0, colour.lighter(140));
    cap.setColorAt(1, colour.darker(120));
    p.setBrush(cap);
    p.drawEllipse(c, s * 0.085, s * 0.085);
  }
  p.end();
  return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Picture_Files Backdrop_Files() {
  return {{QStringLiteral("Graphics/Backdrops/") + Backdrop_File, Desk(), "JPEG", 88},
          {QStringLiteral("Graphics/Backdrops/") + Logo_File, Logo()}};
}

Picture_Files Icon_Files() {
  Picture_Files files;
  for (int size : {16, 32, 48, 64, 128, 256})
    files.push_back({QStringLiteral("icons/grathmoor-%1.png").arg(size), Icon(size)});
  return files;
}

QString Backdrop_Edge_Colour() {
  // Config.ini colours are 0x00BBGGRR.
  return QStringLiteral("$00%1%2%3")
      .arg(Desk_Edge.blue(), 2, 16, QLatin1Char('0'))
      .arg(Desk_Edge.green(), 2, 16, QLatin1Char('0'))
      .arg(Desk_Edge.red(), 2, 16, QLatin1Char('0'));
}

} // namespace Art
