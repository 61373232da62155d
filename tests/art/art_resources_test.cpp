// The side windows load their pictures from these resource paths at these sizes, at each scale.
#include "art_resources.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

TEST(SideWindowPictures, AreCompiledInAtTheirPathsAndSizes) {
  // Bands and gradients are drawn once; the program enlarges them for the scale.
  struct Picture {
    const char* Path;
    QSize Size;
    bool Twins;
  };
  const std::vector<Picture> expected = {
      {":/splash/background.png", {460, 420}, false},
      {":/splash/box.jpg", {220, 143}, true},
      {":/splash/play.png", {107, 30}, true},
      {":/splash/play_disabled.png", {107, 30}, true},
      {":/splash/donate.png", {107, 30}, true},
      {":/about/portrait.png", {116, 160}, true},
      {":/manual/left_up.png", {16, 14}, true},
      {":/manual/left_down.png", {16, 14}, true},
      {":/manual/right_up.png", {16, 14}, true},
      {":/manual/right_down.png", {16, 14}, true},
      {":/manual/close_up.png", {16, 14}, true},
      {":/manual/close_down.png", {16, 14}, true},
  };
  const QStringList listed = Art_Resource_Paths();
  EXPECT_EQ(listed.size(), static_cast<qsizetype>(expected.size() * 3 - 2));
  for (const auto& [path, size, twins] : expected)
    for (int scale : {1, 2, 3}) {
      QString name = QString::fromLatin1(path);
      if (scale > 1) name.insert(name.lastIndexOf('.'), QStringLiteral("@%1x").arg(scale));
      SCOPED_TRACE(name.toStdString());
      QImageReader reader{name};
      const QImage image = reader.read();
      EXPECT_EQ(listed.contains(name), scale == 1 || twins);
      if (scale > 1 && !twins) {
        EXPECT_TRUE(image.isNull());
        continue;
      }
      ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
      EXPECT_EQ(image.size(), size * scale);
    }
  EXPECT_EQ(QImageReader(QStringLiteral(":/splash/box.jpg")).format(), "jpeg");
}

} // namespace
