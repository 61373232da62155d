#include "game_fixture.h"

namespace {

using Shot = Game_Fixture;

TEST_F(Shot, HitsTheDragonInTheNextCellAcrossTheWrap) {
  struct Case {
    Game_Mode_Value Mode;
    std::vector<std::string> Rows;
    int Direction;
  };
  for (const Case& c :
       {Case{Mode_Level_2, {"W........D", "", "", "", "", "BBBB"}, 4},
        Case{Mode_Level_1, {"...D", "", "", "", "", "BBBB", "", "", "", "...W"}, 3}}) {
    SCOPED_TRACE(c.Direction);
    const std::int64_t t0 = Shoot(c.Mode, c.Rows, c.Direction);
    const std::string hook = c.Mode == Mode_Level_1 ? " im_icon_hook" : "";
    Advance_To(t0 + 100);
    Tap(Key::Attack); // a second shot cannot start while the arrow flies
    Expect_Lit(t0, {{315, "im_warrior_0 im_arrow_1" + hook},
                    {945, "im_warrior_0 im_arrow_3" + hook},
                    {1260, "im_warrior_0 im_arrow_4 im_dragon" + hook},
                    {1889, "im_warrior_0 im_arrow_4 im_dragon" + hook},
                    {1890, "im_warrior_0 im_arrow_6" + hook}});
    EXPECT_EQ(Sounds(t0), "Arrow@0 Arrow@315 Arrow@630 Arrow@945 Arrow@1260 Win@1890");
    EXPECT_EQ(Game.Win_Level, c.Mode - 4);
    Advance_To(t0 + 6889);
    EXPECT_EQ(Game.Game_Mode, c.Mode);
    EXPECT_EQ(Panel(), "  ");
    Advance_To(t0 + 6890);
    EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
    EXPECT_EQ(Panel(), "00");
    EXPECT_FALSE(Game.Input_Enabled);
  }
}

TEST_F(Shot, AMissLosesTheArrowAndWakesTheDragon) {
  // The dragon two cells away is out of reach.
  Rng.Then({6, 6, 7, 3}); // the arrow falls into (6, 6), the dragon moves to (7, 3)
  const std::int64_t t0 = Shoot(Mode_Level_3, {"W.D", "", "", "", "", "BBBB"}, 2);
  Expect_Lit(t0, {{1260, "im_warrior_0 im_arrow_4"},
                  {1575, "im_warrior_0 im_arrow_5"},
                  {3074, "im_warrior_0 im_arrow_5"},
                  {3075, "im_maze im_cursor_right"}});
  EXPECT_EQ(Sounds(t0), "Arrow@0 Arrow@315 Arrow@630 Arrow@945 Arrow@1260 Gameover@1575");
  EXPECT_FALSE(Game.Has_Arrow);
  EXPECT_EQ(Game.Cell(6, 6), Cell_Arrow);
  EXPECT_EQ(Game.Cell(7, 3), Cell_Dragon);
  EXPECT_EQ(Game.Cell(2, 0), Cell_Empty);
  EXPECT_TRUE(Game.Input_Enabled);

  // Without the arrow an attack changes nothing and makes no sound.
  const std::string lit = Lit_Text();
  Sound.Played.clear();
  Tap(Key::Attack);
  Advance(3075);
  EXPECT_EQ(Lit_Text(), lit);
  EXPECT_EQ(Sounds(), "");
  EXPECT_TRUE(Game.Input_Enabled);
}

TEST_F(Shot, AfterAMissTheDragonMayLandNextToTheWarrior) {
  // The dragon below the warrior, but the cursor points right.
  Rng.Then({6, 6, 9, 0}); // the dragon moves to (9, 0), to his left
  const std::int64_t t0 = Shoot(Mode_Level_3, {"W", "D", "", "", "", "BBBB"}, 2);
  Advance_To(t0 + 3075);
  EXPECT_EQ(Game.Game_Mode, Mode_Level_3);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_right im_dragon");
  EXPECT_FALSE(Game.Input_Enabled);
  EXPECT_TRUE(Run_Until_Input());
  EXPECT_EQ(Clock.Now(), t0 + 3075 + 1940);
  EXPECT_EQ(Sounds(t0 + 3075), "Dragon@60 Dragon@530 Dragon@1000 Dragon@1470");
}

} // namespace
