// The manual viewer's loading: the first input byte chooses what the rest is. Even: the
// Config.ini its layout comes from. Odd: page 1, a bitmap that may be anything (the other
// pages are a tiny valid bitmap and a missing file).
#include "fuzz_support.h"
#include "windows/manual_pages.h"

#include <QDir>
#include <QFile>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Fuzz::Start_Application();
  const QString root = Fuzz::Scratch_Folder();
  QDir(root).mkpath("pages");
  QImage page(4, 3, QImage::Format_RGB32);
  page.fill(Qt::white);
  page.save(root + "pages/2.bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const QString root = Fuzz::Scratch_Folder();
  if (data[0] % 2 == 0) {
    if (!Fuzz::Write_File(root + "Config.ini", data + 1, size - 1)) return 0;
    const Manual_Layout layout = Read_Manual_Layout(root);
    if (layout.Width < 1 || layout.Width > Manual_Max_Side || layout.Height < 1 ||
        layout.Height > Manual_Max_Side || !layout.Folder.endsWith('/'))
      __builtin_trap();
    return 0;
  }
  if (!Fuzz::Write_File(root + "pages/1.bmp", data + 1, size - 1)) return 0;
  const Manual_Pages pages = Load_Manual_Pages(root + "pages/");
  for (int n = 1; n <= Manual_Page_Count; ++n) {
    const QImage picture = pages.Picture(n);
    if (picture.isNull() || picture.width() > Manual_Max_Page_Side ||
        picture.height() > Manual_Max_Page_Side)
      __builtin_trap();
  }
  if (pages.Picture(2).size() != QSize(4, 3)) __builtin_trap();
  return 0;
}
