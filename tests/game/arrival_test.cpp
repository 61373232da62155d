#include "game_fixture.h"

namespace {

using Arrival = Game_Fixture;

TEST_F(Arrival, BatsAcrossTheWrapAreNeighboursDiagonalOnesAreNot) {
  Start(Mode_Level_3, {"W........B", "", "", "", "", ".....BBB", "", "", "..D"});
  EXPECT_TRUE(Game.Close_To_Bat);
  EXPECT_TRUE(Is_Lit(im_bat_1));

  Start(Mode_Level_3,
        {"W", "", "", "", "", ".....BBB", "", "", "..D", "B"}); // (0, 9) is above (0, 0)
  EXPECT_TRUE(Is_Lit(im_bat_1));

  Start(Mode_Level_3, {"W", "", "", "", "", ".....BBB", "", "", "..D", ".........B"});
  EXPECT_FALSE(Game.Close_To_Bat);
  EXPECT_FALSE(Is_Lit(im_bat_1));
  EXPECT_FALSE(Game.Timer_Blinking.Enabled()) << "nothing near: no blinking";
  EXPECT_TRUE(Game.Input_Enabled);
}

TEST_F(Arrival, APitNearbyBlinksAfterOneSecondThenEvery225Ms) {
  Start(Mode_Level_3, {"", "", ".......WP", "", "", "", "BBBB", "", "........D"});
  EXPECT_EQ(Panel(), "C7");
  EXPECT_EQ(Lit_Text(), "im_pit im_maze im_cursor_up");
  EXPECT_TRUE(Game.Input_Enabled);
  std::string pit;
  for (std::int64_t t : {999, 1000, 1224, 1225, 1449, 1450, 1675}) {
    Advance_To(t);
    pit += Is_Lit(im_pit) ? '1' : '0';
  }
  EXPECT_EQ(pit, "1001101");
}

TEST_F(Arrival, TheDragonWarningWinsOverTheArrow) {
  Start(Mode_Level_3, {"WA", "D", "", "", "", "BBBB"});
  EXPECT_TRUE(Game.Timer_Found_Dragon.Enabled());
  EXPECT_FALSE(Game.Timer_Found_Arrow_Hook.Enabled());
  EXPECT_FALSE(Game.Timer_Score.Enabled());
  EXPECT_FALSE(Game.Input_Enabled);
  EXPECT_EQ(Lit_Text(), "im_arrow_1 im_dragon") << "indicators steady, no maze yet";
  EXPECT_TRUE(Run_Until_Input());
  EXPECT_EQ(Sounds(), "Dragon@60 Dragon@530 Dragon@1000 Dragon@1470 Found@2310");
  EXPECT_EQ(Clock.Now(), 3310);
}

} // namespace
