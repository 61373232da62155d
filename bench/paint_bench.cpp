// What painting costs: composing the whole frame, recomposing one segment's rectangle, and
// rebuilding the windowed handheld's shape, with the shipped skin.
#include "display/gfxinit.h"
#include "display/lcd_painter.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

QString Game_Dir;

struct Skinned {
  Lcd_Surface Surface;
  Lcd_Painter Painter;
  Skin_Window Window;

  explicit Skinned(bool fullscreen) {
    Skin_Environment env;
    env.Exe_Dir = Game_Dir;
    env.Fullscreen_Mode = fullscreen;
    env.Screen_Size = QSize(1920, 1080);
    env.Report = [](const QString&) {};
    Window = gfxinit(Surface, Skin_Window{}, env).Window;
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
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
