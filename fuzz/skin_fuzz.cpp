// The whole skin loader on a mangled Config.ini, in windowed and full-screen mode. The game
// folder holds a few tiny pictures of every kind, named a.png, b.bmp, c.jpg, d.ico and e.png in
// both the skin and the backdrop folder, so the file names the input guesses can load.
#include "display/gfxinit.h"
#include "fuzz_support.h"

#include <QDir>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Fuzz::Start_Application();
  const QString root = Fuzz::Scratch_Folder();
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(Qt::green);
  picture.setPixel(0, 1, qRgb(255, 0, 255));
  QImage with_alpha(2, 2, QImage::Format_ARGB32);
  with_alpha.fill(qRgba(0, 0, 255, 128));
  for (const char* folder : {"Graphics/Skin/", "Graphics/Backdrops/", "skin/"}) {
    QDir(root).mkpath(folder);
    const QString dir = root + folder;
    picture.save(dir + "a.png");
    picture.save(dir + "b.bmp");
    picture.save(dir + "c.jpg");
    picture.save(dir + "d.ico");
    with_alpha.save(dir + "e.png");
  }
  // The skin's folders are relative to the working directory, as in the game folder.
  QDir::setCurrent(root);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString root = Fuzz::Scratch_Folder();
  if (!Fuzz::Write_File(root + "Config.ini", data, size)) return 0;

  Skin_Environment env;
  env.Exe_Dir = root;
  const Reporter report = [](const QString& message) { (void)message.size(); };
  for (const bool fullscreen : {false, true}) {
    env.Fullscreen_Mode = fullscreen;
    env.Screen_Size = fullscreen ? QSize(1920, 1080) : QSize(800, 600);
    Lcd_Surface surface;
    const Skin_Result result = gfxinit(surface, Skin_Window{}, env, report);
    if (!result.Config_Found) __builtin_trap(); // the file is there
    // A second run over the same surface, as a full-screen toggle does.
    (void)gfxinit(surface, result.Window, env, report);
  }
  return 0;
}
