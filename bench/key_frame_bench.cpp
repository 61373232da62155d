// Key press and game controller press to repainted frame in the real main window on the real
// platform (xcb under Xvfb by default). A game is started and waits for the player; then the
// cursor key is pressed and let go again and again, and each time the clock runs from the key
// event's posting until the end of the event-loop pass that painted the button's changed picture
// (the paint and the flush of the window's backing store to the X server). Then the same with
// the West button of a virtual game controller: the clock runs from the change of the pad's
// state, and the controllers are woken through the socket notifier of the pad's device file, a
// named pipe standing in for the kernel's event file of a real pad. Last, the program's CPU
// while the game waits with the pad plugged in.
//
// Usage: key_frame_bench [presses] [seconds]
//   presses: default 200; each gives a press and a release sample, for keys and for the pad
//   seconds: how long the CPU is measured while the game waits (default 10)
#include "bench_stats.h"
#include "display/main_window.h"
#include "input/virtual_pad.h"

#include <ctime>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
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

  // The input counts as delivered when `receiver` takes an event of one of the two types.
  void Await_Input(QObject* receiver, QEvent::Type type, QEvent::Type other_type) {
    Input_Receiver = receiver;
    Input_Types = {type, other_type};
    Awaiting_Key = true;
    Awaiting_Paint = Painted = false;
  }

  bool notify(QObject* receiver, QEvent* event) override {
    const double start = Now_Ms();
    const QEvent::Type type = event->type();
    bool paint_of_target = false;
    // A socket notifier of the receiver's stands for the receiver.
    if (Awaiting_Key && (receiver == Input_Receiver || receiver->parent() == Input_Receiver) &&
        (type == Input_Types[0] || type == Input_Types[1])) {
      Awaiting_Key = false;
      Awaiting_Paint = true;
      Delivered = start;
    } else if (receiver == Form && Awaiting_Paint && type == QEvent::Paint &&
               static_cast<QPaintEvent*>(event)->region().intersects(Target)) {
      paint_of_target = true;
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
  QObject* Input_Receiver = nullptr;
  std::array<QEvent::Type, 2> Input_Types{};
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

struct Frame_Samples {
  std::vector<double> From_Post;     // from the input's posting to the end of its frame
  std::vector<double> From_Delivery; // from the input's delivery to the end of its frame
  int Missed = 0;                    // inputs without a frame within a second
};

// Sends `presses` presses and as many releases, at random gaps; `send` posts one (a press when
// its argument is true) and names, through app.Await_Input, the event that delivers it.
Frame_Samples Measure(Watching_Application& app, int presses,
                      const std::function<void(bool press)>& send) {
  Frame_Samples samples;
  std::mt19937 rng(11);
  double posted = 0;
  bool press_next = true;
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  const std::function<void()> post = [&] {
    posted = Now_Ms();
    send(press_next);
    press_next = !press_next;
    deadline.start(1000);
  };
  const auto next = [&] {
    if (static_cast<int>(samples.From_Post.size()) + samples.Missed >= 2 * presses) {
      loop.quit();
      return;
    }
    // Inputs come at no fixed phase to the game's own ticks.
    QTimer::singleShot(std::uniform_int_distribution<int>(20, 60)(rng), Qt::PreciseTimer, &loop,
                       post);
  };
  QObject::connect(&deadline, &QTimer::timeout, [&] {
    ++samples.Missed;
    next();
  });
  app.On_Frame = [&](double delivered, double frame_end) {
    deadline.stop();
    samples.From_Post.push_back(frame_end - posted);
    samples.From_Delivery.push_back(frame_end - delivered);
    next();
  };
  next();
  loop.exec();
  app.On_Frame = nullptr;
  return samples;
}

bool Print_Frames(const char* input, const Frame_Samples& samples) {
  const Sample_Summary frame = Summarise(samples.From_Post);
  const Sample_Summary handled = Summarise(samples.From_Delivery);
  std::printf("%s to frame on the %s platform: %zu frames, %d inputs without a frame\n", input,
              qPrintable(QGuiApplication::platformName()), frame.Count, samples.Missed);
  if (frame.Count == 0) return false;
  const std::string name = input;
  Print_Figure(name + " to frame median", frame.Median, "ms");
  Print_Figure(name + " to frame p99", frame.P99, "ms");
  Print_Figure(name + " to frame max", frame.Max, "ms");
  Print_Figure(name + " handled to frame median", handled.Median, "ms");
  return samples.Missed == 0;
}

// The process's CPU time, all threads, as the scheduler counts it (not sampled at ticks).
double Process_Cpu_Seconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
  const int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  const int cpu_seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  if (presses <= 0 || cpu_seconds <= 0) {
    std::fprintf(stderr, "usage: key_frame_bench [presses > 0] [seconds > 0]\n");
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
  const Reporter report = [&failed](const QString& text) {
    std::fprintf(stderr, "the program reported: %s\n", qPrintable(text));
    failed = true;
  };
  environment.Request_End = [&failed] { failed = true; };
  Handheld handheld(report);
  TForm1 form(handheld, environment, report);
  if (failed) return 1;
  form.Centre();
  if (!Run_Until([&form] { return form.windowHandle() && form.windowHandle()->isExposed(); },
                 5000)) {
    std::fprintf(stderr, "the main window was never shown\n");
    return 1;
  }

  // Into level 1, where the warrior waits for the player.
  Game_Core& game = handheld.Game();
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
  app.Target = handheld.Surface()[btn_cursor_down].Rect;

  // The cursor key (Shift).
  const Frame_Samples keys = Measure(app, presses, [&](bool press) {
    app.Await_Input(&form, QEvent::KeyPress, QEvent::KeyRelease);
    QCoreApplication::postEvent(&form, new QKeyEvent(press ? QEvent::KeyPress : QEvent::KeyRelease,
                                                     Qt::Key_Shift,
                                                     press ? Qt::ShiftModifier : Qt::NoModifier));
  });
  bool met = Print_Frames("key", keys);
  const Sample_Summary paint = Summarise(app.Paint_Times);
  Print_Figure("paint event of the button median", paint.Median, "ms");
  Print_Figure("paint event of the button p99", paint.P99, "ms");

  // West, the cursor button of a game controller, which counts only while the window is active.
  Game_Controllers& pads = handheld.Controllers();
  pads.Start(); // as the handheld's first frame does
  Pad_Device_File pad_file(pads);
  SDL_Joystick* pad = Plug_Virtual_Pad(pads);
  form.activateWindow();
  if (!pad || !Run_Until([&form] { return form.isActiveWindow(); }, 5000)) {
    std::fprintf(stderr, "no pad (%s) or the window is not active\n", SDL_GetError());
    return 1;
  }
  const Frame_Samples pad_presses = Measure(app, presses, [&](bool press) {
    app.Await_Input(&pads, QEvent::SockAct, QEvent::SockAct);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, press ? 1 : 0);
    pad_file.Stir();
  });
  met = Print_Frames("pad", pad_presses) && met;

  // The game waits for the player with the pad plugged in.
  const double cpu_before = Process_Cpu_Seconds();
  QElapsedTimer waited;
  waited.start();
  QTimer::singleShot(cpu_seconds * 1000, Qt::PreciseTimer, &app, [] { QCoreApplication::quit(); });
  QApplication::exec();
  const double cpu =
      (Process_Cpu_Seconds() - cpu_before) / (static_cast<double>(waited.elapsed()) / 1000);
  if (!game.Input_Enabled) std::printf("the game stopped waiting during the CPU measurement\n");
  Print_Figure("CPU while a game waits, pad plugged in", cpu * 100, "%");
  return met ? 0 : 1;
}
