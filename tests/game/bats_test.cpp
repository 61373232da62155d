#include "game_fixture.h"

namespace {

// Bats 1-3 sit at (5..7, 4), the dragon at (8, 8) unless the test puts it elsewhere.
class Bats : public Game_Fixture {
protected:
  Cell_Position Warrior() const { return {Game.Warrior_X, Game.Warrior_Y}; }
  Cell_Position Bat(int i) const { return Game.Bat_Position[static_cast<std::size_t>(i)]; }

  // Walks from (0, 0) into the fourth bat at (0, 9); by default the bat flies to (2, 3) and
  // drops the warrior into (5, 7), which holds `target`. Returns the time of the drop.
  std::int64_t Walk_Into_Bat(char target = '.', Game_Mode_Value mode = Mode_Level_3,
                             std::initializer_list<int> drop_draws = {2, 3, 5, 7}) {
    Start(mode, {"W", "", "", "", ".....BBB", "", "", std::string(5, '.') + target,
                 target == 'D' ? "" : "........D", "B"});
    Rng.Then(drop_draws);
    Tap(Key::Move);
    return 4130;
  }
  // A bat at (1, 0) flies onto the warrior at (0, 0) in the first bat turn (at 5000), then
  // flies to (2, 3) and drops him into (5, 7), unless told otherwise. Returns the time of the
  // drop.
  std::int64_t Carried_Off(std::initializer_list<int> drop_draws = {2, 3, 5, 7}) {
    Start(Mode_Level_3, {"WB", "", "", "", ".....BBB", "", "", "", "........D"});
    Rng.Then({0, 3, 4, 4, 4});
    Rng.Then(drop_draws);
    return 5000 + 4450;
  }
};

TEST_F(Bats, WalkingIntoABatCell) {
  const std::int64_t drop = Walk_Into_Bat();
  const std::vector<std::string> frames = {
      "im_warrior_2",          "im_warrior_3",          "im_bat_1 im_warrior_3",
      "im_bat_2 im_warrior_3", "im_bat_3 im_warrior_3", "im_bat_4 im_warrior_4",
      "im_bat_5 im_warrior_5", "im_bat_1 im_warrior_1", "im_bat_2 im_warrior_2",
      "im_bat_3 im_warrior_3", "im_bat_4 im_warrior_3", "im_bat_5 im_warrior_3"};
  for (int step = 1; step <= 12; ++step) {
    Advance_To(315 * step);
    EXPECT_EQ(Lit_Text(), frames[static_cast<std::size_t>(step - 1)]) << "step " << step;
  }
  Advance_To(drop);
  EXPECT_EQ(Lit_Text(), "im_bat_5 im_warrior_3");
  EXPECT_EQ(Warrior(), (Cell_Position{5, 7}));
  EXPECT_EQ(Game.Cell(0, 9), Cell_Empty);
  EXPECT_EQ(Bat(4), (Cell_Position{2, 3}));
  Advance_To(drop + 1);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_up");
  EXPECT_EQ(Panel(), "H5");
  EXPECT_TRUE(Game.Input_Enabled);

  std::string sounds = "Step@0 Step@315 Step@630";
  for (int step = 3; step <= 12; ++step)
    sounds += " Step_bat@" + std::to_string(315 * step);
  EXPECT_EQ(Sounds(), sounds);
}

TEST_F(Bats, ABatThatFliesOntoTheWarriorCarriesHimOff) {
  const std::int64_t drop = Carried_Off();
  Carry(true, true);
  Press(Vk::Insert);
  Advance_To(5000);
  EXPECT_TRUE(Game.Bat_On_Warrior);
  EXPECT_EQ(Game.Cell(0, 0), Cell_Bat);
  EXPECT_FALSE(Game.Input_Enabled);
  const std::string icons = " im_icon_arrow im_icon_hook";
  Expect_Lit(5000, {{1299, "im_bat_1 im_maze im_cursor_up" + icons}}); // as the blinking left it
  const std::vector<std::string> frames = {"im_bat_1 im_warrior_1", "im_bat_2 im_warrior_2",
                                           "im_bat_3 im_warrior_3", "im_bat_4 im_warrior_4",
                                           "im_bat_5 im_warrior_5", "im_bat_1 im_warrior_1",
                                           "im_bat_2 im_warrior_2", "im_bat_3 im_warrior_3",
                                           "im_bat_4 im_warrior_3", "im_bat_5 im_warrior_3"};
  for (std::size_t k = 0; k < frames.size(); ++k)
    Expect_Lit(6300, {{315 * static_cast<std::int64_t>(k), frames[k] + icons}});
  // The open hidden grid shows the drop at once: his old cell empty, the bat in its new cell.
  Advance_To(drop);
  EXPECT_EQ(Surface[la_cheat_0].Text.toStdString(), "0000000000");
  EXPECT_EQ(Surface[la_cheat_3].Text.toStdString(), "0030000000");
  Advance_To(drop + 1);
  EXPECT_EQ(Warrior(), (Cell_Position{5, 7}));
  EXPECT_EQ(Game.Cell(0, 0), Cell_Empty);
  EXPECT_EQ(Bat(1), (Cell_Position{2, 3}));
  EXPECT_TRUE(Game.Input_Enabled);

  std::string sounds = "Bat@0";
  for (int t = 1300; t <= 4135; t += 315)
    sounds += " Step_bat@" + std::to_string(t);
  EXPECT_EQ(Sounds(5000), sounds);

  // The next bat turn moves another bat, not onto him: play simply comes back.
  Rng.Then({4, 0, 0, 4, 4});
  Advance_To(drop + 1 + 5000 + 1300);
  EXPECT_EQ(Sounds(drop), "Bat@5001");
  EXPECT_EQ(Warrior(), (Cell_Position{5, 7}));
  EXPECT_TRUE(Game.Input_Enabled);
}

TEST_F(Bats, ABatTurnWithoutTheWarriorGivesPlayBackAfter1300Ms) {
  Start(Mode_Level_3, {"W.B", "P", "", "", ".....BBB", "", "", "", "........D"});
  Press(Vk::Insert);
  // A bat moves on a draw of 0 or 1 of five: the first comes next to the warrior, the rest stay.
  Rng.Then({1, 3, 2, 2, 2});
  auto bats = Game.Bat_Position;
  bats[1] = {1, 0};
  Advance_To(5000);
  EXPECT_TRUE(Rng.Script.empty());
  EXPECT_EQ(Game.Bat_Position, bats);
  EXPECT_EQ(Sounds(), "Bat@5000");
  EXPECT_FALSE(Game.Input_Enabled);
  Advance_To(6299);
  EXPECT_FALSE(Game.Close_To_Bat);
  Advance_To(6300);
  EXPECT_TRUE(Game.Close_To_Bat);
  EXPECT_TRUE(Game.Input_Enabled);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_up") << "indicators dark until the blinking";
  EXPECT_EQ(Panel(), "A0");
  EXPECT_EQ(Surface[la_cheat_0].Text.toStdString(), "1300000000");
  Advance_To(6799);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_up");
  Advance_To(6800);
  EXPECT_EQ(Lit_Text(), "im_pit im_bat_1 im_maze im_cursor_up");
}

struct Drop_Case {
  char Target;
  Game_Mode_Value Mode;
  bool Hook;
  std::string Sounds; // after the drop
  std::vector<std::pair<std::int64_t, std::string>> Lit;
  bool Input_At_End;
};

class Drop_Targets : public Bats, public ::testing::WithParamInterface<Drop_Case> {};

TEST_P(Drop_Targets, TheSequenceForTheCellPlaysFromItsThirdStep) {
  const Drop_Case& c = GetParam();
  const std::int64_t drop = Walk_Into_Bat(c.Target, c.Mode);
  Carry(c.Hook, false);
  Advance_To(drop);
  Sound.Played.clear();
  Expect_Lit(drop, c.Lit);
  EXPECT_EQ(Sounds(drop), c.Sounds);
  EXPECT_EQ(Game.Input_Enabled, c.Input_At_End);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Bats, Drop_Targets,
    ::testing::Values(
        //        Target Mode          Hook   Sounds after the drop
        //        Lit from the drop on                                                     Input
        Drop_Case{'.',   Mode_Level_3, false, "",
                  {{1, "im_maze im_cursor_up"}},                                           true},
        Drop_Case{'H',   Mode_Level_2, false, "Got@1",
                  {{1, "im_warrior_3"}, {781, "im_warrior_3 im_icon_hook"},
                   {1781, "im_maze im_cursor_up im_icon_hook"}},                           true},
        Drop_Case{'A',   Mode_Level_3, false, "Got@1",
                  {{780, "im_warrior_3"}, {1781, "im_maze im_cursor_up im_icon_arrow"}},   true},
        Drop_Case{'P',   Mode_Level_3, false, "Pit@1 Gameover@1841 Gameover@2371",
                  {{1, "im_pit im_warrior_6"}, {1501, "im_pit im_warrior_7"},
                   {4000, "im_pit im_warrior_7"}},                                         false},
        Drop_Case{'P',   Mode_Level_1, true,  "Pit@1",
                  {{1501, "im_pit im_warrior_7 im_icon_hook"},
                   {2501, "im_pit im_warrior_7 im_hook"}, {3501, "im_maze im_cursor_up"}}, true},
        Drop_Case{'D',   Mode_Level_3, false, "Pit@1 Gameover@1841 Gameover@2371",
                  {{1, "im_warrior_6 im_dragon"}, {4000, "im_warrior_6 im_dragon"}},       false}));
// clang-format on

TEST_F(Bats, ADropOntoABatChainsAnotherFlight) {
  // After the walk's flight the new one starts at step 3, 1 ms apart, and drops 350 ms after
  // its step 12; the second drop lands in (1, 1).
  const std::int64_t drop = Walk_Into_Bat('.', Mode_Level_3, {2, 2, 6, 4, 3, 3, 1, 1});
  Advance_To(drop);
  EXPECT_EQ(Game.Cell(6, 4), Cell_Bat);
  Expect_Lit(drop, {{1, "im_bat_1 im_bat_5 im_warrior_3"},
                    {4, "im_bat_4 im_bat_5 im_warrior_4"},
                    {6, "im_bat_1 im_warrior_1"},
                    {10, "im_bat_5 im_warrior_3"},
                    {360, "im_bat_5 im_warrior_3"},
                    {361, "im_maze im_cursor_up"}});
  EXPECT_EQ(Sounds(drop), "Step_bat@1 Step_bat@2 Step_bat@3 Step_bat@4 Step_bat@5 Step_bat@6 "
                          "Step_bat@7 Step_bat@8 Step_bat@9 Step_bat@10");
  EXPECT_EQ(Warrior(), (Cell_Position{1, 1}));
  EXPECT_EQ(Bat(2), (Cell_Position{3, 3}));
  EXPECT_FALSE(Game.Timer_Move_To_Bat.Enabled());
}

TEST_F(Bats, ACarryingOffOntoABatGoesOnWithTheWalkingFrame) {
  const std::int64_t drop = Carried_Off({2, 2, 6, 4, 3, 3, 1, 1});
  Advance_To(drop);
  Sound.Played.clear();
  Expect_Lit(drop, {{1, "im_bat_5 im_warrior_3"},
                    {2, "im_bat_1 im_bat_5 im_warrior_3"},
                    {361, "im_bat_5 im_warrior_3"},
                    {362, "im_maze im_cursor_up"}});
  std::string sounds = "Step@1";
  for (int t = 2; t <= 11; ++t)
    sounds += " Step_bat@" + std::to_string(t);
  EXPECT_EQ(Sounds(drop), sounds);
  EXPECT_EQ(Warrior(), (Cell_Position{1, 1}));
  EXPECT_TRUE(Game.Input_Enabled);
}

} // namespace
