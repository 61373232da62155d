#include "game_fixture.h"

namespace {

class Score : public Game_Fixture {
protected:
  // Kills the dragon on level 2 with Score 7; returns the time of the attack press.
  std::int64_t Win_On_Level_2() {
    Start(Mode_Level_2, {"W", "D", "", "", "", "", "BBBB"});
    EXPECT_TRUE(Run_Until_Input());
    Carry(false, true);
    Game.Score = 7;
    Aim(3);
    const std::int64_t shot = Clock.Now();
    Tap(Key::Attack);
    return shot;
  }
};

TEST_F(Score, WaitingCountsFiveSecondPeriodsUntilTheTimeOut) {
  Start_Quiet();
  Advance_To(49 * 5000 + 50);
  EXPECT_EQ(Game.Score, 49);
  EXPECT_TRUE(Game.Input_Enabled);
  EXPECT_EQ(Game.Game_Mode, Mode_Level_3);

  Advance_To(495000 - 1);
  EXPECT_EQ(Game.Score, 98);
  EXPECT_EQ(Panel(), "A0");
  Advance_To(495000);
  EXPECT_EQ(Panel(), "99");
  EXPECT_EQ(Lit_Text(), "");
  EXPECT_FALSE(Game.Input_Enabled);
  Advance_To(496400);
  EXPECT_EQ(Game.Game_Mode, Mode_Level_3);
  Advance_To(496401);
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Sounds(), "Gameover@495001 Gameover@495531");
  EXPECT_EQ(Clock.Next_Due(), -1);
  EXPECT_EQ(Panel(), "99");
}

TEST_F(Score, APeriodInterruptedByAMoveGoesOnWhereItStopped) {
  Start_Quiet();
  Advance_To(3000);
  Tap(Key::Move); // arrives at 3945, 30 ticks of the period done
  Advance_To(5944);
  EXPECT_EQ(Game.Score, 0);
  Advance_To(5945);
  EXPECT_EQ(Game.Score, 1);
}

TEST_F(Score, ABatTurnWithNoBatMovingLeavesThePlayerAlone) {
  Start(Mode_Level_3, {"WB", "", "", "", ".....BBB", "", "", "", "........D"});
  Rng.Then({4, 4, 4, 4});
  Advance_To(5049);
  const bool bat_lit = Is_Lit(im_bat_1);
  EXPECT_EQ(Game.Score, 1);
  EXPECT_EQ(Sounds(), "");
  EXPECT_TRUE(Game.Input_Enabled);
  EXPECT_TRUE(Is_Lit(im_cursor_up));
  Advance_To(5050);
  EXPECT_NE(Is_Lit(im_bat_1), bat_lit) << "the blinking goes on";
}

TEST_F(Score, ABatNeverMovesOntoAnythingButAnEmptyCellOrTheWarrior) {
  Start(Mode_Level_2, {"", "", "..P...H", "..BB..B.A", "...X....BD"});
  const auto bats = Game.Bat_Position;
  // First turn: every bat tries, towards a pit, a bat, the hook and the arrow. Second turn:
  // the second, down onto the warrior in a pit, and the fourth, towards the dragon.
  Rng.Then({0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 4, 0, 1});
  Advance_To(10000);
  EXPECT_TRUE(Rng.Script.empty());
  EXPECT_EQ(Game.Bat_Position, bats);
  EXPECT_EQ(Sounds(), "");
  EXPECT_TRUE(Game.Input_Enabled);
}

TEST_F(Score, AfterAWinThePanelAlternatesScoreAndLevel) {
  const std::int64_t shot = Win_On_Level_2();
  std::string panels;
  for (std::int64_t t : {6889, 6890, 7890, 8890, 9890}) {
    Advance_To(shot + t);
    panels += Panel() + "|";
  }
  EXPECT_EQ(panels, "  |07|L2|07|L2|");
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
}

TEST_F(Score, AShortAttackAfterTheGameChoosesLevelOne) {
  Advance_To(Win_On_Level_2() + 7000);
  Press(Key::Attack);
  Advance(4900);
  Release(Key::Attack);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_1);
  EXPECT_EQ(Panel(), "L1");
  EXPECT_EQ(Clock.Next_Due(), -1);
}

TEST_F(Score, AFiveSecondAttackStartsTheDemoWhichOwnsThePanel) {
  Advance_To(Win_On_Level_2() + 7000);
  Press(Key::Attack);
  Advance(5000);
  EXPECT_EQ(Game.Game_Mode, Mode_Demo);
  Release(Key::Attack);
  EXPECT_EQ(Game.Game_Mode, Mode_Demo);
  // The win display has stopped: from the demo's first frame on, over a whole cycle, the panel
  // shows only the demo's rooms.
  Advance(450);
  for (int i = 0; i < 300; ++i) {
    const std::string panel = Panel();
    ASSERT_TRUE(panel == "A0" || panel == "A1" || panel == "A2" || panel == "  ")
        << panel << " at " << Clock.Now();
    Advance(50);
  }

  // After the next game a short press chooses the level again.
  Advance_To(Win_On_Level_2() + 7000);
  Tap(Key::Attack);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_1);
}

} // namespace
