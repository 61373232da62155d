// The handheld itself: the hidden dungeon, every game variable, the rules and the timed
// sequences. It draws only through the LCD surface, sounds only through the sound output, and
// is driven only by its timers and the player's actions; it reads no clock.
#pragma once

#include "game/interval_timer.h"
#include "game/key_bindings.h"
#include "game/random_source.h"
#include "game/sound_output.h"
#include "lcd/lcd_surface.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Cell codes of the grid.
enum Cell_Code : std::int32_t {
  Cell_Empty = 0,
  Cell_Warrior = 1,
  Cell_Pit = 2,
  Cell_Bat = 3,
  Cell_Hook = 4,
  Cell_Arrow = 5,
  Cell_Dragon = 6,
  Cell_Warrior_In_Pit = 7,
};

enum Game_Mode_Value : std::int32_t {
  Mode_Reset = 0,
  Mode_Demo = 1,
  Mode_Select_Level_1 = 2,
  Mode_Select_Level_2 = 3,
  Mode_Select_Level_3 = 4,
  Mode_Level_1 = 5,
  Mode_Level_2 = 6,
  Mode_Level_3 = 7,
  Mode_Game_Over = 8,
};

// The three level choices and the three games lie in the same order: level 1..3 of each.
constexpr std::int32_t Selected_Level(std::int32_t select_mode) {
  return select_mode - Mode_Select_Level_1 + 1;
}
constexpr std::int32_t Played_Level(std::int32_t playing_mode) {
  return playing_mode - Mode_Level_1 + 1;
}
constexpr Game_Mode_Value Playing_Mode(std::int32_t level) {
  return static_cast<Game_Mode_Value>(Mode_Level_1 + level - 1);
}

// The beat of the handheld's moving figures: a step of the warrior, of the bat carrying him and
// of the flying arrow.
inline constexpr int Step_Interval_Ms = 315;

struct Cell_Position {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const Cell_Position&, const Cell_Position&) = default;
};

inline constexpr int Dungeon_Size = 10;
inline constexpr int Pit_Count = 12;
inline constexpr int Bat_Count = 4;

// One step from (x, y) in a direction, wrapping round the torus.
Cell_Position Step_From(Cell_Position from, Direction direction);
// The four wrap-around neighbours: left, right, up, down.
std::array<Cell_Position, 4> Neighbours(Cell_Position cell);

struct Flight_Frame;

class Game_Core {
public:
  Game_Core(Lcd_Surface& surface, Sound_Output& sound, Timer_Backend& timers,
            Random_Source& random);
  Game_Core(const Game_Core&) = delete;
  Game_Core& operator=(const Game_Core&) = delete;

  // ---- State (all of it; rules and sequences read and write it directly) ----

  // 12 x 12 with a zero border; playing cell (X, Y) is Grid[X + 1][Y + 1].
  std::array<std::array<std::int32_t, 12>, 12> Grid{};
  std::int32_t& Cell(int x, int y) { return Grid[Index(x)][Index(y)]; }
  std::int32_t Cell(int x, int y) const { return Grid[Index(x)][Index(y)]; }
  std::int32_t& Cell(Cell_Position p) { return Cell(p.X, p.Y); }

  std::int32_t Warrior_X = 0;
  std::int32_t Warrior_Y = 0;
  std::array<Cell_Position, Bat_Count + 1> Bat_Position{}; // [1..4]
  Direction Cursor_Direction = No_Direction;
  bool Has_Arrow = false;
  bool Has_Hook = false;

  Game_Mode_Value Game_Mode = Mode_Reset;
  std::int32_t Win_Level = 0;
  std::int32_t Score = 0;
  std::int32_t Score_Tick = 0;

  bool Input_Enabled = false;
  bool Cursor_Held = false;
  bool Attack_Held = false;
  bool Move_Held = false;
  bool Close_To_Arrow = false;
  bool Close_To_Bat = false;
  bool Close_To_Dragon = false;
  bool Close_To_Hook = false;
  bool Close_To_Pit = false;
  bool Bat_On_Warrior = false;
  bool Five_Seconds_Passed = false;
  bool Cheat_Shown = false;

  std::int32_t Demo_Step = 0;
  std::int32_t Game_Over_Step = 0;
  std::int32_t Found_Arrow_Hook_Step = 0;
  std::int32_t Found_Dragon_Step = 0;
  std::int32_t Move_to_Free_Step = 0;
  std::int32_t Move_To_Pit_Step = 0;
  std::int32_t Move_To_Hook_Step = 0;
  std::int32_t Move_To_Arrow_Step = 0;
  std::int32_t Move_To_Dragon_Step = 0;
  std::int32_t Move_To_Bat_Step = 0;
  std::int32_t Bat_Warrior_Move_Step = 0;
  std::int32_t Shoot_Arrow_Step = 0;

  Key_Binding_Table Key_Bindings = Default_Key_Bindings;

  // ---- The 18 timers, in the order Gam_Stop_All_Timers disables them ----
  Interval_Timer Timer_Bat_Moves;
  Interval_Timer Timer_Bat_Warrior_Move;
  Interval_Timer Timer_Blinking;
  Interval_Timer Timer_Demo_Mode;
  Interval_Timer Timer_Five_Seconds;
  Interval_Timer Timer_Found_Arrow_Hook;
  Interval_Timer Timer_Found_Dragon;
  Interval_Timer Timer_Game_Over_Lose;
  Interval_Timer Timer_Game_Over_Win;
  Interval_Timer Timer_Game_Start;
  Interval_Timer Timer_Move_To_Arrow;
  Interval_Timer Timer_Move_To_Bat;
  Interval_Timer Timer_Move_To_Dragon;
  Interval_Timer Timer_Move_to_Free;
  Interval_Timer Timer_Move_To_Hook;
  Interval_Timer Timer_Move_To_Pit;
  Interval_Timer Timer_Score;
  Interval_Timer Timer_Shoot_Arrow;
  std::array<Interval_Timer*, 18> All_Timers();

  // ---- Dungeon (dungeon.cpp) ----
  int Random(int n);
  // A cell drawn at random: X first, then Y.
  Cell_Position Random_Cell();
  void Setup_Dungeon();
  void Gam_Set_Item_Position(std::int32_t code);
  void Vid_Show_Cheat(bool show);

  // ---- Modes and game start (modes.cpp) ----
  // Every change of Game_Mode goes through here, so that the trace sees each one.
  void Set_Game_Mode(Game_Mode_Value mode);
  void Gam_Set_Mode();
  void Gam_Stop_All_Timers();
  void Timer_Game_StartTimer();
  void Timer_Demo_ModeTimer();

  // ---- Player controls (controls.cpp) ----
  void Inp_acl_press();
  void Inp_acl_release();
  void Inp_cursor_press();
  void Inp_cursor_release();
  void Inp_cursor_up_press();
  void Inp_cursor_right_press();
  void Inp_cursor_down_press();
  void Inp_cursor_left_press();
  void Inp_attack_press();
  void Inp_attack_release();
  void Inp_move_press();
  void Inp_move_release();
  // Key events as virtual-key codes; the window only translates its key events.
  void FormKeyDown(std::uint16_t key_code);
  void FormKeyUp(std::uint16_t key_code);

  // ---- Arrival in a cell (arrival.cpp) ----
  void Gam_Set_Warriors_Cell();
  void Gam_Check_Close_To_Arrow();
  void Gam_Check_Close_To_Bat();
  void Gam_Check_Close_To_Dragon();
  void Gam_Check_Close_To_Hook();
  void Gam_Check_Close_To_Pit();
  void Show_Maze_View();
  void Timer_BlinkingTimer();

  // ---- Score and game over (score.cpp) ----
  void Timer_ScoreTimer();
  void Timer_Game_Over_LoseTimer();
  void Timer_Game_Over_WinTimer();
  void Timer_Five_SecondsTimer();

  // ---- Moving the warrior (move_sequences.cpp) ----
  void Timer_Move_to_FreeTimer();
  void Timer_Move_To_PitTimer();
  void Timer_Move_To_HookTimer();
  void Timer_Move_To_ArrowTimer();
  void Timer_Move_To_DragonTimer();

  // ---- Bats (bats.cpp) ----
  void Timer_Bat_MovesTimer();
  void Timer_Bat_Warrior_MoveTimer();
  void Timer_Move_To_BatTimer();
  // Drops the carried warrior into a random cell and arms the sequence for what lies there;
  // returns that cell's code.
  std::int32_t Bat_Drop();

  // ---- Warnings (warnings.cpp) ----
  void Timer_Found_DragonTimer();
  void Timer_Found_Arrow_HookTimer();

  // ---- The shot (shot.cpp) ----
  void Timer_Shoot_ArrowTimer();

  // ---- Output ----
  void Snd_Play(Sound_Name sound);
  void Snd_Silence();
  Lcd_Surface& Surface;

  // One line per game event ("mode 5", "input Inp_move_press", "random 10 3", "sound Step"),
  // for the debugging trace; the window stamps the time. Unset while nobody listens; callers
  // test it first, so that no line is built for nobody.
  std::function<void(const std::string&)> Trace;

private:
  static std::size_t Index(int coordinate) { return static_cast<std::size_t>(coordinate + 1); }
  // Every timed sequence ticks the same way: perform the step the counter names, then advance
  // the counter, also when the step stopped the timer or set the counter itself.
  template <typename Step> static void Run_Step(std::int32_t& counter, Step&& step) {
    step(counter);
    ++counter;
  }
  static void Arm(Interval_Timer& timer, std::int32_t& counter, std::int32_t first_step,
                  int interval_ms);
  // Arms the move sequence (or the bat sequence) that plays for a cell code.
  void Arm_Sequence_For(std::int32_t cell_code, std::int32_t first_step, int interval_ms);
  void Arm_Game_Over_Lose(int interval_ms);

  // A press of cursor, attack or move acts only when its button was up.
  static bool Latch(bool& held);
  void Point_Cursor(Direction direction);
  void Show_Panel(Element_Id left, Element_Id right);
  void Show_Carried_Items();
  void Swap(Element_Id off, Element_Id on);
  void Cheat_Off();

  void Check_Close_To(std::int32_t code, bool& flag, Element_Id indicator);
  // The warrior stands still again after a warning: maze view, blinking, input and score.
  void Resume_After_Warning();

  // The two walking frames that open every move sequence; the second may set a slower pace.
  void Walking_Frame(std::int32_t step, Interval_Timer& timer, int frame_2_interval_ms);
  void Move_To_Item_Step(std::int32_t step, Interval_Timer& timer, bool& carried, Element_Id icon);
  void Play_Flight_Frame(const Flight_Frame& frame);

  Sound_Output& Sound;
  Random_Source& Random_Generator;
};
