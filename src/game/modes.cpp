// The handheld's modes: what entering each one does, the start of a game and the attract
// animation that runs while nobody plays.
#include "game/unit1.h"

void Game_Core::Set_Game_Mode(Game_Mode_Value mode) {
  if (Trace && mode != Game_Mode) Trace("mode " + std::to_string(static_cast<int>(mode)));
  Game_Mode = mode;
}

void Game_Core::Gam_Stop_All_Timers() {
  for (Interval_Timer* timer : All_Timers())
    timer->Set_Enabled(false);
}

void Game_Core::Cheat_Off() {
  Cheat_Shown = false;
  Vid_Show_Cheat(false);
}

void Game_Core::Show_Panel(Element_Id left, Element_Id right) {
  Surface.Show_Glyph(0, left);
  Surface.Show_Glyph(1, right);
}

void Game_Core::Gam_Set_Mode() {
  switch (Game_Mode) {
  case Mode_Reset:
    Gam_Stop_All_Timers();
    Surface.Vid_Show_All(false);
    Cheat_Off();
    Snd_Silence();
    Input_Enabled = false;
    break;
  case Mode_Demo:
    // The demo owns the LCD: a win display still alternating the score would keep writing the
    // panel over the animation, so whatever runs stops first.
    Gam_Stop_All_Timers();
    Cheat_Off();
    Demo_Step = 1;
    Timer_Demo_Mode.Set_Interval(450);
    Timer_Demo_Mode.Set_Enabled(true);
    break;
  case Mode_Select_Level_1:
    Gam_Stop_All_Timers();
    Surface.Vid_Show_All(false);
    Cheat_Off();
    Show_Panel(Panel_1_Letters[10], Panel_2_Digits[1]);
    break;
  case Mode_Select_Level_2:
  case Mode_Select_Level_3:
    Cheat_Off();
    Show_Panel(Panel_1_Letters[10],
               Panel_2_Digits[static_cast<std::size_t>(Selected_Level(Game_Mode))]);
    break;
  case Mode_Level_1:
  case Mode_Level_2:
  case Mode_Level_3:
    Surface.Vid_Show_All(false);
    Cheat_Off();
    Timer_Game_Start.Set_Interval(1000);
    Timer_Game_Start.Set_Enabled(true);
    break;
  default: break;
  }
}

void Game_Core::Timer_Game_StartTimer() {
  Setup_Dungeon();
  Score = 0;
  Score_Tick = 1;
  Cursor_Direction = Direction_Up;
  Gam_Set_Warriors_Cell();
  Timer_Game_Start.Set_Enabled(false);
}

namespace {

// The attract animation, 33 steps of 450 ms, as what each step does in order. Steps without a
// row are pauses (2, 3, 8, 9, 14, 15, 32, 33).
enum class Demo_Do : std::uint8_t {
  Room,  // blank LCD, the maze with the cursor right, and cell A<digit> on the panel
  Clear, // blank LCD
  Show,
  Hide,
  Swap, // the first goes off and the second on
};
struct Demo_Action {
  std::int32_t Step;
  Demo_Do Do;
  Element_Id First;
  Element_Id Second = Element_Count;
};
constexpr std::int32_t Demo_Steps = 33;
constexpr Demo_Action Demo_Frames[] = {
    // The warrior walks through the first three rooms.
    {1, Demo_Do::Room, im_panel_number_2_0},
    {4, Demo_Do::Clear, Element_Count},
    {4, Demo_Do::Show, im_warrior_1},
    {5, Demo_Do::Swap, im_warrior_1, im_warrior_2},
    {6, Demo_Do::Swap, im_warrior_2, im_warrior_3},
    {7, Demo_Do::Room, im_panel_number_2_1},
    {10, Demo_Do::Clear, Element_Count},
    {10, Demo_Do::Show, im_warrior_1},
    {11, Demo_Do::Swap, im_warrior_1, im_warrior_2},
    {12, Demo_Do::Swap, im_warrior_2, im_warrior_3},
    {13, Demo_Do::Room, im_panel_number_2_2},
    // A bat carries him along the top: im_bat_N and im_warrior_N move on together.
    {16, Demo_Do::Clear, Element_Count},
    {16, Demo_Do::Show, im_warrior_1},
    {16, Demo_Do::Show, im_bat_1},
    {17, Demo_Do::Swap, im_warrior_1, im_warrior_2},
    {17, Demo_Do::Swap, im_bat_1, im_bat_2},
    {18, Demo_Do::Swap, im_warrior_2, im_warrior_3},
    {18, Demo_Do::Swap, im_bat_2, im_bat_3},
    {19, Demo_Do::Swap, im_warrior_3, im_warrior_4},
    {19, Demo_Do::Swap, im_bat_3, im_bat_4},
    {20, Demo_Do::Swap, im_warrior_4, im_warrior_5},
    {20, Demo_Do::Swap, im_bat_4, im_bat_5},
    {21, Demo_Do::Swap, im_warrior_5, im_warrior_1},
    {21, Demo_Do::Swap, im_bat_5, im_bat_1},
    {22, Demo_Do::Swap, im_warrior_1, im_warrior_2},
    {22, Demo_Do::Swap, im_bat_1, im_bat_2},
    {23, Demo_Do::Swap, im_warrior_2, im_warrior_3},
    {23, Demo_Do::Swap, im_bat_2, im_bat_3},
    // ... and drops him by the pit, before the dragon.
    {24, Demo_Do::Swap, im_warrior_3, im_warrior_6},
    {24, Demo_Do::Swap, im_bat_3, im_bat_4},
    {24, Demo_Do::Show, im_pit},
    {25, Demo_Do::Swap, im_warrior_6, im_warrior_7},
    {25, Demo_Do::Swap, im_bat_4, im_bat_5},
    {25, Demo_Do::Show, im_dragon},
    {26, Demo_Do::Hide, im_bat_5},
    {26, Demo_Do::Hide, im_dragon},
    {27, Demo_Do::Show, im_dragon},
    {28, Demo_Do::Hide, im_dragon},
    {29, Demo_Do::Show, im_dragon},
    {30, Demo_Do::Hide, im_dragon},
    {31, Demo_Do::Show, im_dragon},
};

} // namespace

void Game_Core::Timer_Demo_ModeTimer() {
  Run_Step(Demo_Step, [this](std::int32_t step) {
    for (const Demo_Action& action : Demo_Frames) {
      if (action.Step != step) continue;
      switch (action.Do) {
      case Demo_Do::Room:
        Surface.Vid_Show_All(false);
        Surface.Show(im_maze);
        Surface.Show(im_cursor_right);
        Show_Panel(Panel_1_Letters[0], action.First);
        break;
      case Demo_Do::Clear: Surface.Vid_Show_All(false); break;
      case Demo_Do::Show: Surface.Show(action.First); break;
      case Demo_Do::Hide: Surface.Hide(action.First); break;
      case Demo_Do::Swap: Swap(action.First, action.Second); break;
      }
    }
  });
  if (Demo_Step == Demo_Steps + 1) Demo_Step = 1;
}
