#include "assets/picture_file.h"
#include "assets/picture_scale.h"
#include "input/native_keys.h"
#include "windows/manual_form.h"
#include "windows/manual_pages.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class Manual_Form_Test : public ::testing::Test {
protected:
  // Config.ini beside the "program", pages in a folder of their own.
  void Write_Config(const QString& manual_section) {
    QFile file(Program.filePath("Config.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[Manual]\n" + manual_section).toUtf8());
  }
  void Use_Page_Folder(const QString& extra = {}) {
    Write_Config("ManualDir=" + Program.filePath("pages") + "\n" + extra);
  }
  // Page n is (20 + n) pixels wide, so every page can be told apart.
  void Write_Pages() {
    ASSERT_TRUE(QDir(Program.path()).mkpath("pages"));
    for (int n = 1; n <= 16; ++n) {
      QImage page(20 + n, 30, QImage::Format_RGB32);
      page.fill(Qt::white);
      ASSERT_TRUE(page.save(Page_Path(n), "BMP"));
    }
  }
  QString Page_Path(int n) const { return Program.filePath(QString("pages/%1.bmp").arg(n)); }
  void Overwrite_Page(int n, const QByteArray& bytes) {
    QFile file(Page_Path(n));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }

  TManualForm& Open_Viewer() {
    Form.emplace(Program.path(), [this](const QString& message) { Reports << message; });
    Form->Open();
    return *Form;
  }
  bool Shown(const char* name) const { return Form->findChild<QLabel*>(name)->isVisible(); }
  void Key(QEvent::Type type, Qt::Key key) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&*Form, &event);
  }
  void Tap(Qt::Key key) {
    Key(QEvent::KeyPress, key);
    Key(QEvent::KeyRelease, key);
  }
  QSize Top_Picture_Size() const {
    return Form->findChild<QLabel*>("im_page_top")->pixmap().size();
  }

  QTemporaryDir Program;
  QStringList Reports;
  std::optional<TManualForm> Form;
};

TEST_F(Manual_Form_Test, AHeldKeyTurnsOnePageOnRelease) {
  Write_Pages();
  Use_Page_Folder();
  TManualForm& viewer = Open_Viewer();
  // As the X server sends a held key when it repeats by release and press pairs, each pair at
  // one server time and not flagged as a repeat.
  const Native_Keys keys("us");
  ASSERT_TRUE(keys.Valid());
  const auto send = [&](QEvent::Type type, const char* key, std::uint64_t time) {
    QApplication::sendEvent(&viewer, keys.Event(type, key, {}, time).get());
  };
  send(QEvent::KeyPress, "RGHT", 1000);
  EXPECT_FALSE(Shown("btn_right_up"));
  for (std::uint64_t time = 1660; time < 2000; time += 40) {
    send(QEvent::KeyRelease, "RGHT", time);
    send(QEvent::KeyPress, "RGHT", time);
  }
  EXPECT_EQ(viewer.Manual_Page(), 1);
  send(QEvent::KeyRelease, "RGHT", 2010);
  send(QEvent::KeyPress, "AC01", 2100); // the release counts at the latest when the next key comes
  EXPECT_EQ(viewer.Manual_Page(), 2);
  EXPECT_EQ(Top_Picture_Size(), QSize(22, 30));
  EXPECT_TRUE(Shown("btn_right_up"));
  EXPECT_TRUE(Reports.isEmpty());
}

TEST_F(Manual_Form_Test, TheArrowAtEitherEndIsHiddenAndItsKeyDoesNothing) {
  Write_Pages();
  Use_Page_Folder();
  TManualForm& viewer = Open_Viewer();
  EXPECT_FALSE(Shown("btn_left_up"));
  EXPECT_FALSE(Shown("btn_left_down"));
  Tap(Qt::Key_Left);
  EXPECT_EQ(viewer.Manual_Page(), 1);

  for (int n = 0; n < 20; ++n)
    Tap(Qt::Key_Right);
  EXPECT_EQ(viewer.Manual_Page(), 16);
  EXPECT_EQ(Top_Picture_Size(), QSize(36, 30));
  EXPECT_FALSE(Shown("btn_right_up"));
  EXPECT_FALSE(Shown("btn_right_down"));
  EXPECT_TRUE(Shown("btn_left_up"));
}

TEST_F(Manual_Form_Test, ClosingOnPageSevenReopensOnPageSeven) {
  Write_Pages();
  Use_Page_Folder();
  TManualForm& viewer = Open_Viewer();
  for (int n = 1; n < 7; ++n)
    Tap(Qt::Key_Right);
  Key(QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_FALSE(Shown("btn_close_up"));
  Key(QEvent::KeyRelease, Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible());

  viewer.Open();
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_EQ(viewer.Manual_Page(), 7);
  EXPECT_EQ(Top_Picture_Size(), QSize(27, 30));
  EXPECT_TRUE(Shown("btn_close_up"));
}

TEST_F(Manual_Form_Test, ButtonsKeepFourPixelsFromTheCornersOfTheConfiguredSize) {
  Write_Config("ManualWidth=500\nManualHeight=700\n");
  TManualForm& viewer = Open_Viewer();
  EXPECT_EQ(viewer.size(), QSize(500, 700));
  Tap(Qt::Key_Right);
  auto place = [&](const char* name) { return viewer.findChild<QLabel*>(name)->geometry(); };
  EXPECT_EQ(place("btn_close_up"), QRect(480, 4, 16, 14));
  EXPECT_EQ(place("btn_right_up"), QRect(480, 682, 16, 14));
  EXPECT_EQ(place("btn_left_up"), QRect(4, 682, 16, 14));
  EXPECT_EQ(place("im_page_top"), QRect(0, 0, 500, 700));
}

TEST_F(Manual_Form_Test, MissingPagesShowThePlaceholderAndStillTurn) {
  Write_Config("ManualDir=" + Program.filePath("no such folder") + "\n");
  TManualForm& viewer = Open_Viewer();
  EXPECT_EQ(viewer.size(), QSize(375, 600));
  for (int n = 1; n <= 16; ++n)
    EXPECT_EQ(viewer.Page_Picture(n), Placeholder_Picture()) << n;
  const QImage placeholder = Placeholder_Picture();
  EXPECT_EQ(placeholder.size(), QSize(10, 10));
  EXPECT_EQ(placeholder.pixelColor(9, 9), QColor(Qt::black));
  EXPECT_EQ(placeholder.pixelColor(5, 5), QColor(Qt::red));
  for (int n = 1; n < 16; ++n)
    Tap(Qt::Key_Right);
  EXPECT_EQ(viewer.Manual_Page(), 16);
  EXPECT_TRUE(Reports.isEmpty());
}

TEST_F(Manual_Form_Test, APipeOrAFolderInAPagesPlaceCountsAsMissing) {
  // Opening the pipe to read it would wait for a writer for ever.
  Write_Pages();
  Use_Page_Folder();
  ASSERT_TRUE(QFile::remove(Page_Path(2)) && QFile::remove(Page_Path(3)));
  ASSERT_EQ(mkfifo(QFile::encodeName(Page_Path(2)).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkpath(Page_Path(3)));
  TManualForm& viewer = Open_Viewer();
  EXPECT_EQ(viewer.Page_Picture(2), Placeholder_Picture());
  EXPECT_EQ(viewer.Page_Picture(3), Placeholder_Picture());
  EXPECT_EQ(viewer.Page_Picture(4).width(), 24);
  EXPECT_TRUE(Reports.isEmpty());
}

TEST_F(Manual_Form_Test, BrokenPagesAreReportedOnceAndTheLaterPagesStillLoad) {
  Write_Pages();
  Overwrite_Page(5, "this is no bitmap");
  // A header that claims 5000 x 5000 pixels: refused before anything is decoded.
  QByteArray huge("BM", 2);
  auto add32 = [&huge](quint32 value) {
    for (int shift = 0; shift < 32; shift += 8)
      huge.append(char((value >> shift) & 0xff));
  };
  add32(54);   // file size
  add32(0);    // reserved
  add32(54);   // pixel data offset
  add32(40);   // info header size
  add32(5000); // width
  add32(5000); // height
  huge.append("\x01\x00\x18\x00", 4);
  for (int field = 0; field < 6; ++field)
    add32(0);
  Overwrite_Page(9, huge);
  // A top-down bitmap tells its height as negative; the limit holds for it all the same.
  QImage tall(1, 5000, QImage::Format_RGB32);
  tall.fill(Qt::white);
  ASSERT_TRUE(tall.save(Page_Path(12), "BMP"));
  QFile file(Page_Path(12));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.seek(22); // the info header's height
  const qint32 negative = qToLittleEndian(-5000);
  file.write(reinterpret_cast<const char*>(&negative), sizeof negative);
  file.close();
  Use_Page_Folder();
  TManualForm& viewer = Open_Viewer();

  ASSERT_EQ(Reports.size(), 1);
  EXPECT_TRUE(Reports[0].contains("5.bmp: Bitmap image is not valid")) << Reports[0].toStdString();
  EXPECT_TRUE(Reports[0].contains("9.bmp: the page is too large")) << Reports[0].toStdString();
  EXPECT_TRUE(Reports[0].contains("12.bmp: the page is too large (1 x 5000 pixels)"))
      << Reports[0].toStdString();
  for (int n : {5, 9, 12})
    EXPECT_EQ(viewer.Page_Picture(n), Placeholder_Picture()) << n;
  for (int n : {4, 6, 8, 10, 16})
    EXPECT_EQ(viewer.Page_Picture(n).width(), 20 + n) << n;
  // The viewer goes on as usual: centred and on top.
  const QRect screen = viewer.screen()->geometry();
  EXPECT_EQ(viewer.pos(), QPoint((screen.width() - 375) / 2, (screen.height() - 600) / 2));
  EXPECT_TRUE(viewer.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(Manual_Form_Test, AtAScaleAPageDrawnForItIsTakenElseThePageIsEnlarged) {
  Write_Pages();
  QImage twin(2 * 22, 2 * 30, QImage::Format_RGB32);
  twin.fill(Qt::blue);
  ASSERT_TRUE(twin.save(Program.filePath("pages/2@2x.png"), "PNG"));
  ASSERT_TRUE(QFile(Program.filePath("pages/3@2x.png")).open(QIODevice::WriteOnly)); // empty
  // Twins checked without being decoded, broken where a decoder would stop: a PNG cut short, a
  // PNG with a byte of its image data changed, a JPEG cut inside its headers; and a whole JPEG.
  QByteArray png, jpeg;
  QBuffer png_out(&png), jpeg_out(&jpeg);
  ASSERT_TRUE(twin.save(&png_out, "PNG") && twin.save(&jpeg_out, "JPEG"));
  QByteArray changed = png;
  changed[png.indexOf("IDAT") + 6] = char(changed[png.indexOf("IDAT") + 6] ^ 0x40);
  const std::pair<int, QByteArray> twins[] = {
      {5, png.left(png.size() - 20)}, {6, changed}, {7, jpeg.left(100)}, {8, jpeg}};
  for (const auto& [n, bytes] : twins) {
    QFile file(
        Program.filePath(QString("pages/%1@2x.%2").arg(n).arg(n == 5 || n == 6 ? "png" : "jpg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
  }
  const Manual_Pages pages = Load_Manual_Pages(Program.filePath("pages/"), 2);
  EXPECT_EQ(pages.Picture(8).pixelColor(0, 0).blue(), 254);
  EXPECT_EQ(pages.Picture(2).pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(pages.Picture(2).devicePixelRatio(), 2.0);
  // The pages are checked at the start and decoded only when shown, from the file then there.
  twin.fill(Qt::red);
  ASSERT_TRUE(twin.save(Program.filePath("pages/2@2x.png"), "PNG"));
  EXPECT_EQ(pages.Picture(2).pixel(0, 0), qRgb(255, 0, 0));
  // Without a usable twin the 1x page is enlarged, pixel for pixel; the broken twin is told.
  for (int n : {3, 4, 5, 6, 7}) {
    EXPECT_EQ(pages.Picture(n).size(), QSize(2 * (20 + n), 60)) << n;
    EXPECT_EQ(pages.Picture(n).devicePixelRatio(), 2.0) << n;
  }
  QStringList reports;
  pages.Report_Problems([&reports](const QString& message) { reports << message; });
  ASSERT_EQ(reports.size(), 1);
  const QStringList lines = reports[0].split('\n'); // the heading, then one line a page file
  ASSERT_EQ(lines.size(), 5) << reports[0].toStdString();
  for (int n : {3, 5, 6, 7})
    EXPECT_TRUE(reports[0].contains(QString("%1@2x.").arg(n))) << n;
}

TEST_F(Manual_Form_Test, TheMouseTurnsPagesOnReleaseClosesAndDrags) {
  Write_Pages();
  Use_Page_Folder();
  TManualForm& viewer = Open_Viewer();
  QTest::mousePress(&viewer, Qt::LeftButton, {}, QPoint(375 - 12, 600 - 11));
  EXPECT_FALSE(Shown("btn_right_up"));
  EXPECT_EQ(viewer.Manual_Page(), 1);
  QTest::mouseRelease(&viewer, Qt::LeftButton, {}, QPoint(375 - 12, 600 - 11));
  EXPECT_EQ(viewer.Manual_Page(), 2);

  QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(12, 600 - 11));
  EXPECT_EQ(viewer.Manual_Page(), 1);
  QTest::mouseClick(&viewer, Qt::RightButton, {}, QPoint(375 - 12, 600 - 11));
  EXPECT_EQ(viewer.Manual_Page(), 1);

  const QPoint start = viewer.pos();
  QTest::mousePress(&viewer, Qt::LeftButton, {}, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(130, 120), viewer.mapToGlobal(QPointF(130, 120)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewer, &move);
  QTest::mouseRelease(&viewer, Qt::LeftButton, {}, QPoint(130, 120));
  EXPECT_EQ(viewer.pos(), start + QPoint(30, 20));
  EXPECT_EQ(viewer.Manual_Page(), 1);

  QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(375 - 12, 4 + 7));
  EXPECT_FALSE(viewer.isVisible());
}

} // namespace
