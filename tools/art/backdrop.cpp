#include "backdrop.h"

#include "handheld.h"
#include "lcd_art.h"
#include "skin_files.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

namespace Art {

namespace {

// The size the desk is drawn at, in logical pixels: the largest screen it is meant for.
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

// The desk's planks run across the screen. The handheld lies at the desk's centre, so the
// boards are laid out from there: a joint runs under the handheld's middle, hidden but for its
// ends, and the next ones a long way clear of its top and bottom edges. End joints stay well
// away from its sides.
constexpr double Board = 420;
constexpr double Ring_Spacing = 9;

// Hash of integers to [0, 1), the same on every build.
double Unit(int a, int b) {
  return Lattice(a, b, 4242);
}

struct Knot {
  QPointF Centre; // from the desk's centre, logical pixels
  double Radius;
};
// Where a player sees them beside the handheld on any screen from 1024 x 768 up.
constexpr std::array<std::pair<double, double>, 2> Knot_Places = {{{-392, -262}, {436, 222}}};
constexpr double Knot_Radii[] = {17, 11};

// One row of the desk's wood, at a scale: the wood is a function of the logical position, so
// every scale shows the same boards. `size` is the desk's logical size.
void Desk_Row(QImage& desk, int row_index, int scale, QSize size) {
  const QColor dark(44, 27, 16), light(98, 63, 36);
  auto* row = reinterpret_cast<QRgb*>(desk.scanLine(row_index));
  const double cx = size.width() / 2.0, cy = size.height() / 2.0;
  // The middle of the device pixel, in logical pixels from the desk's centre.
  const double y = (row_index + 0.5) / scale - cy;
  const int plank = static_cast<int>(std::floor(y / Board));
  const double in_plank = y - plank * Board;
  const auto seed = static_cast<std::uint32_t>(plank * 7 + 1000);
  // Every plank is cut from another tree: its own tone, a little redder or yellower, and its
  // own figure. The figure is flat-sawn: the cut passes above the log's heart at a depth that
  // wanders along the board, so the growth rings show as nested arches (the cathedrals).
  const double tone = 0.84 + 0.28 * Unit(plank, 1);
  const double warmth = 0.96 + 0.08 * Unit(plank, 2);
  const double heart = (Unit(plank, 3) - 0.5) * Board * 0.5; // across the board
  const double depth = 40 + 70 * Unit(plank, 4);
  const double sway = 90 + 90 * Unit(plank, 5);
  const double stretch = 1.0 / (380 + 420 * Unit(plank, 6));
  const double phase = Unit(plank, 7) * 6.28;
  const double v = in_plank - Board / 2 - heart;
  // End joints, staggered from plank to plank, never near the handheld's sides.
  const double first_end = 560 + 380 * Unit(plank, 8), end_spacing = 1240;
  for (int column = 0; column < desk.width(); ++column) {
    const double x = (column + 0.5) / scale - cx;
    const double warp = Fractal(x * 0.0015, y * 0.006, seed, 2) - 0.5;
    const double cut = depth + sway * (0.5 + 0.5 * std::sin(x * stretch + phase)) + warp * 30;
    const double across = v + warp * 26;
    double rings = std::sqrt(across * across + cut * cut);
    // Knots: the rings flow around them, and each is a dark little eye of its own rings.
    double knot_dark = 0;
    for (std::size_t k = 0; k < Knot_Places.size(); ++k) {
      const double dx = x - Knot_Places[k].first, dy = (y - Knot_Places[k].second) * 1.6;
      const double r = Knot_Radii[k], d2 = dx * dx + dy * dy;
      rings += 34 * r * r / (d2 + r * r);
      const double d = std::sqrt(d2) / r;
      if (d < 1.4) {
        const double eye = std::clamp((1.4 - d) / 0.4, 0.0, 1.0);
        const double eye_rings = 0.5 + 0.5 * std::cos(d * 9.0);
        knot_dark = std::max(knot_dark, eye * (0.55 + 0.3 * eye_rings));
      }
    }
    const double ring = rings / Ring_Spacing + (Noise(x * 0.012, y * 0.06, seed + 9) - 0.5) * 0.18;
    const double f = ring - std::floor(ring);
    // Each year's wood darkens slowly towards its late wood, then turns light again over a
    // pixel or so where the next year begins.
    const double late = f < 0.86 ? f * f * f : 0.636 * (1 - f) / 0.14;
    const double fibre = Noise(x * 0.02, y * 0.8, seed + 50) - 0.5;
    const double streak = Noise(x * 0.004, y * 0.05, seed + 80) - 0.5;
    double t = std::clamp(0.62 - late * 0.5 + fibre * 0.2 + streak * 0.3, 0.0, 1.0);
    t *= 1 - knot_dark;
    // A warm lamp above and to the left, the room darker towards the edges.
    const double lx = (x + cx - size.width() * 0.42) / (size.width() * 0.62);
    const double ly = (y + cy - size.height() * 0.36) / (size.height() * 0.75);
    const double light_level = 0.22 + 0.95 * std::exp(-(lx * lx + ly * ly) * 1.6);
    double shade = tone * light_level;
    // The joint between two planks: a dark gap, its lower edge lit. End joints: a dark line.
    if (in_plank < 2)
      shade *= 0.3;
    else if (in_plank < 3)
      shade *= 0.75;
    else if (in_plank < 4)
      shade *= 1.12;
    const double along = std::abs(x) - first_end;
    if (along > 0 && std::fmod(along, end_spacing) < 1.5) shade *= 0.35;
    const double r = (dark.red() + (light.red() - dark.red()) * t) * shade * warmth;
    const double g = (dark.green() + (light.green() - dark.green()) * t) * shade;
    const double b = (dark.blue() + (light.blue() - dark.blue()) * t) * shade / warmth;
    row[column] = qRgb(std::clamp(static_cast<int>(r), int(Desk_Edge.red()), 255),
                       std::clamp(static_cast<int>(g), int(Desk_Edge.green()), 255),
                       std::clamp(static_cast<int>(b), int(Desk_Edge.blue()), 255));
  }
}

// The desk at any logical size, with the handheld's shadow at its centre.
QImage Desk(QSize size, int scale) {
  QImage desk = Canvas(size, scale, QImage::Format_RGB32);
  // The rows are independent: both halves of the machine draw them.
  const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w)
    threads.emplace_back([&desk, scale, size, w, workers] {
      for (int y = static_cast<int>(w); y < desk.height(); y += static_cast<int>(workers))
        Desk_Row(desk, y, scale, size);
    });
  for (std::thread& thread : threads)
    thread.join();
  // The handheld lies at the centre of the screen, so its shadow is printed there.
  QPainter p(&desk);
  const QSize hand = Built_In_Rect(im_background).size();
  const QPoint centre(size.width() / 2, size.height() / 2);
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
    files.push_back({Scaled_File_Name(QStringLiteral("Graphics/Backdrops/") + Backdrop_File, scale),
                     Desk(QSize(Desk_Width, Desk_Height), scale), "JPEG", Desk_Quality[scale - 1]});
    files.push_back(
        {Scaled_File_Name(QStringLiteral("Graphics/Backdrops/") + Logo_File, scale), Logo(scale)});
  }
  return files;
}

Picture_Files Icon_Files() {
  Picture_Files files;
  for (int scale : Scales)
    for (int size : {16, 32, 48, 64, 128, 256})
      files.push_back({Scaled_File_Name(QStringLiteral("icons/grathmoor-%1.png").arg(size), scale),
                       Icon(size, scale)});
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
