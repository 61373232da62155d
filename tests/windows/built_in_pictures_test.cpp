#include "windows/window_look.h"

#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

// The side windows place their pictures at fixed sizes; a picture lost at link time or drawn
// at another size would leave a hole or spill over its neighbours.
TEST(Built_In_Pictures, AreThereAtTheSizesTheWindowsPlaceThem) {
#ifndef GRATHMOOR_HAS_PICTURES
  GTEST_SKIP() << "the art is not generated in this build";
#endif
  const std::pair<const char*, QSize> pictures[] = {
      {":/splash/background.png", {460, 420}}, {":/splash/box.jpg", {220, 143}},
      {":/splash/play.png", {107, 30}},        {":/splash/play_disabled.png", {107, 30}},
      {":/splash/donate.png", {107, 30}},      {":/about/portrait.png", {116, 160}},
      {":/manual/left_up.png", {16, 14}},      {":/manual/left_down.png", {16, 14}},
      {":/manual/right_up.png", {16, 14}},     {":/manual/right_down.png", {16, 14}},
      {":/manual/close_up.png", {16, 14}},     {":/manual/close_down.png", {16, 14}},
  };
  for (const auto& [name, size] : pictures)
    EXPECT_EQ(QImage(name).size(), size) << name;
}

// A window's labels get their pictures once, from those decoded ahead for the window's scale;
// decoded for another scale, they are decoded again for the right one.
TEST(Built_In_Pictures, LabelsTakeThePicturesDecodedAheadForTheirScale) {
#ifndef GRATHMOOR_HAS_PICTURES
  GTEST_SKIP() << "the art is not generated in this build";
#endif
  const QString box = QStringLiteral(":/splash/box.jpg");
  for (const int ahead_for : {2, 3}) {
    QLabel label;
    Label_Pictures pictures;
    pictures.Add(label, box);
    pictures.Give(2, Decode_Pictures_Ahead({box}, ahead_for));
    EXPECT_EQ(label.pixmap().size(), QSize(440, 286)) << ahead_for;
    pictures.Give(1);
    EXPECT_EQ(label.pixmap().size(), QSize(440, 286)) << "given once";
  }
}

} // namespace
