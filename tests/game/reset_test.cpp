// A reset at any step of any sequence stops it: no later step runs and nothing is handed over.
#include "game_fixture.h"

#include <functional>
#include <memory>

namespace {

struct Scenario {
  std::string Name;
  std::function<void(Handheld&)> Begin; // leaves a sequence running
};

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = {
      {"demo", [](Handheld& h) { h.Tap(Key::Reset); }},
      {"game start",
       [](Handheld& h) {
         h.Tap(Key::Reset);
         h.Tap(Key::Attack);
         h.Tap(Key::Attack);
       }},
      {"walk", [](Handheld& h) { h.Walk_Up_Into('.', Mode_Level_3); }},
      {"hook", [](Handheld& h) { h.Walk_Up_Into('H', Mode_Level_2); }},
      {"arrow", [](Handheld& h) { h.Walk_Up_Into('A', Mode_Level_3); }},
      {"pit with hook", [](Handheld& h) { h.Walk_Up_Into('P', Mode_Level_1, true); }},
      {"pit", [](Handheld& h) { h.Walk_Up_Into('P', Mode_Level_3); }},
      {"dragon", [](Handheld& h) { h.Walk_Up_Into('D', Mode_Level_3); }},
      {"bat, dropped onto a bat",
       [](Handheld& h) {
         h.Rng.Then({2, 2, 6, 4, 3, 3, 1, 1});
         h.Walk_Up_Into('B', Mode_Level_3);
       }},
      {"carried off onto a bat",
       [](Handheld& h) {
         h.Start(Mode_Level_3, {"WB", "", "", "", ".....BBB", "", "", "", "........D"});
         h.Rng.Then({0, 3, 4, 4, 4, 2, 2, 6, 4, 3, 3, 1, 1});
         h.Advance_To(5000);
       }},
      {"bat turn",
       [](Handheld& h) {
         h.Start(Mode_Level_3, {"W.B", "P", "", "", ".....BBB", "", "", "", "........D"});
         h.Rng.Then({0, 3, 4, 4, 4});
         h.Advance_To(5000);
       }},
      {"warnings",
       [](Handheld& h) {
         h.Start(Mode_Level_2, {"WH", "D", "", "", "", "BBBB"});
       }},
      {"hit",
       [](Handheld& h) {
         h.Shoot(Mode_Level_2, {"W........D", "", "", "", "", "BBBB"}, 4);
       }},
      {"miss",
       [](Handheld& h) {
         h.Rng.Then({6, 6, 7, 3});
         h.Shoot(Mode_Level_2, {"W.D", "", "", "", "", "BBBB"}, 2);
       }},
      {"time-out",
       [](Handheld& h) {
         h.Start_Quiet();
         h.Game.Score = 98;
         h.Game.Score_Tick = 50;
       }},
  };
  return scenarios;
}

// Ticks until play is back with the player, nothing runs any more, or 40 ticks have passed
// (the demo and the win display run for ever).
int Ticks_Of(const Scenario& scenario) {
  Handheld h;
  scenario.Begin(h);
  int ticks = 0;
  while (ticks < 40 && h.Tick()) {
    ++ticks;
    if (h.Is_Playing() && h.Game.Input_Enabled) break;
  }
  return ticks;
}

TEST(Reset, AtAnyStepOfAnySequenceStopsIt) {
  for (const Scenario& scenario : Scenarios()) {
    const int ticks = Ticks_Of(scenario);
    EXPECT_GT(ticks, 0) << scenario.Name;
    for (int k = 0; k <= ticks; ++k) {
      SCOPED_TRACE(scenario.Name + ", reset after tick " + std::to_string(k));
      auto h = std::make_unique<Handheld>();
      scenario.Begin(*h);
      for (int i = 0; i < k; ++i)
        h->Tick();
      const auto grid = h->Game.Grid;
      const Cell_Position warrior{h->Game.Warrior_X, h->Game.Warrior_Y};
      const std::size_t sounds = h->Sound.Played.size();

      h->Press(Key::Reset);
      h->Advance(60000);
      EXPECT_EQ(h->Game.Game_Mode, Mode_Reset);
      EXPECT_EQ(h->Clock.Next_Due(), -1);
      EXPECT_EQ(h->Lit_Text(), "");
      EXPECT_EQ(h->Panel(), "  ");
      EXPECT_FALSE(h->Game.Input_Enabled);
      EXPECT_EQ(h->Sound.Played.size(), sounds);
      EXPECT_EQ(h->Game.Grid, grid);
      EXPECT_EQ((Cell_Position{h->Game.Warrior_X, h->Game.Warrior_Y}), warrior);
    }
  }
}

} // namespace
