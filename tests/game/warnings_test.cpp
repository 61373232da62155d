#include "game_fixture.h"

namespace {

struct Warning_Case {
  std::string Name;
  Game_Mode_Value Mode;
  std::vector<std::string> Rows; // the warrior at (0, 0)
  std::string Sounds;
  std::int64_t Resume;
  std::string Lit_While_Warning;
  std::string Lit_On_Resume;
};

class Warnings : public Game_Fixture, public ::testing::WithParamInterface<Warning_Case> {};

TEST_P(Warnings, SoundThenGivePlayBack) {
  const Warning_Case& c = GetParam();
  Start(c.Mode, c.Rows);
  Advance_To(61);
  Tap(Key::Move); // ignored while the warning plays
  Tap(Key::Cursor);
  Advance_To(c.Resume - 1);
  EXPECT_EQ(Lit_Text(), c.Lit_While_Warning);
  EXPECT_FALSE(Game.Input_Enabled);
  EXPECT_FALSE(Game.Timer_Score.Enabled()) << "a warning is no waiting time";
  Advance_To(c.Resume);
  EXPECT_TRUE(Game.Input_Enabled);
  EXPECT_TRUE(Game.Timer_Score.Enabled());
  EXPECT_EQ(Lit_Text(), c.Lit_On_Resume);
  EXPECT_EQ(Panel(), "A0");
  Advance_To(c.Resume + 299);
  EXPECT_EQ(Lit_Text(), c.Lit_On_Resume);
  Advance_To(c.Resume + 300);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_up") << "the first blink hides the indicators";
  EXPECT_EQ(Sounds(), c.Sounds);
  EXPECT_EQ(Game.Cursor_Direction, 1);
  EXPECT_EQ(Game.Cell(0, 0), Cell_Warrior);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Arrival, Warnings,
    ::testing::Values(
        //           Name            Mode          Rows (the warrior at (0, 0))
        //           Sounds
        //           Resume  Lit while warning     Lit on resume
        Warning_Case{"Dragon",       Mode_Level_3, {"W", "D", "", "", "", "BBBB"},
                     "Dragon@60 Dragon@530 Dragon@1000 Dragon@1470",
                     1940,   "im_dragon",          "im_maze im_cursor_up im_dragon"},
        Warning_Case{"Arrow",        Mode_Level_3, {"WA", "", "", "", "", "BBBB", "", "", "..D"},
                     "Found@60",
                     1060,   "im_arrow_1",         "im_arrow_1 im_maze im_cursor_up"},
        Warning_Case{"ArrowAndHook", Mode_Level_2, {"WA", "H", "", "", "", "BBBB", "", "", "..D"},
                     "Found@60",
                     1060,   "im_arrow_1 im_hook", "im_arrow_1 im_maze im_cursor_up im_hook"},
        Warning_Case{"DragonAndHook", Mode_Level_2, {"WH", "D", "", "", "", "BBBB"},
                     "Dragon@60 Dragon@530 Dragon@1000 Dragon@1470 Found@2310",
                     3310,   "im_hook im_dragon",  "im_maze im_cursor_up im_hook im_dragon"}),
    [](const auto& info) { return info.param.Name; });
// clang-format on

} // namespace
