#include "game_fixture.h"

#include <cstdlib>

namespace {

class Dungeon : public Game_Fixture {
protected:
  void Setup(Game_Mode_Value mode, std::uint32_t seed) {
    Rng = Scripted_Random(seed);
    Surface.Vid_Show_All(false); // as the level choice leaves it
    Game.Game_Mode = mode;
    Game.Setup_Dungeon();
  }
};

TEST_F(Dungeon, EverySetupHoldsTheRightItemsInTheRightPlaces) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    const Game_Mode_Value mode = Playing_Mode(1 + static_cast<int>(seed % 3));
    Setup(mode, seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + " mode " +
                 std::to_string(static_cast<int>(mode)));

    EXPECT_EQ(Game.Cell(0, 0), Cell_Warrior);
    EXPECT_EQ(Count(Cell_Warrior), 1);
    EXPECT_EQ(Count(Cell_Pit), 12);
    EXPECT_EQ(Count(Cell_Bat), 4);
    EXPECT_EQ(Count(Cell_Arrow), 1);
    EXPECT_EQ(Count(Cell_Dragon), 1);
    EXPECT_EQ(Count(Cell_Hook), mode == Mode_Level_2 ? 1 : 0);
    EXPECT_EQ(Game.Has_Hook, mode == Mode_Level_1);
    EXPECT_EQ(Surface.Shown(im_icon_hook), mode == Mode_Level_1);
    EXPECT_FALSE(Game.Has_Arrow);

    for (int i = 1; i <= 4; ++i)
      EXPECT_EQ(Game.Cell(Game.Bat_Position[static_cast<std::size_t>(i)]), Cell_Bat);

    // Only bats (and the warrior) in row 0 or column 0.
    for (int k = 0; k < 10; ++k) {
      for (int code : {Game.Cell(k, 0), Game.Cell(0, k)}) {
        EXPECT_TRUE(code == Cell_Empty || code == Cell_Bat || code == Cell_Warrior) << code;
      }
    }
    // No two pits touch, not even diagonally (without wrap-around).
    for (int x = 0; x < 10; ++x)
      for (int y = 0; y < 10; ++y)
        for (int x2 = 0; x2 < 10; ++x2)
          for (int y2 = 0; y2 < 10; ++y2)
            if ((x != x2 || y != y2) && Game.Cell(x, y) == Cell_Pit &&
                Game.Cell(x2, y2) == Cell_Pit) {
              EXPECT_TRUE(std::abs(x - x2) > 1 || std::abs(y - y2) > 1);
            }
    // The border stays zero.
    for (int i = 0; i < 12; ++i) {
      EXPECT_EQ(Game.Grid[0][static_cast<std::size_t>(i)], 0);
      EXPECT_EQ(Game.Grid[11][static_cast<std::size_t>(i)], 0);
      EXPECT_EQ(Game.Grid[static_cast<std::size_t>(i)][0], 0);
      EXPECT_EQ(Game.Grid[static_cast<std::size_t>(i)][11], 0);
    }
  }
}

TEST_F(Dungeon, DrawsFollowTheSetupOrder) {
  // Pits first, each as an X and a Y draw; X = 0 or Y = 0 is drawn again at once.
  Rng.Then({0, 5, 1, 1}); // (0, 5) rejected, pit at (1, 1): the warrior's cell counts as free
  Rng.Then({1, 2});       // touches (1, 1): rejected
  Rng.Then({3, 1, 5, 1, 7, 1, 9, 1, 1, 3, 3, 3, 5, 3, 7, 3, 9, 3, 1, 5, 3, 5});
  Rng.Then({0, 0, 0, 1, 0, 2, 0, 3}); // (0, 0) is the warrior: drawn again
  Rng.Then({0, 4});                   // fourth bat
  Rng.Then({4, 4});                   // arrow
  Rng.Then({0, 6, 6, 6});             // dragon: row 0 refused for a new item
  Game.Game_Mode = Mode_Level_3;
  Game.Setup_Dungeon();
  EXPECT_TRUE(Rng.Script.empty());
  EXPECT_EQ(Game.Cell(1, 1), Cell_Pit);
  EXPECT_EQ(Game.Cell(1, 2), Cell_Empty);
  EXPECT_EQ(Game.Cell(9, 3), Cell_Pit);
  EXPECT_EQ((Game.Bat_Position[1]), (Cell_Position{0, 1}));
  EXPECT_EQ((Game.Bat_Position[4]), (Cell_Position{0, 4}));
  EXPECT_EQ(Game.Cell(4, 4), Cell_Arrow);
  EXPECT_EQ(Game.Cell(6, 6), Cell_Dragon);
}

TEST_F(Dungeon, PitPlacementStartsOverFromADeadEnd) {
  // Nine pits on a 3-spaced lattice leave no free 3 x 3 block for the tenth.
  for (int x : {2, 5, 8})
    for (int y : {2, 5, 8})
      Rng.Then({x, y});
  for (int i = 0; i < 10000; ++i)
    Rng.Then({3, 3});
  Game.Game_Mode = Mode_Level_1;
  Game.Setup_Dungeon();
  EXPECT_TRUE(Rng.Script.empty());
  EXPECT_EQ(Count(Cell_Pit), 12);
}

TEST_F(Dungeon, AMovedItemLandsInAnotherRowAndColumnAndLeavesOneCopy) {
  Setup(Mode_Level_2, 7);
  for (std::int32_t code : {Cell_Hook, Cell_Arrow, Cell_Dragon}) {
    for (int round = 0; round < 50; ++round) {
      Cell_Position old{};
      for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y)
          if (Game.Cell(x, y) == code) old = {x, y};
      Game.Gam_Set_Item_Position(code);
      EXPECT_EQ(Count(code), 1);
      EXPECT_NE(Game.Cell(old), code);
      for (int k = 0; k < 10; ++k) {
        EXPECT_NE(Game.Cell(old.X, k), code);
        EXPECT_NE(Game.Cell(k, old.Y), code);
      }
    }
  }
}

TEST_F(Dungeon, ItemsInRowOrColumnZeroMoveAndEmptyTheirCell) {
  Clear_Grid();
  Game.Cell(9, 4) = Cell_Dragon;
  Rng.Then({9, 1, 3, 4, 3, 5}); // same column, then same row, then accepted
  Game.Gam_Set_Item_Position(Cell_Dragon);
  EXPECT_EQ(Game.Cell(9, 4), Cell_Empty);
  EXPECT_EQ(Game.Cell(3, 5), Cell_Dragon);

  Game.Cell(0, 7) = Cell_Arrow;
  Rng.Then({1, 2});
  Game.Gam_Set_Item_Position(Cell_Arrow);
  EXPECT_EQ(Game.Cell(0, 7), Cell_Empty);
  EXPECT_EQ(Game.Cell(1, 2), Cell_Arrow);
  EXPECT_EQ(Count(Cell_Arrow), 1);
}

TEST_F(Dungeon, NeighboursWrapAroundTheEdges) {
  const auto n = Neighbours({0, 9});
  const std::vector<Cell_Position> got(n.begin(), n.end());
  const std::vector<Cell_Position> want = {{9, 9}, {1, 9}, {0, 8}, {0, 0}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(Step_From({0, 5}, Direction_Left), (Cell_Position{9, 5}));
  EXPECT_EQ(Step_From({9, 5}, Direction_Right), (Cell_Position{0, 5}));
  EXPECT_EQ(Step_From({3, 0}, Direction_Up), (Cell_Position{3, 9}));
  EXPECT_EQ(Step_From({3, 9}, Direction_Down), (Cell_Position{3, 0}));
}

TEST_F(Dungeon, CheatRowsShowTheGridRightAlignedInTheBackground) {
  Setup(Mode_Level_1, 3);
  Game.Vid_Show_Cheat(true);
  for (int row = 0; row < 10; ++row) {
    const Lcd_Element& label = Surface[Cheat_Labels[static_cast<std::size_t>(row)]];
    ASSERT_EQ(label.Text.size(), 10);
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(label.Text[x].digitValue(), Game.Cell(x, row));
    EXPECT_EQ(label.Rect.right() + 1, 527 - 10);
    EXPECT_EQ(label.Rect.bottom() + 1, 348 - 10 - label.Rect.height() * (9 - row));
  }
  EXPECT_TRUE(Surface[la_cheat_0].Text.startsWith('1'));

  Game.Vid_Show_Cheat(false);
  for (Element_Id label : Cheat_Labels)
    EXPECT_TRUE(Surface[label].Text.isEmpty());
}

} // namespace
