#include "assets/picture_scale.h"
#include "desktop/display_scale.h"
#include "display/gfxinit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const QSize Screen(1024, 768);
const QRgb Red = qRgb(255, 0, 0), Black = qRgb(0, 0, 0);

QImage Filled(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
  QImage image(w, h, format);
  image.fill(colour);
  return image;
}

bool Is_Placeholder(const QImage& image) {
  return image.size() == QSize(10, 10) && image.pixel(5, 5) == Red && image.pixel(0, 0) != Red;
}

// The start of a PNG file that claims the given size, without the pixels to go with it.
QByteArray Png_Header(quint32 width, quint32 height) {
  auto be32 = [](quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
      b[i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    return b;
  };
  auto crc32 = [](const QByteArray& data) {
    quint32 crc = 0xFFFFFFFF;
    for (char c : data) {
      crc ^= static_cast<quint8>(c);
      for (int k = 0; k < 8; ++k)
        crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
  };
  auto chunk = [&](const QByteArray& type, const QByteArray& data) {
    return be32(static_cast<quint32>(data.size())) + type + data + be32(crc32(type + data));
  };
  const QByteArray ihdr = be32(width) + be32(height) + QByteArray("\x08\x02\0\0\0", 5);
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", "xxxx") +
         chunk("IEND", "");
}

// A bitmap stored top-down, which its header tells by a negative height; it may hold fewer rows
// than its header tells.
QByteArray Top_Down_Bitmap(int width, int height, int rows_held = 0) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  Filled(width, rows_held > 0 ? rows_held : height, qRgb(0, 0, 255)).save(&buffer, "BMP");
  const qint32 negative = qToLittleEndian(-height);
  std::memcpy(bytes.data() + 22, &negative, sizeof negative); // the info header's height
  return bytes;
}

// "[ImageN]" for the element that section configures.
QByteArray Section_Of(Element_Id id) {
  const auto at = std::find(Skin_Elements.begin(), Skin_Elements.end(), id);
  return "[Image" + QByteArray::number(at - Skin_Elements.begin() + 1) + "]\n";
}

// A game folder of its own: the executable's folder with Config.ini, and the working directory
// that the skin's folders are relative to.
class Skin_Loader : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Game.isValid());
    Previous_Dir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Game.path()));
    QDir(Game.path()).mkpath("Graphics/Skin");
    QDir(Game.path()).mkpath("Graphics/Backdrops");
    Env.Exe_Dir = Game.path();
    Env.Screen_Size = Screen;
  }
  void TearDown() override { QDir::setCurrent(Previous_Dir); }

  void Write_Config(const QByteArray& text) { Write_File("Config.ini", text); }
  void Write_File(const QString& name, const QByteArray& bytes) {
    QFile file(Game.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void Save(const QString& name, const QImage& image, const char* format = nullptr) {
    ASSERT_TRUE(image.save(Game.filePath(name), format));
  }

  Skin_Result Run(bool fullscreen) {
    Env.Fullscreen_Mode = fullscreen;
    Result = gfxinit(Surface, Result.Window, Env,
                     [this](const QString& message) { Messages << message; });
    return Result;
  }

  QTemporaryDir Game;
  QString Previous_Dir;
  Skin_Environment Env;
  Lcd_Surface Surface;
  Skin_Result Result;
  QStringList Messages;
};

// Everything whose shown flag the loader must leave alone.
std::vector<bool> Other_Shown_Flags(const Lcd_Surface& surface) {
  std::vector<bool> flags;
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    if (id != im_backdrop && id != im_backdrop_logo && id != btn_game_menu_top &&
        id != btn_game_menu_background)
      flags.push_back(surface.Shown(id));
  }
  return flags;
}

TEST_F(Skin_Loader, WithoutConfigIniOnlyTheInGameMenuIsSetUp) {
  Surface.Show(im_warrior_3);
  const auto flags = Other_Shown_Flags(Surface);
  const Skin_Window before = Result.Window;
  for (bool fullscreen : {true, false}) {
    Messages.clear();
    const Skin_Result result = Run(fullscreen);
    EXPECT_FALSE(result.Config_Found);
    EXPECT_EQ(Messages, QStringList{Config_Missing_Message});
    EXPECT_EQ(result.Window.Client_Size, before.Client_Size);
    EXPECT_EQ(result.Window.Key_Colour_On, before.Key_Colour_On);
    EXPECT_EQ(Surface.Shown(btn_game_menu_top), fullscreen);
    EXPECT_EQ(Surface.Shown(btn_game_menu_background), fullscreen);
    EXPECT_EQ(Surface[btn_game_menu_background].Rect.size(), QSize(36, 32));
    EXPECT_EQ(Surface[im_warrior_3].Rect, QRect(171, 83, 34, 30));
  }
  EXPECT_EQ(Other_Shown_Flags(Surface), flags);
}

TEST_F(Skin_Loader, AnEmptyConfigGivesASeeThroughWindowOfTheDefaultSize) {
  Write_Config("");
  Surface.Vid_Show_All(true);
  const auto flags = Other_Shown_Flags(Surface);
  const Skin_Result result = Run(false);
  EXPECT_TRUE(result.Config_Found);
  EXPECT_EQ(result.Window.Client_Size, QSize(527, 348));
  EXPECT_TRUE(result.Window.Key_Colour_On);
  EXPECT_EQ(result.Window.Key_Colour, QColor(255, 0, 255));
  EXPECT_EQ(result.Window.Colour, QColor(255, 0, 255));
  for (Element_Id id : Skin_Elements) {
    EXPECT_EQ(Surface[id].Rect, QRect(0, 0, 0, 0)) << Element_Name(id);
    const bool holds_88 = id == im_panel_digit_pos_1 || id == im_panel_digit_pos_2;
    if (!holds_88) {
      EXPECT_TRUE(Surface[id].Picture.isNull()) << Element_Name(id);
    }
  }
  EXPECT_FALSE(Surface.Shown(im_backdrop));
  EXPECT_FALSE(Surface.Shown(im_backdrop_logo));
  EXPECT_FALSE(Surface.Shown(btn_game_menu_top));
  EXPECT_EQ(Other_Shown_Flags(Surface), flags);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(Skin_Loader, FullScreenCentresTheGameAreaUnlessGivenANonZeroOffset) {
  const std::pair<const char*, int> x_cases[] = {{"", 248},
                                                 {"GameOffsetX=Center\n", 248},
                                                 {"GameOffsetX=0\n", 248},
                                                 {"GameOffsetX=left\n", 248},
                                                 {"GameOffsetX=-20\n", -20},
                                                 {"GameOffsetX=$10\n", 16}};
  for (auto [line, expected] : x_cases) {
    Write_Config(QByteArray("[Image1]\nLeft=5\nTop=7\nWidth=527\nHeight=348\n[Fullscreen]\n") +
                 line);
    const Skin_Result result = Run(true);
    EXPECT_EQ(result.Window.Skin_Offset_X, expected) << line;
    EXPECT_EQ(result.Window.Skin_Offset_Y, 210) << line;
    EXPECT_EQ(Surface[im_background].Rect, QRect(expected + 5, 217, 527, 348)) << line;
  }
  EXPECT_EQ(Result.Window.Client_Size, Screen);
  EXPECT_FALSE(Result.Window.Key_Colour_On);
  EXPECT_EQ(Result.Window.Colour, QColor(0, 0, 0));
  EXPECT_EQ(Surface[im_backdrop].Rect, QRect(QPoint(0, 0), Screen));
  EXPECT_TRUE(Surface.Shown(btn_game_menu_top));
  EXPECT_TRUE(Surface.Shown(btn_game_menu_background));

  // A game area larger than the screen centres to a negative offset; a custom game size counts.
  Write_Config("[Common]\nGameWidth=1100\nGameHeight=$100\n");
  EXPECT_EQ(Run(true).Window.Skin_Offset_X, -38);
  EXPECT_EQ(Result.Window.Skin_Offset_Y, 256);

  // Back in windowed mode the offsets are gone and backdrop and menu are hidden.
  EXPECT_EQ(Run(false).Window.Skin_Offset_X, 0);
  EXPECT_EQ(Result.Window.Client_Size, QSize(1100, 256));
  EXPECT_FALSE(Surface.Shown(im_backdrop));
  EXPECT_FALSE(Surface.Shown(btn_game_menu_top));
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(Skin_Loader, AMalformedColourIsReportedInItsOwnModeOnly) {
  Write_Config(
      "[Fullscreen]\nBgColor=dark\n[VideoMode]\nTranspColor=$0000FF00\n[Image1]\nWidth=9\n");
  EXPECT_EQ(Run(false).Window.Key_Colour, QColor(0, 255, 0));
  EXPECT_TRUE(Messages.isEmpty()); // the Fullscreen section is not read
  EXPECT_EQ(Run(true).Window.Colour, QColor(0, 0, 0));
  EXPECT_EQ(Messages, QStringList{"'dark' is not a valid integer value"});
  EXPECT_EQ(Surface[im_background].Rect.width(), 9); // the loader went on

  Messages.clear();
  Write_Config("[Fullscreen]\nBgColor=65280\n[VideoMode]\nTranspColor=\n");
  EXPECT_EQ(Run(true).Window.Colour, QColor(0, 255, 0));
  EXPECT_TRUE(Messages.isEmpty()); // the VideoMode section is not read
  EXPECT_EQ(Run(false).Window.Key_Colour, QColor(255, 0, 255));
  EXPECT_EQ(Messages, QStringList{"'' is not a valid integer value"});
}

TEST_F(Skin_Loader, PicturesComeFromTheSkinFolderAndMissingOnesShowAPlaceholder) {
  Save("Graphics/Skin/body.png", Filled(4, 3, qRgb(10, 20, 30)));
  QDir(Game.path()).mkpath("Graphics/Skin/parts");
  Save("Graphics/Skin/parts/arm.png", Filled(5, 2, qRgb(40, 50, 60)));
  const QImage kept = Filled(2, 2, qRgb(1, 2, 3));
  Surface.Set_Picture(btn_acl_down, kept);   // Image7
  Surface.Set_Picture(btn_acl_top, kept);    // Image8
  Surface.Set_Picture(btn_move_down, kept);  // Image9
  Surface.Set_Picture(btn_cursor_top, kept); // Image4
  Write_Config("[Image3]\nFilename=body.png\n"
               "[Image4]\nFilename=absent.png\n"
               "[Image5]\nFilename=parts\\arm.png\n"
               "[Image7]\nFilename=nil\n"
               "[Image8]\nFilename=\n"
               "[Image9]\nFilename=NIL\n");
  Run(false);
  EXPECT_EQ(Surface[btn_cursor_down].Picture.size(), QSize(4, 3));
  EXPECT_EQ(Surface[btn_cursor_down].Picture.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_TRUE(Is_Placeholder(Surface[btn_cursor_top].Picture));
  EXPECT_EQ(Surface[btn_attack_down].Picture.size(), QSize(5, 2)); // a Windows sub-folder
  EXPECT_EQ(Surface[btn_acl_down].Picture, kept);
  EXPECT_EQ(Surface[btn_acl_top].Picture, kept);
  EXPECT_TRUE(Is_Placeholder(Surface[btn_move_down].Picture));
  EXPECT_TRUE(Messages.isEmpty()); // a missing file is marked, not reported
}

TEST_F(Skin_Loader, ARelativeSkinFolderIsTakenFromTheWorkingDirectory) {
  Save("Graphics/Skin/body.png", Filled(4, 3, qRgb(10, 20, 30)));
  Write_Config("[Common]\nSkinDir=Graphics\\Skin\n[Image3]\nFilename=body.png\n");
  Run(false);
  EXPECT_EQ(Surface[btn_cursor_down].Picture.size(), QSize(4, 3));

  QTemporaryDir elsewhere;
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  Run(false);
  EXPECT_TRUE(Result.Config_Found); // Config.ini is still found beside the executable
  EXPECT_TRUE(Is_Placeholder(Surface[btn_cursor_down].Picture));
}

TEST_F(Skin_Loader, UnreadablePicturesAreReportedAndReplacedByThePlaceholder) {
  Save("Graphics/Skin/good.png", Filled(3, 3, qRgb(0, 0, 255)));
  Save("Graphics/Skin/bmp_in_disguise.gif", Filled(3, 3, qRgb(0, 0, 255)), "BMP");
  Write_File("Graphics/Skin/broken.png", "not a picture at all");
  Write_File("Graphics/Skin/drawing.WMF", "metafile");
  Write_File("Graphics/Skin/huge.png", Png_Header(100000, 100000));
  Write_Config("[Image3]\nFilename=bmp_in_disguise.gif\n"
               "[Image4]\nFilename=broken.png\n"
               "[Image5]\nFilename=drawing.WMF\n"
               "[Image6]\nFilename=huge.png\n"
               "[Image7]\nFilename=good.png\nWidth=3\n");
  Run(false);
  ASSERT_EQ(Messages.size(), 4) << Messages.join("\n").toStdString();
  EXPECT_EQ(Messages[0], "Unknown picture file extension (.gif)");
  // The file, then the decoder's own words.
  EXPECT_TRUE(Messages[1].startsWith("Graphics/Skin/broken.png: ")) << Messages[1].toStdString();
  EXPECT_GT(Messages[1].size(), QString("Graphics/Skin/broken.png: ").size());
  EXPECT_EQ(Messages[2], "Windows metafile pictures (.WMF) cannot be shown");
  EXPECT_TRUE(Messages[3].endsWith(": Picture too large (100000 x 100000 pixels)"));
  for (Element_Id id : {btn_cursor_down, btn_cursor_top, btn_attack_down, btn_attack_top})
    EXPECT_TRUE(Is_Placeholder(Surface[id].Picture)) << Element_Name(id);
  EXPECT_EQ(Surface[btn_acl_down].Picture.pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(Surface[btn_acl_down].Rect.width(), 3);
}

TEST_F(Skin_Loader, ATopDownBitmapIsHeldToTheSizeLimitLikeAnyOther) {
  Write_File("Graphics/Skin/tall.bmp", Top_Down_Bitmap(1, Max_Picture_Side + 1));
  Write_File("Graphics/Skin/short.bmp", Top_Down_Bitmap(2, 3));
  // Narrow but tall, refused by its header before the decoder asks for 640 MB for it.
  Write_File("Graphics/Skin/narrow.bmp", Top_Down_Bitmap(16, 10000000, 1));
  Write_Config("[Image3]\nFilename=tall.bmp\n[Image5]\nFilename=short.bmp\n"
               "[Image7]\nFilename=narrow.bmp\n");
  Run(false);
  ASSERT_EQ(Messages.size(), 2) << Messages.join("\n").toStdString();
  EXPECT_EQ(Messages[0], "Graphics/Skin/tall.bmp: Picture too large (1 x 8193 pixels)")
      << Messages[0].toStdString();
  EXPECT_EQ(Messages[1].toStdString(),
            "Graphics/Skin/narrow.bmp: Picture too large (16 x 10000000 pixels)");
  EXPECT_TRUE(Is_Placeholder(Surface[btn_cursor_down].Picture));
  EXPECT_EQ(Surface[btn_attack_down].Picture.size(), QSize(2, 3));
}

TEST_F(Skin_Loader, PicturesNamedOftenAreKeptOnceAndTheSkinStaysWithinItsMemoryAllowance) {
  // Every element naming one big picture once took a copy each: gigabytes from one small file.
  Save("Graphics/Skin/shared.png", Filled(40, 40, qRgb(0, 0, 255)));
  QByteArray config;
  for (int n = 1; n <= Skin_Element_Count; ++n)
    config += "[Image" + QByteArray::number(n) + "]\nFilename=shared.png\n";
  Write_Config(config);
  Run(false);
  EXPECT_TRUE(Messages.isEmpty());
  for (Element_Id id : Skin_Elements) {
    const Lcd_Element& first =
        Surface[*std::find_if(Skin_Elements.begin(), Skin_Elements.end(), [&](Element_Id other) {
          return Surface[other].Transparent == Surface[id].Transparent;
        })];
    EXPECT_EQ(Surface[id].Picture.constBits(), first.Picture.constBits()) << Element_Name(id);
  }

  // Room for two pictures of 40 x 40: the third is reported and left out.
  Save("Graphics/Skin/second.png", Filled(40, 40, qRgb(0, 255, 0)));
  Save("Graphics/Skin/third.png", Filled(40, 40, qRgb(255, 255, 0)));
  Write_Config("[Image3]\nFilename=shared.png\n[Image5]\nFilename=second.png\n"
               "[Image7]\nFilename=third.png\n");
  Env.Picture_Allowance = 2 * 40 * 40 * 4;
  Run(false);
  EXPECT_EQ(Surface[btn_cursor_down].Picture.pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(Surface[btn_attack_down].Picture.pixel(1, 1), qRgb(0, 255, 0));
  EXPECT_TRUE(Is_Placeholder(Surface[btn_acl_down].Picture));
  EXPECT_EQ(Messages, QStringList{Skin_Too_Large_Message("Graphics/Skin/third.png")});
}

TEST_F(Skin_Loader, RequiredFormatsDecodeWhateverTheCaseOfTheirExtension) {
  const QImage blue = Filled(3, 2, qRgb(0, 0, 255));
  Save("Graphics/Skin/a.BMP", blue);
  Save("Graphics/Skin/b.Jpg", blue);
  Save("Graphics/Skin/c.jpeg", blue);
  Save("Graphics/Skin/d.ico", blue);
  Write_Config("[Image3]\nFilename=a.BMP\n[Image5]\nFilename=b.Jpg\n"
               "[Image7]\nFilename=c.jpeg\n[Image9]\nFilename=d.ico\n");
  Run(false);
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
  for (Element_Id id : {btn_cursor_down, btn_attack_down, btn_acl_down, btn_move_down})
    EXPECT_EQ(Surface[id].Picture.size(), QSize(3, 2)) << Element_Name(id);
}

TEST_F(Skin_Loader, SeeThroughElementsLoseTheBottomLeftColourUnlessThePictureHasAlpha) {
  QImage plain = Filled(3, 3, qRgb(0, 255, 0));
  plain.setPixel(1, 1, qRgb(200, 0, 0));
  plain.setPixel(0, 0, qRgb(0, 0, 200)); // top-left: not the key
  Save("Graphics/Skin/plain.bmp", plain);
  QImage alpha = Filled(2, 2, qRgba(0, 0, 0, 255), QImage::Format_ARGB32);
  alpha.setPixel(1, 0, qRgba(0, 0, 0, 0));
  Save("Graphics/Skin/alpha.png", alpha);
  // The warriors are see-through, btn_cursor_down is not.
  Write_Config(Section_Of(im_warrior_0) + "Filename=plain.bmp\n" + Section_Of(im_warrior_1) +
               "Filename=alpha.png\n" + Section_Of(btn_cursor_down) + "Filename=plain.bmp\n");
  Run(false);
  const QImage& keyed = Surface[im_warrior_0].Picture;
  EXPECT_EQ(qAlpha(keyed.pixel(0, 2)), 0);
  EXPECT_EQ(keyed.pixel(0, 0), qRgb(0, 0, 200));
  EXPECT_EQ(keyed.pixel(1, 1), qRgb(200, 0, 0));
  const QImage& own = Surface[im_warrior_1].Picture;
  EXPECT_EQ(qAlpha(own.pixel(0, 1)), 255); // black bottom-left pixel stays
  EXPECT_EQ(qAlpha(own.pixel(1, 0)), 0);
  EXPECT_EQ(Surface[btn_cursor_down].Picture.pixel(0, 2), qRgb(0, 255, 0));
}

TEST_F(Skin_Loader, TheBackdropIsShownStretchedOnlyWhenTheLowestByteSaysSo) {
  Save("Graphics/Backdrops/sky.png", Filled(8, 6, qRgb(0, 0, 128)));
  Surface.Hide(im_backdrop);
  for (auto [stretch, expected] :
       {std::pair{"1", true}, {"256", false}, {"0", false}, {"$101", true}}) {
    Write_Config(QByteArray("[Fullscreen]\nBackdropDir=Graphics\\Backdrops\nBackdropFile=sky.png\n"
                            "BackdropStretch=") +
                 stretch + "\n");
    Run(true);
    EXPECT_EQ(Surface[im_backdrop].Stretch, expected) << stretch;
  }
  EXPECT_TRUE(Surface.Shown(im_backdrop));
  EXPECT_EQ(Surface[im_backdrop].Picture.size(), QSize(8, 6));

  // A backdrop that is named but not there leaves the element as it was.
  Surface.Hide(im_backdrop);
  Write_Config("[Fullscreen]\nBackdropFile=gone.png\nBackdropStretch=0\n");
  Run(true);
  EXPECT_FALSE(Surface.Shown(im_backdrop));
  EXPECT_TRUE(Surface[im_backdrop].Stretch);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(Skin_Loader, TheLogoTakesItsPictureSizeAndTheNamedCorner) {
  Save("Graphics/Backdrops/logo.png", Filled(40, 30, qRgb(255, 255, 0)));
  const std::pair<const char*, QPoint> corners[] = {
      {"0", {0, 0}}, {"1", {984, 0}}, {"2", {0, 738}}, {"3", {984, 738}}, {"7", {984, 738}}};
  for (auto [position, place] : corners) {
    Write_Config(QByteArray("[Fullscreen]\nLogoFile=logo.png\nLogoPosition=") + position + "\n");
    Run(true);
    EXPECT_EQ(Surface[im_backdrop_logo].Rect, QRect(place, QSize(40, 30))) << position;
  }
  EXPECT_TRUE(Surface.Shown(im_backdrop_logo));

  // Top right by default; a Windows sub-folder is found.
  QDir(Game.path()).mkpath("Graphics/Backdrops/art");
  Save("Graphics/Backdrops/art/logo.png", Filled(20, 10, qRgb(255, 255, 0)));
  Write_Config("[Fullscreen]\nLogoFile=art\\logo.png\n");
  Run(true);
  EXPECT_EQ(Surface[im_backdrop_logo].Rect, QRect(1004, 0, 20, 10));
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(Skin_Loader, OutlandishRectanglesAreKeptWithinBounds) {
  Write_Config("[Image1]\nWidth=-5\nHeight=-1\nLeft=2147483647\n[Fullscreen]\n"
               "GameOffsetX=2147483647\n[Common]\nGameWidth=-3\n");
  Run(true);
  const QRect r = Surface[im_background].Rect;
  EXPECT_EQ(r.size(), QSize(0, 0));
  EXPECT_GT(r.left(), 0);
  Run(false);
  EXPECT_EQ(Result.Window.Client_Size, QSize(0, 348));
}

} // namespace

namespace {

TEST_F(Skin_Loader, AtAScaleTheTwinIsTakenElseThePictureIsEnlargedPixelForPixel) {
  // bat.png has a twin drawn for 2x; the warrior's bitmap has none and is keyed by its
  // bottom-left pixel.
  QImage bat = Filled(2, 1, qRgb(10, 20, 30), QImage::Format_ARGB32);
  Save("Graphics/Skin/bat.png", bat);
  QImage bat_twin = Filled(4, 2, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
  bat_twin.setPixel(3, 1, qRgb(200, 100, 50));
  Save("Graphics/Skin/bat@2x.png", bat_twin);
  QImage warrior = Filled(3, 2, qRgb(0, 255, 0));
  warrior.setPixel(1, 0, qRgb(200, 0, 0));
  warrior.setPixel(2, 1, qRgb(0, 0, 77));
  Save("Graphics/Skin/warrior.bmp", warrior);
  Save("Graphics/Backdrops/sky.png", Filled(8, 6, qRgb(0, 0, 128)));
  Write_Config(Section_Of(im_bat_1) + "Filename=bat.png\n" + Section_Of(im_warrior_0) +
               "Filename=warrior.bmp\n" + Section_Of(im_pit) + "Filename=gone.png\n" +
               "[Fullscreen]\nBackdropFile=sky.png\nLogoFile=sky.png\n"
               // Placed by the skin, so full screen does not enlarge the handheld.
               "GameOffsetX=4\nGameOffsetY=4\n");
  Env.Scale = 2;
  Run(true);
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();

  const QImage& twin = Surface[im_bat_1].Picture;
  EXPECT_EQ(twin.size(), QSize(4, 2));
  EXPECT_EQ(twin.devicePixelRatio(), 2.0);
  EXPECT_EQ(twin.pixel(3, 1), qRgb(200, 100, 50));

  // Each 1x pixel becomes a 2 x 2 block of its exact colour; the key colour is gone, hard-edged.
  const QImage& enlarged = Surface[im_warrior_0].Picture;
  EXPECT_EQ(enlarged.size(), QSize(6, 4));
  EXPECT_EQ(enlarged.devicePixelRatio(), 2.0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const QRgb from = warrior.pixel(x / 2, y / 2);
      const QRgb got = enlarged.pixel(x, y);
      if (from == qRgb(0, 255, 0))
        EXPECT_EQ(qAlpha(got), 0) << x << "," << y;
      else
        EXPECT_EQ(got, from) << x << "," << y;
    }

  // A missing picture's placeholder is enlarged too: still 10 x 10 logical pixels.
  EXPECT_EQ(Surface[im_pit].Picture.size(), QSize(20, 20));
  // The backdrop and logo at 2x, the logo's element sized in logical pixels.
  EXPECT_EQ(Surface[im_backdrop].Picture.size(), QSize(16, 12));
  EXPECT_EQ(Surface[im_backdrop_logo].Rect, QRect(1024 - 8, 0, 8, 6));

  // A glyph copied into the panel keeps the scale it was loaded at.
  Write_Config(Section_Of(im_panel_number_1_8) + "Filename=warrior.bmp\n");
  Run(false);
  Surface.Show_Glyph(0, im_panel_number_1_8);
  EXPECT_EQ(Surface[im_panel_digit_pos_1].Picture, Surface[im_panel_number_1_8].Picture);
  EXPECT_EQ(Surface[im_panel_digit_pos_1].Picture.devicePixelRatio(), 2.0);

  // A desk larger than the screen: the part shown is measured in the twin's logical pixels
  // (60 x 32 pixels drawn for 2x are 30 x 16), and only that part is decoded.
  QImage desk = Filled(60, 32, qRgb(0, 0, 128));
  desk.setPixel(10, 6, qRgb(255, 255, 0)); // the part's top-left pixel
  Save("Graphics/Backdrops/desk@2x.png", desk);
  Write_Config("[Fullscreen]\nBackdropFile=desk.png\n");
  Env.Screen_Size = QSize(20, 10);
  Run(true);
  EXPECT_EQ(Surface[im_backdrop].Picture.size(), QSize(40, 20));
  EXPECT_EQ(Surface[im_backdrop].Picture.pixel(0, 0), qRgb(255, 255, 0));
}

TEST_F(Skin_Loader, AFileNamedInTheSkinIsDrawnAtItsNaturalSizeWhateverItsName) {
  Save("Graphics/Skin/odd@2x.png", Filled(4, 2, qRgb(1, 2, 3)));
  Write_Config(Section_Of(btn_cursor_down) + "Filename=odd@2x.png\n");
  Run(false);
  EXPECT_EQ(Surface[btn_cursor_down].Picture.devicePixelRatio(), 1.0);
}

TEST(Display_Scale, RoundsOverridesNamesTwinsAndEnlargesByWhatIsMissing) {
  EXPECT_EQ(Rounded_Scale_Factors("1.25;1.5;1.75;2.5;0.5"), "1;2;2;3;1");
  EXPECT_EQ(Rounded_Scale_Factors("DP-1=1.5;HDMI-1=1;odd=x"), "DP-1=2;HDMI-1=1;odd=x");
  EXPECT_EQ(Scaled_File_Name("Graphics/Skin/im_bat_1.png", 2), "Graphics/Skin/im_bat_1@2x.png");
  EXPECT_EQ(Scaled_File_Name("Manual/7.bmp", 3), "Manual/7@3x.bmp");
  EXPECT_EQ(Scaled_File_Name("a.b/noext", 2), "a.b/noext@2x");
  EXPECT_EQ(Scaled_File_Name("x.png", 1), "x.png");
  // A picture drawn for 2x, used at 4x, is enlarged to ratio 4 and keeps its logical size.
  QImage twin = Filled(4, 2, Red);
  twin.setDevicePixelRatio(2);
  EXPECT_EQ(For_Scale(twin, 4).size(), QSize(8, 4));
  EXPECT_EQ(Logical_Size(For_Scale(twin, 4)), QSize(2, 1));
}

} // namespace
