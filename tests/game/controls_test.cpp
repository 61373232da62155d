#include "game_fixture.h"

namespace {

using Controls = Game_Fixture;

TEST_F(Controls, AHeldMoveKeyWalksOneCell) {
  Start_Quiet();
  for (int repeat = 0; repeat < 30; ++repeat) { // auto-repeat of a held key
    Press(Key::Move);
    Advance(100);
  }
  EXPECT_EQ((Cell_Position{Game.Warrior_X, Game.Warrior_Y}), (Cell_Position{0, 9}));
  EXPECT_EQ(Sounds(), "Step@0 Step@315 Step@630");
  Release(Key::Move);
  Tap(Key::Move);
  Advance(945);
  EXPECT_EQ((Cell_Position{Game.Warrior_X, Game.Warrior_Y}), (Cell_Position{0, 8}));
}

TEST_F(Controls, ArrowKeysShareTheCursorLatch) {
  Start_Quiet();
  Press(Vk::Up);
  Press(Vk::Left); // Up still held
  EXPECT_EQ(Game.Cursor_Direction, 1);
  EXPECT_EQ(Sounds(), "Cursor@0") << "pointing the way it already points still sounds";
  Release(Vk::Left); // either arrow key lets go of the latch
  Press(Vk::Left);
  EXPECT_EQ(Game.Cursor_Direction, 4);
  EXPECT_EQ(Lit_Text(), "im_maze im_cursor_left");
  Release(Vk::Left);

  std::string turns;
  for (int i = 0; i < 4; ++i) {
    Tap(Key::Cursor);
    turns += std::to_string(Game.Cursor_Direction);
  }
  EXPECT_EQ(turns, "1234");
  EXPECT_TRUE(Is_Lit(im_cursor_left));
  EXPECT_EQ(Lit().size(), 2u) << "one cursor at a time";
}

TEST_F(Controls, PressesDuringASequenceAreNeitherActedOnNorStored) {
  Start_Quiet();
  Carry(false, true);
  Tap(Key::Move);
  Advance(100);
  Press(Key::Cursor);
  Tap(Key::Attack);
  Tap(Key::Move);
  Advance(845);
  ASSERT_TRUE(Game.Input_Enabled);
  EXPECT_EQ(Game.Cursor_Direction, 1);
  EXPECT_EQ((Cell_Position{Game.Warrior_X, Game.Warrior_Y}), (Cell_Position{0, 9}));
  EXPECT_EQ(Sounds(), "Step@0 Step@315 Step@630");
  Press(Key::Cursor); // repeat of the held key
  EXPECT_EQ(Game.Cursor_Direction, 1);
  Release(Key::Cursor);
  Press(Key::Cursor);
  EXPECT_EQ(Game.Cursor_Direction, 2);
}

TEST_F(Controls, ResetStopsEverythingAndItsRepeatsResetAgain) {
  Start_Quiet(Mode_Level_1);
  Tap(Key::Move);
  Advance(400);
  Press(Key::Reset);
  EXPECT_EQ(Game.Game_Mode, Mode_Reset);
  EXPECT_EQ(Lit_Text(), "");
  EXPECT_EQ(Panel(), "  ");
  EXPECT_EQ(Clock.Next_Due(), -1);
  EXPECT_FALSE(Game.Input_Enabled);
  Press(Key::Reset);
  EXPECT_EQ(Sound.Silences, (std::vector<std::int64_t>{400, 400}));
  Release(Key::Reset);
  EXPECT_EQ(Game.Game_Mode, Mode_Demo);
  Advance(450);
  EXPECT_EQ(Panel(), "A0");

  // Reset acts in every other mode as well.
  for (Game_Mode_Value mode : {Mode_Select_Level_2, Mode_Level_2, Mode_Game_Over}) {
    Game.Set_Game_Mode(mode);
    Game.Gam_Set_Mode();
    Press(Key::Reset);
    EXPECT_EQ(Game.Game_Mode, Mode_Reset);
    EXPECT_EQ(Clock.Next_Due(), -1) << "from mode " << mode;
    Release(Key::Reset);
  }
}

TEST_F(Controls, InsertShowsTheHiddenGridOnlyDuringAGame) {
  Press(Vk::Insert);
  EXPECT_FALSE(Game.Cheat_Shown);
  Start_Quiet();
  Press(Vk::Insert);
  EXPECT_EQ(Surface[la_cheat_0].Text.toStdString(), "1000000000");
  EXPECT_EQ(Surface[la_cheat_4].Text.toStdString(), "0002332000");
  Press(Vk::Insert);
  EXPECT_EQ(Surface[la_cheat_0].Text.toStdString(), "");

  // Open, the rows follow the warrior's moves.
  Press(Vk::Insert);
  Tap(Key::Move);
  Advance(945);
  EXPECT_EQ(Surface[la_cheat_0].Text.toStdString(), "0000000000");
  EXPECT_EQ(Surface[la_cheat_9].Text.toStdString(), "1000000000");

  // Entering any mode but the game's end closes them, and they stay closed in the next game.
  for (int m = Mode_Reset; m <= Mode_Level_3; ++m) {
    const auto mode = static_cast<Game_Mode_Value>(m);
    Game.Cheat_Shown = true;
    Game.Vid_Show_Cheat(true);
    Game.Set_Game_Mode(mode);
    Game.Gam_Set_Mode();
    EXPECT_FALSE(Game.Cheat_Shown) << "mode " << mode;
    EXPECT_EQ(Surface[la_cheat_9].Text.toStdString(), "") << "mode " << mode;
  }
}

TEST_F(Controls, StepsWrapAndAPitIsLeftAsAPit) {
  Start(Mode_Level_1, {"", "", "", "", "", "X", "", "BBBB", "", "....D"});
  Aim(4);
  Tap(Key::Move);
  EXPECT_EQ(Game.Cell(0, 5), Cell_Pit);
  Advance(945);
  EXPECT_EQ((Cell_Position{Game.Warrior_X, Game.Warrior_Y}), (Cell_Position{9, 5}));
  EXPECT_EQ(Panel(), "F9");
}

TEST_F(Controls, KeysFollowTheBindingsAndEachActionIsTraced) {
  std::vector<std::string> trace;
  Game.Trace = [&](const std::string& line) { trace.push_back(line); };
  Game.Key_Bindings[Binding_Attack].Key_Code = 0x41; // A
  Tap(Key::Attack);                                  // Ctrl no longer attacks
  Tap(0x47);                                         // an unbound key
  Press(Vk::Insert);                                 // no hidden grid outside a game
  Tap(Key::Reset);
  Tap(0x41);
  // A button's own code, as a game controller sends it, whatever key the button has.
  Tap(Button_Code(Binding_Move));
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "input Inp_acl_press", "silence", "input Inp_acl_release", "mode 1",
                       "input Inp_attack_press", "mode 2", "input Inp_attack_release",
                       "input Inp_move_press", "mode 3", "input Inp_move_release"}));
  Start_Quiet();
  trace.clear();
  Press(Vk::Insert);
  EXPECT_EQ(trace, (std::vector<std::string>{"input cheat"}));
}

} // namespace
