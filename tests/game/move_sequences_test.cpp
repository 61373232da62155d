#include "game_fixture.h"

#include <tuple>

namespace {

class Move_Sequences : public Game_Fixture {
protected:
  Cell_Position Warrior() const { return {Game.Warrior_X, Game.Warrior_Y}; }
};

TEST_F(Move_Sequences, IntoAnEmptyCell) {
  const std::int64_t t0 = Walk_Up_Into('.', Mode_Level_3);
  EXPECT_EQ(Game.Cell(0, 0), Cell_Empty);
  Expect_Lit(t0, {{0, "im_warrior_1"},
                  {315, "im_warrior_2"},
                  {630, "im_warrior_3"},
                  {944, "im_warrior_3"},
                  {945, "im_maze im_cursor_up"}});
  EXPECT_EQ(Sounds(t0), "Step@0 Step@315 Step@630");
  EXPECT_TRUE(Game.Input_Enabled);
  EXPECT_EQ(Panel(), "J0");
  EXPECT_EQ(Game.Cell(0, 9), Cell_Warrior);
}

TEST_F(Move_Sequences, OntoTheHookOrTheArrow) {
  for (const auto& [target, icon] : {std::pair{'H', "im_icon_hook"}, {'A', "im_icon_arrow"}}) {
    SCOPED_TRACE(target);
    const std::int64_t t0 = Walk_Up_Into(target, Mode_Level_2);
    Expect_Lit(t0, {{945, "im_warrior_3"},
                    {1724, "im_warrior_3"},
                    {1725, "im_warrior_3 " + std::string(icon)},
                    {2724, "im_warrior_3 " + std::string(icon)},
                    {2725, "im_maze im_cursor_up " + std::string(icon)}});
    EXPECT_EQ(Sounds(t0), "Step@0 Step@315 Step@630 Got@945");
    EXPECT_TRUE(Game.Input_Enabled);
    EXPECT_EQ(Game.Cell(0, 9), Cell_Warrior);
    EXPECT_EQ(Count(Cell_Hook) + Count(Cell_Arrow), 0);
    EXPECT_TRUE(target == 'H' ? Game.Has_Hook : Game.Has_Arrow);
  }
}

TEST_F(Move_Sequences, IntoAPitWithoutTheHookLosesTheGame) {
  const std::int64_t t0 = Walk_Up_Into('P', Mode_Level_3);
  Expect_Lit(t0, {{630, "im_warrior_3"},
                  {979, "im_warrior_3"},
                  {980, "im_pit im_warrior_6"},
                  {2480, "im_pit im_warrior_7"}});
  EXPECT_TRUE(Game.Timer_Game_Over_Lose.Enabled());
  Advance_To(t0 + 4219);
  EXPECT_EQ(Game.Game_Mode, Mode_Level_3);
  Advance_To(t0 + 4220);
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Sounds(t0), "Step@0 Step@315 Step@630 Pit@980 Gameover@2820 Gameover@3350");
  EXPECT_EQ(Lit_Text(), "im_pit im_warrior_7");
  EXPECT_EQ(Warrior(), (Cell_Position{0, 9}));
  EXPECT_EQ(Game.Cell(0, 9), Cell_Pit);
  EXPECT_FALSE(Game.Input_Enabled);
  EXPECT_EQ(Clock.Next_Due(), -1);
}

TEST_F(Move_Sequences, TheHookPullsTheWarriorOutOfAPitAndIsUsedUp) {
  for (Game_Mode_Value mode : {Mode_Level_1, Mode_Level_2, Mode_Level_3}) {
    SCOPED_TRACE(mode);
    const std::int64_t t0 = Walk_Up_Into('P', mode, true);
    Expect_Lit(t0, {{980, "im_pit im_warrior_6 im_icon_hook"},
                    {2480, "im_pit im_warrior_7 im_icon_hook"},
                    {3479, "im_pit im_warrior_7 im_icon_hook"},
                    {3480, "im_pit im_warrior_7 im_hook"},
                    {4479, "im_pit im_warrior_7 im_hook"},
                    {4480, "im_maze im_cursor_up"}});
    EXPECT_FALSE(Game.Has_Hook);
    EXPECT_EQ(Count(Cell_Hook), mode == Mode_Level_3 ? 0 : 1) << "the hook lies in the dungeon";
    EXPECT_EQ(Game.Cell(0, 9), Cell_Warrior_In_Pit);
    EXPECT_TRUE(Game.Input_Enabled);
    EXPECT_EQ(Sounds(t0), "Step@0 Step@315 Step@630 Pit@980");
  }
}

TEST_F(Move_Sequences, AWarningAfterAPickUpOrAPitEscapePlaysOverTheMazeView) {
  // He walks up into (0, 9), next to the dragon at (1, 9); the used hook is put into (5, 5).
  for (const auto& [target, arrival, lit] :
       {std::tuple{'A', 2725, "im_maze im_cursor_up im_dragon im_icon_arrow im_icon_hook"},
        {'P', 4480, "im_maze im_cursor_up im_dragon"}}) {
    SCOPED_TRACE(target);
    Start(Mode_Level_1, {"W", "", "", "", "BBBB", "", "", "", "", std::string(1, target) + "D"});
    ASSERT_TRUE(Run_Until_Input());
    if (target == 'P') Rng.Then({5, 5});
    const std::int64_t t0 = Clock.Now();
    Tap(Key::Move);
    Advance_To(t0 + arrival + 1);
    EXPECT_FALSE(Game.Input_Enabled);
    EXPECT_EQ(Lit_Text(), lit);
    EXPECT_EQ(Panel(), "J0");
  }
}

TEST_F(Move_Sequences, OntoTheDragonLosesTheGameWhateverIsCarried) {
  const std::int64_t t0 = Walk_Up_Into('D', Mode_Level_1, true, true);
  Expect_Lit(t0, {{980, "im_warrior_6 im_dragon im_icon_arrow im_icon_hook"},
                  {4220, "im_warrior_6 im_dragon im_icon_arrow im_icon_hook"}});
  EXPECT_EQ(Sounds(t0), "Step@0 Step@315 Step@630 Pit@980 Gameover@2820 Gameover@3350");
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Game.Cell(0, 9), Cell_Dragon);
}

} // namespace
