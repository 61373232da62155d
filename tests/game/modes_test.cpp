#include "game_fixture.h"

namespace {

class Modes : public Game_Fixture {
protected:
  void Enter_Demo() {
    Press(Key::Reset);
    Release(Key::Reset);
  }
};

TEST_F(Modes, TheDemoCyclesThroughItsThirtyThreeStepsWithoutASound) {
  // What is lit after each step 1..33; the pauses repeat the previous line.
  const std::string room = "im_maze im_cursor_right";
  const std::vector<std::string> frames = {room,
                                           room,
                                           room,
                                           "im_warrior_1",
                                           "im_warrior_2",
                                           "im_warrior_3",
                                           room,
                                           room,
                                           room,
                                           "im_warrior_1",
                                           "im_warrior_2",
                                           "im_warrior_3",
                                           room,
                                           room,
                                           room,
                                           "im_bat_1 im_warrior_1",
                                           "im_bat_2 im_warrior_2",
                                           "im_bat_3 im_warrior_3",
                                           "im_bat_4 im_warrior_4",
                                           "im_bat_5 im_warrior_5",
                                           "im_bat_1 im_warrior_1",
                                           "im_bat_2 im_warrior_2",
                                           "im_bat_3 im_warrior_3",
                                           "im_pit im_bat_4 im_warrior_6",
                                           "im_pit im_bat_5 im_warrior_7 im_dragon",
                                           "im_pit im_warrior_7",
                                           "im_pit im_warrior_7 im_dragon",
                                           "im_pit im_warrior_7",
                                           "im_pit im_warrior_7 im_dragon",
                                           "im_pit im_warrior_7",
                                           "im_pit im_warrior_7 im_dragon",
                                           "im_pit im_warrior_7 im_dragon",
                                           "im_pit im_warrior_7 im_dragon"};
  // The rooms name their cell; every other frame starts from a blank LCD.
  auto panel = [](int step) {
    return step <= 3    ? "A0"
           : step <= 6  ? "  "
           : step <= 9  ? "A1"
           : step <= 12 ? "  "
           : step <= 15 ? "A2"
                        : "  ";
  };

  Enter_Demo();
  EXPECT_EQ(Game.Game_Mode, Mode_Demo);
  for (int cycle = 0; cycle < 2; ++cycle)
    for (int step = 1; step <= 33; ++step) {
      Advance(450);
      SCOPED_TRACE("step " + std::to_string(step) + " of cycle " + std::to_string(cycle));
      EXPECT_EQ(Lit_Text(), frames[static_cast<std::size_t>(step - 1)]);
      EXPECT_EQ(Panel(), panel(step));
    }
  EXPECT_EQ(Clock.Now(), 2 * 14850);
  EXPECT_EQ(Sounds(), "");
}

TEST_F(Modes, LevelChoiceAndGameStart) {
  Enter_Demo();
  Advance(450 * 5); // mid-animation
  Tap(Key::Attack);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_1);
  EXPECT_EQ(Panel(), "L1");
  EXPECT_EQ(Lit_Text(), "");
  Advance(5000);
  EXPECT_EQ(Lit_Text(), "") << "the demo has stopped";

  std::string panels;
  for (int i = 0; i < 4; ++i) {
    Tap(Key::Move);
    panels += Panel() + " ";
  }
  EXPECT_EQ(panels, "L2 L3 L1 L2 ");

  const std::int64_t chosen = Clock.Now();
  Tap(Key::Attack);
  EXPECT_EQ(Game.Game_Mode, Mode_Level_2);
  Advance(999);
  EXPECT_EQ(Panel(), "  ");
  EXPECT_EQ(Lit_Text(), "");
  // This seed leaves nothing but pits and bats next to the start, so play begins at once.
  Advance(1);
  ASSERT_TRUE(Game.Input_Enabled);
  EXPECT_EQ(Panel(), "A0");
  EXPECT_TRUE(Is_Lit(im_maze));
  EXPECT_TRUE(Is_Lit(im_cursor_up));
  EXPECT_FALSE(Is_Lit(im_icon_hook));
  EXPECT_EQ(Count(Cell_Hook), 1);
  EXPECT_EQ(Game.Score, 0);
  EXPECT_EQ(Sounds(chosen), "");
}

TEST_F(Modes, LevelOneStartsWithTheHook) {
  Enter_Demo();
  Tap(Key::Attack);
  Tap(Key::Attack);
  Advance(1000);
  EXPECT_TRUE(Is_Lit(im_icon_hook));
  EXPECT_TRUE(Game.Has_Hook);
  EXPECT_EQ(Count(Cell_Hook), 0);
}

} // namespace
