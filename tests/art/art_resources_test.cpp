// The side windows load their pictures from these resource paths at these sizes, at each scale.
#include "art_resources.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

TEST(SideWindowPictures, AreCompiledInAtTheirPathsAndSizes) {
  const std::vector<std::pair<const char*, QSize>> expected = {
      {":/splash/background.png", {460, 420}}, {":/splash/box.jpg", {220, 143}},
      {":/splash/play.png", {107, 30}},        {":/splash/play_disabled.png", {107, 30}},
      {":/splash/donate.png", {107, 30}},      {":/about/portrait.png", {116, 160}},
      {":/manual/left_up.png", {16, 14}},      {":/manual/left_down.png", {16, 14}},
      {":/manual/right_up.png", {16, 14}},     {":/manual/right_down.png", {16, 14}},
      {":/manual/close_up.png", {16, 14}},     {":/manual/close_down.png", {16, 14}},
  };
  const QStringList listed = Art_Resource_Paths();
  // Each picture also at twice and three times the scale, beside it.
  EXPECT_EQ(listed.size(), static_cast<qsizetype>(expected.size() * 3));
  for (const auto& [path, size] : expected)
    for (int scale : {1, 2, 3}) {
      QString name = QString::fromLatin1(path);
      if (scale > 1) name.insert(name.lastIndexOf('.'), QStringLiteral("@%1x").arg(scale));
      SCOPED_TRACE(name.toStdString());
      EXPECT_TRUE(listed.contains(name));
      QImageReader reader{name};
      const QImage image = reader.read();
      ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
      EXPECT_EQ(image.size(), size * scale);
    }
  EXPECT_EQ(QImageReader(QStringLiteral(":/splash/box.jpg")).format(), "jpeg");
}

} // namespace
