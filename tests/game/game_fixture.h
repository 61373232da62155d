// The harness of the game tests: a virtual clock, a recording sound output, a scripted random
// source and questions a player would ask of the LCD.
#pragma once

#include "game/unit1.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
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
    Draws.emplace_back(n, result);
    return result;
  }
  void Then(std::initializer_list<int> values) { Script.insert(Script.end(), values); }

  std::deque<int> Script;
  std::vector<std::pair<int, int>> Draws;

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

class Game_Fixture : public ::testing::Test {
protected:
  Virtual_Clock Clock;
  Lcd_Surface Surface;
  Recording_Sound Sound{Clock};
  Scripted_Random Rng;
  Game_Core Game{Surface, Sound, Clock, Rng};

  // Names of the lit segments, in stacking order.
  std::vector<std::string> Lit() const {
    std::vector<std::string> names;
    for (int i = 0; i < Element_Count; ++i) {
      const auto id = static_cast<Element_Id>(i);
      if (Surface.Shown(id) &&
          std::find(Lcd_Segments().begin(), Lcd_Segments().end(), id) != Lcd_Segments().end())
        names.emplace_back(Element_Name(id));
    }
    return names;
  }
  bool Is_Lit(Element_Id id) const { return Surface.Shown(id); }
  // What the number panel reads, e.g. "A0"; blank positions read as spaces.
  std::string Panel() const { return Surface.Panel_Text().toStdString(); }

  // Counts the cells holding a code.
  int Count(std::int32_t code) const {
    int n = 0;
    for (int x = 0; x < Dungeon_Size; ++x)
      for (int y = 0; y < Dungeon_Size; ++y)
        if (Game.Cell(x, y) == code) ++n;
    return n;
  }
  // Clears the playing cells, for tests that lay out their own dungeon.
  void Clear_Grid() {
    for (auto& column : Game.Grid)
      column.fill(Cell_Empty);
  }
};
