// What painting costs: composing the whole frame, recomposing one segment's rectangle, and
// rebuilding the windowed handheld's shape, with the shipped skin. Full screen is measured at
// 1920 x 1080 with the shipped backdrop behind the handheld.
#include "display/gfxinit.h"
#include "display/lcd_painter.h"

#include <QDir>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

QString Game_Dir;

[[noreturn]] void Fail(const QString& message) {
  std::fprintf(stderr, "paint_bench: %s\n", qPrintable(message));
  std::exit(1);
}

struct Skinned {
  Lcd_Surface Surface;
  Lcd_Painter Painter;
  Skin_Window Window;

  explicit Skinned(bool fullscreen) {
    Skin_Environment env;
    env.Exe_Dir = Game_Dir;
    env.Fullscreen_Mode = fullscreen;
    env.Screen_Size = QSize(1920, 1080);
    // A skin that does not load would make every figure meaningless: stop with its message.
    env.Report = [](const QString& message) { Fail(message); };
    const Skin_Result skin = gfxinit(Surface, Skin_Window{}, env);
    if (!skin.Config_Found) Fail(QStringLiteral("no Config.ini in ") + Game_Dir);
    Window = skin.Window;
    if (fullscreen && (!Surface.Shown(im_backdrop) || Surface[im_backdrop].Picture.isNull() ||
                       Window.Client_Size != QSize(1920, 1080)))
      Fail(QStringLiteral("the full-screen frame has no backdrop or is not 1920 x 1080"));
    Surface.Vid_Show_All(true);
    Painter.Reset(Window.Client_Size, Window.Colour, Surface);
    Surface.Take_Dirty();
  }
};

void Full_Frame(benchmark::State& state) {
  Skinned s(state.range(0) != 0);
  const QRegion all(QRect(QPoint(0, 0), s.Window.Client_Size));
  for (auto _ : state)
    s.Painter.Compose(all, s.Surface);
  state.SetLabel(state.range(0) ? "1920 x 1080 full screen" : "windowed 527 x 348");
}
BENCHMARK(Full_Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void One_Segment(benchmark::State& state) {
  Skinned s(state.range(0) != 0);
  for (auto _ : state) {
    s.Surface.Toggle(im_warrior_3);
    s.Painter.Compose(s.Surface.Take_Dirty(), s.Surface);
  }
  state.SetLabel(state.range(0) ? "1920 x 1080 full screen" : "windowed 527 x 348");
}
BENCHMARK(One_Segment)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void Shape_Rebuild(benchmark::State& state) {
  Skinned s(false);
  for (auto _ : state)
    benchmark::DoNotOptimize(s.Painter.Visible_Region(s.Window.Key_Colour));
}
BENCHMARK(Shape_Rebuild)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  Game_Dir = qEnvironmentVariable("GRATHMOOR_GAME_DIR", QStringLiteral(GRATHMOOR_GAME_DIR));
  // The skin's folders are named relative to the game folder, as when the game runs.
  if (!QDir::setCurrent(Game_Dir)) Fail(QStringLiteral("no game folder at ") + Game_Dir);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
