// How late the handheld's timers tick on Qt's real event loop. The real game runs on the real
// Qt timer backend while a scripted player goes through the demo, level selection, moves,
// cursor turns, shots and game over; every tick is compared with the schedule the game asked
// for (the start of the period plus k intervals). The handheld's glass is drawn beside it in a
// window, as the main window draws it: the skin, the LCD's response and its 30 Hz frames.
//
// Usage: timer_lateness_bench [seconds]   (default 90)
#include "bench_stats.h"
#include "display/frame_clock.h"
#include "display/gfxinit.h"
#include "display/lcd_painter.h"
#include "display/lcd_response.h"
#include "game/unit1.h"
#include "handheld/qt_timer_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <array>
#include <map>
#include <random>

namespace {

QElapsedTimer Clock;

double Now_Ms() {
  return static_cast<double>(Clock.nsecsElapsed()) / 1e6;
}

// The intervals the game uses, grouped by what they pace.
struct Interval_Class {
  const char* Label;
  int Low;
  int High;
  std::vector<double> Lateness;
};

// The real backend, watched: each period started is remembered with its start and interval,
// and each tick is measured against it before the game sees it.
class Recording_Timer_Backend : public Qt_Timer_Backend {
public:
  std::array<Interval_Class, 4> Classes{{{"1 ms", 1, 1, {}},
                                         {"60-470 ms", 60, 470, {}},
                                         {"500-870 ms", 500, 870, {}},
                                         {"1000-5000 ms", 1000, 5000, {}}}};
  std::vector<double> All;
  double Worst = 0;
  int Worst_Interval = 0;

  void Start(Interval_Timer& timer, int interval_ms) override {
    Qt_Timer_Backend::Start(timer, interval_ms);
    Periods[&timer] = Period{Now_Ms(), interval_ms, 0};
  }

  void Stop(Interval_Timer& timer) override {
    Periods.erase(&timer);
    Qt_Timer_Backend::Stop(timer);
  }

protected:
  void Tick(Interval_Timer& timer, qint64 due_ns) override {
    const double now = Now_Ms();
    if (auto it = Periods.find(&timer); it != Periods.end()) {
      Period& p = it->second;
      ++p.Ticks;
      const double late = now - (p.Start + p.Ticks * p.Interval);
      All.push_back(late);
      if (late > Worst) {
        Worst = late;
        Worst_Interval = p.Interval;
      }
      for (Interval_Class& c : Classes)
        if (p.Interval >= c.Low && p.Interval <= c.High) c.Lateness.push_back(late);
    }
    Qt_Timer_Backend::Tick(timer, due_ns);
  }

private:
  struct Period {
    double Start;
    int Interval;
    long long Ticks;
  };
  std::map<const Interval_Timer*, Period> Periods;
};

// The glass as the main window draws it, with the LCD's response on: changes of the surface are
// drawn in the next pass of the loop, and the ink on its way in frames that give way to ticks.
class Glass_Window : public QWidget {
public:
  Glass_Window(Lcd_Surface& surface, const Qt_Timer_Backend& timers)
      : LCD(surface),
        Frames([&timers] { return timers.Ms_To_Next_Tick(); }, [this] { Draw(QRegion()); }) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    Skin_Environment environment;
    environment.Exe_Dir = qEnvironmentVariable("GRATHMOOR_GAME_DIR");
    const Skin_Window window = gfxinit(LCD, Skin_Window(), environment, {}).Window;
    LCD.Measure_Text = [](Element_Id id, const QString& text) {
      return Lcd_Painter::Text_Size(id, text);
    };
    Painter.Reset(window.Client_Size.expandedTo(QSize(1, 1)), window.Colour, LCD);
    Response.Settle(LCD);
    LCD.Take_Dirty();
    LCD.On_Dirty = [this] {
      if (std::exchange(Pending, true)) return;
      QMetaObject::invokeMethod(
          this,
          [this] {
            Pending = false;
            Draw(LCD.Take_Dirty());
          },
          Qt::QueuedConnection);
    };
    setFixedSize(Painter.Frame().size());
    show();
  }

private:
  void Draw(QRegion region) {
    const double now = Now_Ms();
    region += Response.Follow(LCD, now);
    const QRegion changing = Response.Changing(now);
    region += std::exchange(Still_Changing, changing) | changing;
    Frames.Run(!changing.isEmpty());
    if (region.isEmpty()) return;
    Painter.Compose(region, LCD, &Response, now);
    update(region);
  }
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    for (const QRect& r : event->region())
      painter.drawImage(r, Painter.Frame(), r);
  }

  Lcd_Surface& LCD;
  Lcd_Painter Painter;
  Lcd_Response Response{true};
  QRegion Still_Changing;
  bool Pending = false;
  Frame_Clock Frames;
};

class Silent_Sound : public Sound_Output {
public:
  void Snd_Play(Sound_Name) override {}
  void Snd_Silence() override {}
};

// A player who watches the demo, picks each level in turn, walks, turns and shoots at random
// once the warrior has waited a moment, and after a game over either starts again at once or holds
// the attack button until the demo returns.
class Scripted_Player {
public:
  // The first demo is watched for a whole cycle, unless the run is too short for that.
  Scripted_Player(Game_Core& game, int run_seconds)
      : Game(game), First_Demo_Ms(std::min(15000, run_seconds * 250)) {}

  int Games = 0;
  int Moves = 0;
  int Shots = 0;
  std::string Modes; // every mode the game went through, in order

  void Poll() {
    const double now = Now_Ms();
    if (Game.Game_Mode != Last_Mode) {
      if (Game.Game_Mode == Mode_Demo) Demo_Until = now + (Games == 0 ? First_Demo_Ms : 3000);
      Last_Mode = Game.Game_Mode;
      Modes += " " + std::to_string(Last_Mode);
    }
    if (Release) {
      if (now < Release_At) return;
      (Game.*Release)();
      Release = nullptr;
    }
    if (now < Next_Action_At) return;

    switch (Game.Game_Mode) {
    case Mode_Reset:
      Game.Set_Game_Mode(Mode_Demo);
      Game.Gam_Set_Mode();
      break;
    case Mode_Demo:
      if (now >= Demo_Until)
        Press(&Game_Core::Inp_attack_press, &Game_Core::Inp_attack_release, 80);
      break;
    case Mode_Select_Level_1:
    case Mode_Select_Level_2:
    case Mode_Select_Level_3:
      // Level 3 first: without the hook a pit ends the game, so game overs come early.
      if (Game.Game_Mode - Mode_Select_Level_1 != (Games + 2) % 3)
        Press(&Game_Core::Inp_move_press, &Game_Core::Inp_move_release, 80);
      else
        Press(&Game_Core::Inp_attack_press, &Game_Core::Inp_attack_release, 80);
      Next_Action_At = now + 400;
      break;
    case Mode_Level_1:
    case Mode_Level_2:
    case Mode_Level_3: {
      // A player looks at the screen a while before each action.
      if (!Game.Input_Enabled) {
        Waiting_Since = -1;
        break;
      }
      if (Waiting_Since < 0) {
        Waiting_Since = now;
        Pause_Ms = std::uniform_int_distribution<int>(500, 1500)(Rng);
      }
      if (now < Waiting_Since + Pause_Ms) break;
      Waiting_Since = -1;
      const int choice = std::uniform_int_distribution<int>(0, 9)(Rng);
      // From his second move on the player heads for the arrow and shoots it once he has it,
      // then heads for the nearest bat, to be carried off, stepping round pits; from his
      // twelfth move he walks into any pit beside him, so that each game ends within the run.
      int target = Moves_This_Game >= 12 ? Direction_Of(Cell_Pit) : 0;
      if (target == 0 && Moves_This_Game >= 2 && !Game.Has_Arrow)
        target = Towards_Nearest(Cell_Arrow);
      if (target == 0 && Moves_This_Game >= 2) target = Towards_Nearest(Cell_Bat);
      if (Game.Has_Arrow) {
        ++Shots;
        Press(&Game_Core::Inp_attack_press, &Game_Core::Inp_attack_release, 80);
      } else if (target != 0 && target != Game.Cursor_Direction) {
        Press(Aim_Actions[static_cast<std::size_t>(target)], &Game_Core::Inp_cursor_release, 80);
      } else if (target != 0) {
        ++Moves;
        ++Moves_This_Game;
        Press(&Game_Core::Inp_move_press, &Game_Core::Inp_move_release, 80);
      } else if (choice < 4) {
        Press(&Game_Core::Inp_cursor_press, &Game_Core::Inp_cursor_release, 80);
      } else {
        ++Moves;
        ++Moves_This_Game;
        Press(&Game_Core::Inp_move_press, &Game_Core::Inp_move_release, 80);
      }
      break;
    }
    case Mode_Game_Over:
      ++Games;
      Moves_This_Game = 0;
      // Every other time the button is held past five seconds, which returns to the demo.
      Press(&Game_Core::Inp_attack_press, &Game_Core::Inp_attack_release, Games % 2 ? 5600 : 100);
      Next_Action_At = now + 1500;
      break;
    default: break;
    }
  }

private:
  using Action = void (Game_Core::*)();
  static constexpr std::array<Action, 5> Aim_Actions = {
      nullptr, &Game_Core::Inp_cursor_up_press, &Game_Core::Inp_cursor_right_press,
      &Game_Core::Inp_cursor_down_press, &Game_Core::Inp_cursor_left_press};

  static int Torus_Distance(Cell_Position a, Cell_Position b) {
    auto axis = [](int from, int to) {
      const int d = (to - from + Dungeon_Size) % Dungeon_Size;
      return std::min(d, Dungeon_Size - d);
    };
    return axis(a.X, b.X) + axis(a.Y, b.Y);
  }

  // The direction (1..4) of the step that brings the warrior nearest to a cell holding `code`,
  // or 0 when there is none.
  int Towards_Nearest(std::int32_t code) const {
    const Cell_Position warrior{Game.Warrior_X, Game.Warrior_Y};
    int best = 0;
    int best_distance = 1000;
    for (int x = 0; x < Dungeon_Size; ++x)
      for (int y = 0; y < Dungeon_Size; ++y) {
        if (Game.Cell(x, y) != code) continue;
        for (Direction d : Directions) {
          if (Game.Cell(Step_From(warrior, d)) == Cell_Pit) continue; // he steps round pits
          const int distance = Torus_Distance(Step_From(warrior, d), {x, y});
          if (distance < best_distance) {
            best_distance = distance;
            best = d;
          }
        }
      }
    return best;
  }

  // The direction (1..4) of a neighbouring cell holding `code`, or 0.
  int Direction_Of(std::int32_t code) const {
    for (Direction d : Directions)
      if (Game.Cell(Step_From({Game.Warrior_X, Game.Warrior_Y}, d)) == code) return d;
    return 0;
  }

  void Press(Action press, Action release, int hold_ms) {
    (Game.*press)();
    Release = release;
    Release_At = Now_Ms() + hold_ms;
  }

  Game_Core& Game;
  int First_Demo_Ms;
  std::mt19937 Rng{20240501};
  std::int32_t Last_Mode = -1;
  double Demo_Until = 0;
  double Next_Action_At = 0;
  double Waiting_Since = -1;
  int Pause_Ms = 0;
  int Moves_This_Game = 0;
  Action Release = nullptr;
  double Release_At = 0;
};

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 90;
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: timer_lateness_bench [seconds > 0]\n");
    return 2;
  }

  Clock.start();
  Recording_Timer_Backend timers;
  Lcd_Surface surface;
  Silent_Sound sound;
  Seeded_Random random(7);
  Game_Core game(surface, sound, timers, random);
  const Glass_Window glass(surface, timers);
  Scripted_Player player(game, seconds);
  // The game's own trace, as the program writes it, to see what the scripted player did.
  if (qEnvironmentVariable("GRATHMOOR_TRACE") == QLatin1String("1"))
    game.Trace = [](const std::string& line) {
      std::fprintf(stderr, "%.0f %s\n", Now_Ms(), line.c_str());
    };

  QTimer poll;
  poll.setTimerType(Qt::PreciseTimer);
  QObject::connect(&poll, &QTimer::timeout, [&player] { player.Poll(); });
  poll.start(10);
  QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
  QApplication::exec();

  std::printf("timer lateness over %d s on the %s platform: %d games, %d moves, %d shots\n",
              seconds, qPrintable(QApplication::platformName()), player.Games, player.Moves,
              player.Shots);
  std::printf("modes gone through:%s\n", player.Modes.c_str());
  const Sample_Summary all = Summarise(timers.All);
  if (all.Count == 0) {
    std::fprintf(stderr, "no timer ticked: the scripted game did not run\n");
    return 1;
  }
  std::printf("timer ticks measured: %zu\n", all.Count);
  Print_Figure("timer lateness mean", all.Mean, "ms");
  Print_Figure("timer lateness p99", all.P99, "ms");
  Print_Figure("timer lateness max", all.Max, "ms");
  std::printf("worst tick came at an interval of %d ms\n", timers.Worst_Interval);
  for (const Interval_Class& c : timers.Classes) {
    const Sample_Summary s = Summarise(c.Lateness);
    if (s.Count == 0) {
      std::printf("timer lateness %s: no ticks in this run\n", c.Label);
      continue;
    }
    std::printf("timer ticks %s: %zu\n", c.Label, s.Count);
    Print_Figure(std::string("timer lateness ") + c.Label + " mean", s.Mean, "ms");
    Print_Figure(std::string("timer lateness ") + c.Label + " p99", s.P99, "ms");
  }
  return 0;
}
