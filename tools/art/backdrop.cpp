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
#include <thread>
#include <vector>

namespace Art {

namespace {

constexpr int Desk_Width = 2560, Desk_Height = 1440;
// JPEG quality of the desk at 1x, 2x and 3x: the finer the pixels, the less a lower quality shows,
// and the larger scales would otherwise take most of the game's size.
constexpr int Desk_Quality[] = {88, 80, 72};
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
QImage Handheld_Shadow(int spread, qreal strength, int scale) {
  const QSize hand = Built_In_Rect(im_background).size();
  QImage mask = Canvas(hand + QSize(spread * 4, spread * 4), scale, QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(spread * 2, spread * 2, hand.width(), hand.height()), 30, 30);
  }
  Blur(mask, (spread / 3 + 1) * scale);
  QImage shadow = Canvas(Logical_Size(mask), scale, QImage::Format_ARGB32);
  for (int y = 0; y < mask.height(); ++y) {
    const uchar* m = mask.constScanLine(y);
    auto* s = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < mask.width(); ++x)
      s[x] = qRgba(0, 0, 0, qRound(m[x] * strength));
  }
  return shadow;
}

// One row of the desk's wood, at a scale: the grain is a function of the logical position, so
// every scale shows the same boards.
void Desk_Row(QImage& desk, int row_index, int scale) {
  const QColor dark(44, 27, 16), light(96, 62, 36);
  constexpr int board = 320;
  auto* row = reinterpret_cast<QRgb*>(desk.scanLine(row_index));
  const double y = static_cast<double>(row_index) / scale;
  const int plank = static_cast<int>(std::floor((y + 90) / board));
  const double in_plank = y + 90 - plank * board;
  const auto seed = static_cast<std::uint32_t>(plank * 7 + 3);
  const double tint = 0.9 + 0.2 * Lattice(plank, 1, 99);
  for (int column = 0; column < desk.width(); ++column) {
    const double x = static_cast<double>(column) / scale;
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
    double shade = tint * light_level;
    // The joint between two boards: a dark gap, its lower edge lit.
    if (in_plank < 2)
      shade *= 0.3;
    else if (in_plank < 3)
      shade *= 0.75;
    else if (in_plank < 4)
      shade *= 1.15;
    const double r = (dark.red() + (light.red() - dark.red()) * t) * shade;
    const double g = (dark.green() + (light.green() - dark.green()) * t) * shade;
    const double b = (dark.blue() + (light.blue() - dark.blue()) * t) * shade;
    row[column] = qRgb(std::clamp(static_cast<int>(r), int(Desk_Edge.red()), 255),
                       std::clamp(static_cast<int>(g), int(Desk_Edge.green()), 255),
                       std::clamp(static_cast<int>(b), int(Desk_Edge.blue()), 255));
  }
}

QImage Desk(int scale) {
  QImage desk = Canvas(QSize(Desk_Width, Desk_Height), scale, QImage::Format_RGB32);
  // The rows are independent: both halves of the machine draw them.
  const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w)
    threads.emplace_back([&desk, scale, w, workers] {
      for (int y = static_cast<int>(w); y < desk.height(); y += static_cast<int>(workers))
        Desk_Row(desk, y, scale);
    });
  for (std::thread& thread : threads)
    thread.join();
  // The handheld lies at the centre of the screen, so its shadow is printed there.
  QPainter p(&desk);
  const QSize hand = Built_In_Rect(im_background).size();
  const QPoint centre(Desk_Width / 2, Desk_Height / 2);
  for (const auto& [spread, strength, offset] :
       {std::tuple{44, 0.8, QPoint(16, 26)}, std::tuple{8, 0.75, QPoint(4, 8)}}) {
    const QImage shadow = Handheld_Shadow(spread, strength, scale);
    p.drawImage(centre - QPoint(hand.width() / 2, hand.height() / 2) -
                    QPoint(spread * 2, spread * 2) + offset,
                shadow);
  }
  p.end();
  return desk;
}

QImage Logo(int scale) {
  QImage logo = Canvas(QSize(300, 104), scale);
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

  const QImage dragon = Segment_Shape(im_dragon, 1.6, Qt::black, scale);
  p.drawImage(QPoint(8, 10), Segment_Shape(im_dragon, 1.6, QColor(0, 0, 0, 140), scale));
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

QImage Icon(int size, int scale) {
  QImage icon = Canvas(QSize(size, size), scale);
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
    const qreal zoom = screen.height() * 0.86 / shape.height();
    const QImage dragon = Segment_Shape(figure, zoom, QColor(16, 22, 18), scale);
    const QSize logical = Logical_Size(dragon);
    p.drawImage(QPointF(screen.center().x() - logical.width() / 2.0,
                        screen.center().y() - logical.height() / 2.0 + s * 0.01),
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
  Picture_Files files;
  for (int scale : Scales) {
    files.push_back({At_Scale(QStringLiteral("Graphics/Backdrops/") + Backdrop_File, scale),
                     Desk(scale), "JPEG", Desk_Quality[scale - 1]});
    files.push_back(
        {At_Scale(QStringLiteral("Graphics/Backdrops/") + Logo_File, scale), Logo(scale)});
  }
  return files;
}

Picture_Files Icon_Files() {
  Picture_Files files;
  for (int scale : Scales)
    for (int size : {16, 32, 48, 64, 128, 256})
      files.push_back(
          {At_Scale(QStringLiteral("icons/grathmoor-%1.png").arg(size), scale), Icon(size, scale)});
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
