// What painting costs: composing the whole frame, recomposing one segment's rectangle, and
// rebuilding the windowed handheld's shape, with the shipped skin. Full screen is measured at
// 1920 x 1080 with the shipped backdrop behind the handheld, which fills the screen; at 2x and
// 3x (the pictures drawn for the scale) windowed and on a 3840 x 2160 screen; and windowed at the
// handheld's own zoom of 300 % at 1x.
#include "display/gfxinit.h"
#include "display/lcd_painter.h"

#include <QDir>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

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

  // The screen in device pixels: 1920 x 1080 at 1x, 3840 x 2160 at larger scales.
  static QSize Device_Screen(int scale) {
    return scale == 1 ? QSize(1920, 1080) : QSize(3840, 2160);
  }

  Skinned(bool fullscreen, int scale, int zoom = Unzoomed) {
    Skin_Environment env;
    env.Exe_Dir = Game_Dir;
    env.Fullscreen_Mode = fullscreen;
    env.Scale = scale;
    env.Zoom = zoom;
    env.Screen_Size = Device_Screen(scale) / scale;
    // A skin that does not load would make every figure meaningless: stop with its message.
    const Skin_Result skin =
        gfxinit(Surface, Skin_Window{}, env, [](const QString& message) { Fail(message); });
    if (!skin.Config_Found) Fail(QStringLiteral("no Config.ini in ") + Game_Dir);
    Window = skin.Window;
    if (fullscreen && (!Surface.Shown(im_backdrop) || Surface[im_backdrop].Picture.isNull() ||
                       Window.Client_Size * scale != Device_Screen(scale)))
      Fail(QStringLiteral("the full-screen frame has no backdrop or does not fill the screen"));
    // The pictures made for the frame's factor, not the 1x ones enlarged.
    if (!qFuzzyCompare(Surface[im_background].Picture.devicePixelRatio(),
                       Window.Layout.Skin.Value()))
      Fail(QStringLiteral("the skin was not loaded for the frame's factor"));
    if (fullscreen && Window.Zoom == Unzoomed)
      Fail(QStringLiteral("the handheld does not fill the screen"));
    Surface.Vid_Show_All(true);
    Painter.Reset(Window.Client_Size, Window.Colour, Surface, Window.Layout,
                  fullscreen ? Frame_Look::Opaque : Frame_Look::Keyed);
    Surface.Take_Dirty();
  }
};

std::string Label(const benchmark::State& state) {
  const int scale = static_cast<int>(state.range(1));
  if (state.range(2) != Unzoomed)
    return "windowed at zoom " + std::to_string(state.range(2)) + " % at " + std::to_string(scale) +
           "x";
  const QSize screen = Skinned::Device_Screen(scale);
  const std::string where = state.range(0) ? std::to_string(screen.width()) + " x " +
                                                 std::to_string(screen.height()) + " full screen"
                                           : "windowed";
  return where + " at " + std::to_string(scale) + "x";
}

// Arguments: full screen (0 or 1), scale, the windowed handheld's zoom.
void Scales(benchmark::internal::Benchmark* bench) {
  for (int scale : {1, 2, 3})
    for (int fullscreen : {0, 1})
      bench->Args({fullscreen, scale, Unzoomed});
  bench->Args({0, 1, 300});
}

Skinned Skinned_For(const benchmark::State& state) {
  return Skinned(state.range(0) != 0, static_cast<int>(state.range(1)),
                 static_cast<int>(state.range(2)));
}

void Full_Frame(benchmark::State& state) {
  Skinned s = Skinned_For(state);
  const QRegion all(QRect(QPoint(0, 0), s.Window.Client_Size));
  for (auto _ : state)
    s.Painter.Compose(all, s.Surface);
  state.SetLabel(Label(state));
}
BENCHMARK(Full_Frame)->Apply(Scales)->Unit(benchmark::kMicrosecond);

void One_Segment(benchmark::State& state) {
  Skinned s = Skinned_For(state);
  for (auto _ : state) {
    s.Surface.Toggle(im_warrior_3);
    s.Painter.Compose(s.Surface.Take_Dirty(), s.Surface);
  }
  state.SetLabel(Label(state));
}
BENCHMARK(One_Segment)->Apply(Scales)->Unit(benchmark::kMicrosecond);

void Shape_Rebuild(benchmark::State& state) {
  Skinned s(false, 1);
  for (auto _ : state)
    benchmark::DoNotOptimize(s.Painter.Visible_Region());
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
