// The shipped game folder: Config.ini must reproduce the built-in layout and every picture it
// names must fit its element, or the handheld is drawn cut off or with gaps.
#include "lcd/lcd_elements.h"
#include "manual_pages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QRect>
#include <QTextStream>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString Game = QStringLiteral(GAME_DIR);

using Ini = QMap<QString, QMap<QString, QString>>;

// Sections and keys in lower case, as the program matches them without regard to case.
Ini Read_Config() {
  Ini ini;
  QFile file(Game + QStringLiteral("/Config.ini"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << "no Config.ini in " << GAME_DIR;
  QString section;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      section = line.mid(1, line.size() - 2).toLower();
      continue;
    }
    const auto eq = line.indexOf(QLatin1Char('='));
    EXPECT_GT(eq, 0) << "not a key line: " << line.toStdString();
    const QString key = line.left(eq).trimmed().toLower();
    EXPECT_FALSE(ini[section].contains(key)) << "repeated key " << key.toStdString();
    ini[section][key] = line.mid(eq + 1).trimmed();
  }
  return ini;
}

// A folder value as the program takes it: backslashes are path delimiters.
QString Folder(const QString& value) {
  QString folder = value;
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return Game + QLatin1Char('/') + folder;
}

QRect Table_Rect(Element_Id id) {
  const Element_Info& e = Element_Table[static_cast<std::size_t>(id)];
  return {e.Left, e.Top, e.Width, e.Height};
}

bool Names_File(const QString& filename) {
  return !filename.isEmpty() && filename != "nil";
}

QImage Load(const QString& path) {
  QImageReader reader(path);
  const QImage image = reader.read();
  EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
  return image;
}

TEST(ShippedConfig, ReproducesTheBuiltInLayoutWithPicturesOfTheRightSize) {
  const Ini ini = Read_Config();
  const QString skin = Folder(ini["common"]["skindir"]);
  EXPECT_EQ(ini["common"]["gamewidth"].toInt(), Table_Rect(im_background).width());
  EXPECT_EQ(ini["common"]["gameheight"].toInt(), Table_Rect(im_background).height());
  EXPECT_EQ(ini["videomode"]["transpcolor"], "$00ff00ff");

  for (int n = 1; n <= Skin_Element_Count; ++n) {
    const Element_Id id = Skin_Elements[static_cast<std::size_t>(n - 1)];
    SCOPED_TRACE(std::string(Element_Name(id)));
    const auto& section = ini[QStringLiteral("image%1").arg(n)];
    const QRect rect(section["left"].toInt(), section["top"].toInt(), section["width"].toInt(),
                     section["height"].toInt());
    EXPECT_EQ(rect, Table_Rect(id));
    const QString filename = section["filename"];
    // The panel positions hold the glyphs the game copies into them: a picture named for them
    // would be put back by every mode switch, blanking the panel of a running game.
    if (id == im_panel_digit_pos_1 || id == im_panel_digit_pos_2) {
      EXPECT_EQ(filename, "nil");
    }
    if (!Names_File(filename)) continue;
    EXPECT_EQ(Load(skin + filename).size(), rect.size());
  }
}

TEST(ShippedConfig, LeavesThePressedButtonsVisibleWhenPressed) {
  // A pressed picture shows only if no picture lies over it: the click areas above it, shown
  // all the time, must carry none.
  const Ini ini = Read_Config();
  for (Element_Id pressed : {btn_cursor_down, btn_attack_down, btn_acl_down, btn_move_down}) {
    int with_picture = 0;
    for (int n = 1; n <= Skin_Element_Count; ++n) {
      const Element_Id id = Skin_Elements[static_cast<std::size_t>(n - 1)];
      const Element_Info& info = Element_Table[static_cast<std::size_t>(id)];
      if (id == pressed)
        with_picture += Names_File(ini[QStringLiteral("image%1").arg(n)]["filename"]);
      if (id <= pressed || !info.Shown_At_Start || info.Transparent) continue;
      if (!Table_Rect(id).intersects(Table_Rect(pressed))) continue;
      EXPECT_FALSE(Names_File(ini[QStringLiteral("image%1").arg(n)]["filename"]))
          << Element_Name(id) << " hides " << Element_Name(pressed);
    }
    EXPECT_EQ(with_picture, 1) << Element_Name(pressed) << " has no picture";
  }
}

TEST(ShippedConfig, NamesABackdropForLargeScreensAndALogoWithAlpha) {
  const Ini ini = Read_Config();
  const auto& full = ini["fullscreen"];
  const QString folder = Folder(full["backdropdir"]);
  const QImage backdrop = Load(folder + full["backdropfile"]);
  EXPECT_GE(backdrop.width(), 1920);
  EXPECT_GE(backdrop.height(), 1080);
  const QImage logo = Load(folder + full["logofile"]);
  EXPECT_TRUE(logo.hasAlphaChannel());
  EXPECT_LE(logo.width(), 400);
  EXPECT_EQ(ini["manual"]["manualwidth"].toInt(), 375);
  EXPECT_EQ(ini["manual"]["manualheight"].toInt(), 600);
}

QImage Skin_Picture(Element_Id id, int scale = 1) {
  const QString twin = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
  return Load(Game + QStringLiteral("/Graphics/Skin/") + QString::fromLatin1(Element_Name(id)) +
              twin + QStringLiteral(".png"));
}

TEST(ScaledPictures, EveryPictureHasItsTwinsAtTwiceAndThreeTimesItsSizeTheSkinUpToSix) {
  int pictures = 0;
  QDirIterator files(Game, {"*.png", "*.jpg", "*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QFileInfo file(files.next());
    if (file.completeBaseName().contains(QLatin1Char('@'))) continue;
    SCOPED_TRACE(file.filePath().toStdString());
    ++pictures;
    const QSize size = QImageReader(file.filePath()).size();
    // The manual's larger pages are PNG beside the bitmaps.
    const QString suffix = file.suffix() == "bmp" ? QStringLiteral("png") : file.suffix();
    // The handheld's own zoom reaches six times the skin's size on a 3840 x 2160 screen.
    const bool skin = file.path().endsWith(QStringLiteral("/Skin"));
    for (int scale = 2; scale <= (skin ? 6 : 3); ++scale) {
      const QString twin = file.path() + QLatin1Char('/') + file.completeBaseName() +
                           QStringLiteral("@%1x.").arg(scale) + suffix;
      EXPECT_EQ(QImageReader(twin).size(), size * scale) << twin.toStdString();
    }
  }
  // The skin's pictures, the backdrop and logo, sixteen pages and six icons at least.
  EXPECT_GE(pictures, 60 + 2 + 16 + 6);
}

TEST(SkinBackground, HasASmoothOutlineOverAContactShadowAtEveryScale) {
  for (int scale : {1, 2, 3}) {
    SCOPED_TRACE(scale);
    const QImage background =
        Skin_Picture(im_background, scale).convertToFormat(QImage::Format_ARGB32);
    const int w = background.width(), h = background.height();
    EXPECT_EQ(qAlpha(background.pixel(0, h - 1)), 0);
    EXPECT_EQ(qAlpha(background.pixel(w / 2, h / 2)), 255);
    // Beneath the bottom edge the shadow: seen where the desktop blends, left out (less than
    // half covered) where it cannot.
    const int shadow = qAlpha(background.pixel(w / 2, h - 2 * scale));
    EXPECT_GT(shadow, 10);
    EXPECT_LT(shadow, 128);
    int soft = 0, off_step = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const QRgb c = background.pixel(x, y);
        soft += qAlpha(c) > 0 && qAlpha(c) < 255;
        // No pixel of the outline is blended towards a key colour.
        EXPECT_FALSE(qRed(c) > qGreen(c) + 40 && qBlue(c) > qGreen(c) + 40)
            << "pink pixel at " << x << "," << y;
      }
    EXPECT_GT(soft, 100 * scale);
    // The rounded corner is cut at the picture's own pixels, not in steps of the scale.
    for (int y = 0; y < 30 * scale; ++y) {
      int x = 0;
      while (x < w && qAlpha(background.pixel(x, y)) < 128)
        ++x;
      off_step += x % scale != 0;
    }
    EXPECT_TRUE(scale == 1 || off_step > 0);
  }
}

TEST(SkinSegments, AreDarkShapesOnAClearGround) {
  for (Element_Id id : Skin_Elements) {
    const bool segment = id == im_pit || (id >= im_bat_1 && id <= im_icon_hook) ||
                         (id >= im_panel_number_1_0 && id <= im_panel_number_2_9);
    if (!segment) continue;
    SCOPED_TRACE(std::string(Element_Name(id)));
    const QImage picture = Skin_Picture(id).convertToFormat(QImage::Format_ARGB32);
    int ink = 0, clear = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb c = picture.pixel(x, y);
        if (qAlpha(c) == 0)
          ++clear;
        else if (qAlpha(c) > 200 && qGray(c) < 60)
          ++ink;
      }
    // A segment drawn off its picture comes out blank; one without a clear ground would
    // cover the LCD around it.
    const int area = picture.width() * picture.height();
    EXPECT_GE(ink, std::min(12, area / 8)) << "hardly any ink";
    EXPECT_GE(clear, std::min(10, area / 5)) << "no clear ground";
  }
}

TEST(SkinBackground, PrintsTheUnlitSegmentsOnlyFaintly) {
  // Ghosts darker than this would read as lit segments.
  const QImage background = Skin_Picture(im_background);
  const QRect glass = Table_Rect(im_background_screen_top).adjusted(4, 4, -4, -4);
  int darkest = 255;
  for (int y = glass.top(); y <= glass.bottom(); ++y)
    for (int x = glass.left(); x <= glass.right(); ++x)
      darkest = std::min(darkest, qGray(background.pixel(x, y)));
  EXPECT_GT(darkest, 110);
}

TEST(SkinButtons, PressedPicturesMeetTheCaseWithoutASeam) {
  // Shown over the background, a pressed picture's edge must continue the case around it.
  const QImage background = Skin_Picture(im_background);
  for (Element_Id pressed : {btn_cursor_down, btn_attack_down, btn_acl_down, btn_move_down}) {
    SCOPED_TRACE(std::string(Element_Name(pressed)));
    const QImage picture = Skin_Picture(pressed);
    const QRect rect = Table_Rect(pressed);
    int differing = 0, edge = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        if (x != 0 && y != 0 && x != picture.width() - 1 && y != picture.height() - 1) continue;
        ++edge;
        const QRgb a = picture.pixel(x, y), b = background.pixel(rect.topLeft() + QPoint(x, y));
        differing += std::abs(qGray(a) - qGray(b)) > 8;
      }
    EXPECT_LE(differing, edge / 10);
    EXPECT_NE(picture, background.copy(rect)) << "the pressed picture looks unpressed";
  }
}

TEST(SkinGlyphs, AreDistinctSevenSegmentCharactersWithinTheEight) {
  // Every character lights a subset of the 8's segments; no two characters look alike.
  for (const auto& digits : {Panel_1_Digits, Panel_2_Digits}) {
    const QImage eight = Skin_Picture(digits[8]).convertToFormat(QImage::Format_ARGB32);
    std::vector<Element_Id> glyphs(digits.begin(), digits.end());
    if (digits == Panel_1_Digits)
      for (Element_Id letter : Panel_1_Letters)
        if (std::find(glyphs.begin(), glyphs.end(), letter) == glyphs.end())
          glyphs.push_back(letter);
    std::vector<QImage> seen;
    for (Element_Id glyph : glyphs) {
      SCOPED_TRACE(std::string(Element_Name(glyph)));
      const QImage picture = Skin_Picture(glyph).convertToFormat(QImage::Format_ARGB32);
      ASSERT_EQ(picture.size(), eight.size());
      int outside = 0;
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          outside += qAlpha(picture.pixel(x, y)) > qAlpha(eight.pixel(x, y)) + 8;
      EXPECT_EQ(outside, 0);
      for (const QImage& other : seen)
        EXPECT_NE(picture, other);
      seen.push_back(picture);
    }
  }
}

TEST(ManualPages, AreSixteenWindowsBitmapsWithLosslessLargerTwins) {
  for (int page = 1; page <= 16; ++page) {
    const QString path = Game + QStringLiteral("/Graphics/Manual/%1.bmp").arg(page);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(file.read(2), QByteArray("BM")) << path.toStdString();
    file.close();
    QImageReader reader(path, "bmp");
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_EQ(image.size(), QSize(375, 600)) << path.toStdString();
    // The larger pages are exactly what was drawn: a lossy format greys thin gold lines.
    for (int scale : {2, 3}) {
      const QString twin =
          Game + QStringLiteral("/Graphics/Manual/%1@%2x.png").arg(page).arg(scale);
      EXPECT_EQ(Load(twin).convertToFormat(QImage::Format_RGB32),
                Art::Draw_Manual_Page(page, scale).Image.convertToFormat(QImage::Format_RGB32))
          << twin.toStdString();
    }
  }
  // Captions of pictures side by side keep apart.
  const std::vector<QRectF> hook = Art::Draw_Manual_Page(11).Captions;
  ASSERT_EQ(hook.size(), 2u);
  EXPECT_FALSE(hook[0].intersects(hook[1]));
}

TEST(ShippedDocuments, ExistWithTheFinalVersionLast) {
  for (const char* name : {"Readme.txt", "Whatsnew.txt"})
    EXPECT_TRUE(QFile::exists(Game + QLatin1Char('/') + QLatin1String(name))) << name;
  QFile history(Game + QStringLiteral("/Whatsnew.txt"));
  ASSERT_TRUE(history.open(QIODevice::ReadOnly | QIODevice::Text));
  const QString text = QString::fromUtf8(history.readAll());
  const auto last = text.lastIndexOf(QStringLiteral("Version "));
  EXPECT_TRUE(text.mid(last).startsWith(QStringLiteral("Version 5.00 * Final *")));
  for (int size : {16, 32, 48, 64, 128, 256})
    EXPECT_EQ(Load(Game + QStringLiteral("/icons/grathmoor-%1.png").arg(size)).size(),
              QSize(size, size));
}

} // namespace
