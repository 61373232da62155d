#include "assets/picture_scale.h"
#include "desktop/zoom.h"

#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QSize Skin(527, 348);
const QRect Glass(70, 60, 210, 150); // the shipped skin's LCD glass

// A skin folder holding the twins of `factors` of one picture.
std::function<bool(const QString&)> Twins(std::initializer_list<int> factors) {
  QSet<QString> files;
  for (int f : factors)
    files << Scaled_File_Name(QStringLiteral("im.png"), f);
  return [files](const QString& path) { return files.contains(path); };
}

TEST(Zoom, WindowAndFrameForEachScreenScaleAndZoom) {
  struct Row {
    QSize Screen; // device pixels
    int Scale;
    std::optional<int> Stored; // Zoom as stored; none for full screen
    QSize Handheld;            // device pixels
    int Factor;                // hundredths
    int Shipped_Twin, One_X_Twin;
    QSize Logo{}; // full screen: a picture in a corner, left clear
  };
  const Row rows[] = {
      // screen         scale stored  handheld            factor twins
      {{1920, 1080}, 1, 200, {1054, 696}, 200, 2, 1},
      {{1920, 1080}, 1, 400, {1581, 1044}, 300, 3, 1}, // kept, shown at the largest that fits
      {{1920, 1080}, 1, 150, {527, 348}, 100, 1, 1},   // not a whole step
      {{1920, 1080}, 1, 0, {527, 348}, 100, 1, 1},
      {{1280, 800}, 1, 300, {1054, 696}, 200, 2, 1},
      {{3840, 2160}, 2, 300, {3162, 2088}, 600, 6, 1},
      {{1920, 1080}, 1, {}, {1549, 1023}, 294, 3, 1},
      {{2560, 1440}, 1, {}, {2071, 1368}, 393, 4, 1},
      {{1280, 800}, 1, {}, {1149, 759}, 218, 3, 1},
      {{3840, 2160}, 2, {}, {3099, 2046}, 588, 6, 1},
      {{3840, 2160}, 3, {}, {3099, 2046}, 588, 6, 1},
      {{640, 360}, 1, {}, {516, 341}, 98, 1, 1},
      {{1920, 1080}, 1, {}, {1318, 870}, 250, 3, 1, {300, 104}},
      {{1280, 800}, 1, {}, {896, 592}, 170, 2, 1, {300, 104}},
      {{3840, 2160}, 2, {}, {2635, 1740}, 500, 5, 1, {300, 104}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    const QSize screen = row.Screen / row.Scale;
    const int zoom = row.Stored ? Shown_Windowed_Zoom(Valid_Zoom(*row.Stored), Skin, screen)
                                : Fullscreen_Zoom(Skin, screen, row.Logo);
    const Frame_Factor factor(row.Scale, zoom);
    EXPECT_EQ(factor.Hundredths(), row.Factor);
    EXPECT_EQ(factor.Device_Size(Skin), row.Handheld);
    EXPECT_EQ(Choose_Twin("im.png", factor, Twins({1, 2, 3, 4, 5, 6})).File_Scale,
              row.Shipped_Twin);
    EXPECT_EQ(Choose_Twin("im.png", factor, Twins({1})).File_Scale, row.One_X_Twin);
    if (!row.Stored && row.Screen.height() >= 800) {
      EXPECT_GE(factor.Device_Rect(Glass).height(), row.Screen.height() * 30 / 100);
    }
  }
  // Windowed at 200 % on a 1920 x 1080 screen, centred.
  EXPECT_EQ(Centred(Skin * 2, QRect(0, 0, 1920, 1080)), QPoint(433, 192));
  EXPECT_EQ(Windowed_Zooms(Skin, {1920, 1080}), (std::vector<int>{100, 200, 300}));
}

TEST(Zoom, StoredZoomsAndTwinsOfPartialSkins) {
  for (const auto& [stored, zoom] : std::vector<std::pair<int, int>>{
           {300, 300}, {0, 100}, {-200, 100}, {250, 100}, {900000, Max_Zoom}})
    EXPECT_EQ(Valid_Zoom(stored), zoom) << stored;
  // A whole factor takes a smaller twin only where it divides it, so blocks stay exact.
  EXPECT_EQ(Choose_Twin("im.png", Frame_Factor(3, 100), Twins({1, 2})).File_Scale, 1);
  EXPECT_EQ(Choose_Twin("im.png", Frame_Factor(4, 100), Twins({1, 2})).File_Scale, 2);
  EXPECT_EQ(Choose_Twin("im.png", Frame_Factor(1, 250), Twins({1, 2})).File_Scale, 2);
  EXPECT_EQ(Choose_Twin("im.png", Frame_Factor(1, 100), Twins({2})).File_Scale, 2);
}

TEST(Zoom, EdgesMeetAndEveryDevicePixelShowsTheSkinPixelItCovers) {
  for (int hundredths : {95, 100, 150, 218, 294, 333, 588}) {
    const Frame_Factor factor(1, hundredths);
    for (int x = -20; x < 700; ++x) {
      EXPECT_EQ(factor.Device_Rect(QRect(x, 0, 3, 1)).right() + 1,
                factor.Device_Rect(QRect(x + 3, 0, 5, 1)).left());
      const int skin = factor.Skin_Point(QPoint(x, 0)).x();
      EXPECT_LE(factor.Device(skin), x);
      EXPECT_GT(factor.Device(skin + 1), x) << hundredths << " " << x;
    }
  }
  // A resized window keeps its centre, then moves inside the screen.
  const QRect screen(0, 0, 1920, 1080);
  EXPECT_EQ(Resized_About_Centre({433, 192, 1054, 696}, {1581, 1044}, screen),
            QRect(169, 18, 1581, 1044));
  EXPECT_EQ(Resized_About_Centre({1300, 700, 527, 348}, {1054, 696}, screen),
            QRect(866, 384, 1054, 696));
}

TEST(Zoom, PicturesAreReducedFromLargerOnesByAreaNeverEnlargedSmoothly) {
  QImage two(2, 1, QImage::Format_ARGB32);
  two.setPixel(0, 0, qRgba(0, 0, 0, 255));
  two.setPixel(1, 0, qRgba(255, 255, 255, 255));
  // Whole factors: blocks, exact.
  const QImage blocks = For_Factor(two, Frame_Factor(1, 300));
  EXPECT_EQ(blocks.size(), QSize(6, 3));
  EXPECT_EQ(blocks.pixel(2, 2), qRgba(0, 0, 0, 255));
  EXPECT_EQ(blocks.pixel(3, 0), qRgba(255, 255, 255, 255));
  // 150 %: from the doubled blocks, the middle pixel is half of each.
  const QImage half = For_Factor(two, Frame_Factor(1, 150));
  EXPECT_EQ(half.size(), QSize(3, 2));
  EXPECT_EQ(qRed(half.pixel(0, 0)), 0);
  EXPECT_NEAR(qRed(half.pixel(1, 0)), 127, 2);
  EXPECT_EQ(qRed(half.pixel(2, 1)), 255);
  // The size follows the place: at skin x = 1, 150 % covers device 2..4, two pixels.
  EXPECT_EQ(For_Factor(two, Frame_Factor(1, 150), {1, 0}).size(), QSize(3, 2));
  EXPECT_EQ(For_Factor(two, Frame_Factor(1, 150), {1, 1}).size(), QSize(3, 1));
  // A 6x twin reduced to 450 %: a see-through key-coloured pixel lends no colour.
  QImage twin(60, 24, QImage::Format_ARGB32);
  twin.fill(qRgba(255, 0, 255, 0));
  QPainter(&twin).fillRect(30, 0, 30, 24, QColor(0, 200, 0));
  twin.setDevicePixelRatio(6);
  const QImage reduced =
      For_Factor(twin, Frame_Factor(1, 450)).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(reduced.size(), QSize(45, 18));
  // Source pixel 30 is the left edge of device pixel 22.5: pixel 22 is half covered.
  EXPECT_NEAR(qAlpha(reduced.pixel(22, 9)), 127, 2);
  EXPECT_EQ(reduced.pixel(22, 9) & 0xFF00FFu, 0u); // no red, no blue
  EXPECT_EQ(qAlpha(reduced.pixel(21, 9)), 0);
  EXPECT_DOUBLE_EQ(reduced.devicePixelRatio(), 4.5);
}

} // namespace
