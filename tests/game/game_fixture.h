// The harness of the game tests: a virtual clock, a recording sound output, a scripted random
// source and questions a player would ask of the LCD.
#pragma once

#include "game/unit1.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct Played_Sound {
  std::int64_t Time;
  Sound_Name Sound;
  friend bool operator==(const Played_Sound&, const Played_Sound&) = default;
};

class Recording_Sound : public Sound_Output {
public:
  explicit Recording_Sound(const Virtual_Clock& clock) : Clock(clock) {}
  void Snd_Play(Sound_Name sound) override { Played.push_back({Clock.Now(), sound}); }
  void Snd_Silence() override { Silences.push_back(Clock.Now()); }

  std::vector<Played_Sound> Played;
  std::vector<std::int64_t> Silences;

private:
  const Virtual_Clock& Clock;
};

// Answers Random(n) from a script while it lasts, then from a seeded generator. A scripted value
// out of range fails the test.
class Scripted_Random : public Random_Source {
public:
  explicit Scripted_Random(std::uint32_t seed = 1) : Fallback(seed) {}
  int Random(int n) override {
    int result;
    if (!Script.empty()) {
      result = Script.front();
      Script.pop_front();
      EXPECT_TRUE(result >= 0 && result < n) << "scripted " << result << " for Random(" << n << ")";
    } else {
      result = Fallback.Random(n);
    }
    if (Keep_Draws) Draws.emplace_back(n, result);
    return result;
  }
  void Then(std::initializer_list<int> values) { Script.insert(Script.end(), values); }

  std::deque<int> Script;
  std::vector<std::pair<int, int>> Draws;
  bool Keep_Draws = true;

private:
  Seeded_Random Fallback;
};

// The elements a player reads as LCD segments.
inline const std::vector<Element_Id>& Lcd_Segments() {
  static const std::vector<Element_Id> segments = [] {
    std::vector<Element_Id> s(Bat_Images.begin(), Bat_Images.end());
    s.insert(s.end(), Warrior_Images.begin(), Warrior_Images.end());
    s.insert(s.end(), Arrow_Images.begin(), Arrow_Images.end());
    s.insert(s.end(), {im_cursor_up, im_cursor_right, im_cursor_down, im_cursor_left, im_pit,
                       im_maze, im_hook, im_icon_arrow, im_icon_hook, im_dragon});
    return s;
  }();
  return segments;
}

// The default keys: the 5 key, Shift, Ctrl and Alt.
namespace Key {
inline constexpr std::uint16_t Reset = 0x35, Cursor = 0x10, Attack = 0x11, Move = 0x12;
} // namespace Key

// One handheld on a virtual clock. Time only passes through Advance and Run_Until_Input, which
// fire the due ticks one at a time and check the dungeon's invariants after each of them.
struct Handheld {
  Virtual_Clock Clock;
  Lcd_Surface Surface;
  Recording_Sound Sound{Clock};
  Scripted_Random Rng;
  Game_Core Game{Surface, Sound, Clock, Rng};
  // Set once a dungeon exists (laid out by the test or set up by a game start).
  bool Dungeon_Ready = false;
  // Called after every tick the harness fires.
  std::function<void()> After_Tick;

  // Names of the lit segments, in stacking order.
  std::vector<std::string> Lit() const;
  // The same, joined by spaces, for compact comparisons.
  std::string Lit_Text() const;
  bool Is_Lit(Element_Id id) const { return Surface.Shown(id); }
  // What the number panel reads, e.g. "A0"; blank positions read as spaces.
  std::string Panel() const { return Surface.Panel_Text().toStdString(); }
  // The sounds played from `from` on, with their times relative to it: "Step@0 Step@315".
  std::string Sounds(std::int64_t from = 0) const;

  // Counts the cells holding a code.
  int Count(std::int32_t code) const;
  // Clears the playing cells, for tests that lay out their own dungeon.
  void Clear_Grid();

  // Lays out a game in progress as the game start leaves it before the arrival: one string per
  // row Y (missing rows and columns are empty) with . empty, W warrior, X warrior in a pit,
  // P pit, B bat (exactly four, numbered in reading order), H hook, A arrow, D dragon (exactly
  // one). The LCD is blank but for the hook icon on level 1; the cursor points up.
  void Lay_Out(Game_Mode_Value mode, const std::vector<std::string>& rows);
  // Lays out and lets the warrior arrive in his cell, as a game start does.
  void Start(Game_Mode_Value mode, const std::vector<std::string>& rows);
  // A dungeon where nothing happens by itself: the warrior at (0, 0) with nothing near, the
  // four bats fenced in by pits at (4..5, 4..5), the dragon at (8, 8).
  void Start_Quiet(Game_Mode_Value mode = Mode_Level_3);
  void Carry(bool hook, bool arrow);
  bool Is_Playing() const {
    return Game.Game_Mode >= Mode_Level_1 && Game.Game_Mode <= Mode_Level_3;
  }
  // The warrior at (0, 0) walks up into (0, 9), which holds `target`, once any warning about it
  // has played; nothing else lies next to (0, 9). Returns the time of the move.
  std::int64_t Walk_Up_Into(char target, Game_Mode_Value mode, bool hook = false,
                            bool arrow = false);
  // Lays out the game, waits out any warning, gives the warrior the arrow, points the cursor,
  // forgets the sounds so far and shoots. Returns the time of the shot.
  std::int64_t Shoot(Game_Mode_Value mode, const std::vector<std::string>& rows, int direction);

  void Press(std::uint16_t key);
  void Release(std::uint16_t key);
  void Tap(std::uint16_t key) {
    Press(key);
    Release(key);
  }
  // Points the cursor with an arrow key (1 up, 2 right, 3 down, 4 left) and lets go of it.
  void Aim(int direction);

  void Advance(std::int64_t ms) { Advance_To(Clock.Now() + ms); }
  void Advance_To(std::int64_t time_ms);
  // Runs until the warrior waits for input; false if that does not happen within `limit_ms`.
  bool Run_Until_Input(std::int64_t limit_ms = 60000);
  // Fires the next due tick, checking the invariants after it; false when no timer runs.
  bool Tick();
  // Checks what is lit at each time, measured from `from`: {{315, "im_warrior_2"}, ...}.
  void Expect_Lit(std::int64_t from, const std::vector<std::pair<std::int64_t, std::string>>& lit);

  // What is wrong with the dungeon, or "" when every invariant holds.
  std::string Broken_Invariant() const;
};

class Game_Fixture : public ::testing::Test, public Handheld {};
