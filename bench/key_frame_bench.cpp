// Key press to repainted frame in the real main window on the real platform (xcb under Xvfb by
// default). A game is started and waits for the player; then the cursor key is pressed and let
// go again and again, and each time the clock runs from the key event's posting until the end
// of the event-loop pass that painted the button's changed picture (the paint and the flush of
// the window's backing store to the X server).
//
// Usage: key_frame_bench [presses]   (default 200; each gives a press and a release sample)
#include "bench_stats.h"
#include "display/main_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <random>

namespace {

QElapsedTimer Clock;

double Now_Ms() {
  return static_cast<double>(Clock.nsecsElapsed()) / 1e6;
}

// Watches every event the program handles, to see when the awaited key arrives and when the
// pass that painted its picture ends.
class Watching_Application : public QApplication {
public:
  using QApplication::QApplication;

  QWidget* Form = nullptr;
  QRect Target;
  std::function<void(double delivered, double frame_end)> On_Frame;
  std::vector<double> Paint_Times;

  void Await_Key() {
    Awaiting_Key = true;
    Awaiting_Paint = Painted = false;
  }

  bool notify(QObject* receiver, QEvent* event) override {
    const double start = Now_Ms();
    const QEvent::Type type = event->type();
    bool paint_of_target = false;
    if (receiver == Form) {
      if (Awaiting_Key && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        Awaiting_Key = false;
        Awaiting_Paint = true;
        Delivered = start;
      } else if (Awaiting_Paint && type == QEvent::Paint &&
                 static_cast<QPaintEvent*>(event)->region().intersects(Target)) {
        paint_of_target = true;
      }
    }
    ++Depth;
    const bool result = QApplication::notify(receiver, event);
    --Depth;
    if (paint_of_target) {
      Paint_Times.push_back(Now_Ms() - start);
      Painted = true;
    }
    if (Depth == 0 && Painted) {
      Painted = Awaiting_Paint = false;
      if (On_Frame) On_Frame(Delivered, Now_Ms());
    }
    return result;
  }

private:
  int Depth = 0;
  bool Awaiting_Key = false;
  bool Awaiting_Paint = false;
  bool Painted = false;
  double Delivered = 0;
};

bool Run_Until(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer waited;
  waited.start();
  while (!done()) {
    if (waited.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

} // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  if (presses <= 0) {
    std::fprintf(stderr, "usage: key_frame_bench [presses > 0]\n");
    return 2;
  }
  // A private settings folder: windowed, silent, no splash; the player's own stays untouched.
  QTemporaryDir config_home;
  if (!config_home.isValid() || !QDir(config_home.path()).mkpath(QStringLiteral("Kelvamor"))) {
    std::fprintf(stderr, "cannot make a settings folder\n");
    return 1;
  }
  {
    QFile conf(config_home.filePath(QStringLiteral("Kelvamor/Tov50.conf")));
    if (!conf.open(QIODevice::WriteOnly)) return 1;
    conf.write("[General]\nSoundMode=2\nSplashScreen=0\nFullscreenMode=0\n");
  }
  qputenv("XDG_CONFIG_HOME", config_home.path().toLocal8Bit());
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  Watching_Application app(argc, argv);
  Clock.start();
  const QString game_dir =
      qEnvironmentVariable("GRATHMOOR_GAME_DIR", QStringLiteral(GRATHMOOR_GAME_DIR));
  if (!QDir::setCurrent(game_dir)) {
    std::fprintf(stderr, "no game folder at %s\n", qPrintable(game_dir));
    return 1;
  }

  bool failed = false;
  Main_Window_Environment environment;
  environment.Exe_Dir = game_dir;
  environment.Show_Error = [&failed](const QString& text) {
    std::fprintf(stderr, "the program reported: %s\n", qPrintable(text));
    failed = true;
  };
  environment.Request_End = [&failed] { failed = true; };
  TForm1 form(environment);
  if (failed) return 1;
  form.Centre();
  if (!Run_Until([&form] { return form.windowHandle() && form.windowHandle()->isExposed(); },
                 5000)) {
    std::fprintf(stderr, "the main window was never shown\n");
    return 1;
  }

  // Into level 1, where the warrior waits for the player.
  Game_Core& game = form.Game();
  game.Set_Game_Mode(Mode_Demo);
  game.Gam_Set_Mode();
  for (int i = 0; i < 2; ++i) {
    game.Inp_attack_press();
    game.Inp_attack_release();
  }
  if (!Run_Until([&game] { return game.Input_Enabled; }, 10000)) {
    std::fprintf(stderr, "the game never waited for the player\n");
    return 1;
  }

  app.Form = &form;
  app.Target = form.Surface()[btn_cursor_down].Rect;
  std::vector<double> from_post;
  std::vector<double> from_delivery;
  std::mt19937 rng(11);
  double posted = 0;
  bool press_next = true;
  int missed = 0;
  QTimer deadline;
  deadline.setSingleShot(true);

  std::function<void()> post_key = [&] {
    app.Await_Key();
    posted = Now_Ms();
    const QEvent::Type type = press_next ? QEvent::KeyPress : QEvent::KeyRelease;
    QCoreApplication::postEvent(
        &form, new QKeyEvent(type, Qt::Key_Shift, press_next ? Qt::ShiftModifier : Qt::NoModifier));
    press_next = !press_next;
    deadline.start(1000);
  };
  auto next = [&] {
    if (static_cast<int>(from_post.size()) + missed >= 2 * presses) {
      QCoreApplication::quit();
      return;
    }
    // Keys come at no fixed phase to the game's own ticks.
    QTimer::singleShot(std::uniform_int_distribution<int>(20, 60)(rng), Qt::PreciseTimer, &app,
                       post_key);
  };
  QObject::connect(&deadline, &QTimer::timeout, [&] {
    ++missed;
    next();
  });
  app.On_Frame = [&](double delivered, double frame_end) {
    deadline.stop();
    from_post.push_back(frame_end - posted);
    from_delivery.push_back(frame_end - delivered);
    next();
  };
  next();
  QApplication::exec();

  const Sample_Summary frame = Summarise(from_post);
  const Sample_Summary handled = Summarise(from_delivery);
  const Sample_Summary paint = Summarise(app.Paint_Times);
  std::printf("key to frame on the %s platform: %zu frames, %d keys without a frame\n",
              qPrintable(QGuiApplication::platformName()), frame.Count, missed);
  if (frame.Count == 0) return 1;
  Print_Figure("key to frame median", frame.Median, "ms");
  Print_Figure("key to frame p99", frame.P99, "ms");
  Print_Figure("key to frame max", frame.Max, "ms");
  Print_Figure("key handled to frame median", handled.Median, "ms");
  Print_Figure("paint event of the button median", paint.Median, "ms");
  Print_Figure("paint event of the button p99", paint.P99, "ms");
  return missed == 0 ? 0 : 1;
}
