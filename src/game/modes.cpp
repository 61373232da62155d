// The handheld's modes: what entering each one does, the start of a game and the attract
// animation that runs while nobody plays.
#include "game/unit1.h"

void Game_Core::Set_Game_Mode(std::int32_t mode) {
  if (Trace && mode != Game_Mode) Trace("mode " + std::to_string(mode));
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
  Cursor_Direction = 1;
  Gam_Set_Warriors_Cell();
  Timer_Game_Start.Set_Enabled(false);
}

namespace {
void Demo_Room(Lcd_Surface& surface, std::size_t column) {
  surface.Vid_Show_All(false);
  surface.Show(im_maze);
  surface.Show(im_cursor_right);
  surface.Show_Glyph(0, Panel_1_Letters[0]);
  surface.Show_Glyph(1, Panel_2_Digits[column]);
}
} // namespace

void Game_Core::Timer_Demo_ModeTimer() {
  // The bat carries the warrior along the top: im_bat_N and im_warrior_N move on together.
  const auto carry = [this](std::size_t from, std::size_t to) {
    Swap(Warrior_Images[from], Warrior_Images[to]);
    Swap(Bat_Images[from - 1], Bat_Images[to - 1]);
  };
  Run_Step(Demo_Step, [this, &carry](std::int32_t step) {
    switch (step) {
    case 1: Demo_Room(Surface, 0); break;
    case 7: Demo_Room(Surface, 1); break;
    case 13: Demo_Room(Surface, 2); break;
    case 4:
    case 10:
      Surface.Vid_Show_All(false);
      Surface.Show(im_warrior_1);
      break;
    case 5:
    case 11: Swap(im_warrior_1, im_warrior_2); break;
    case 6:
    case 12: Swap(im_warrior_2, im_warrior_3); break;
    case 16:
      Surface.Vid_Show_All(false);
      Surface.Show(im_warrior_1);
      Surface.Show(im_bat_1);
      break;
    case 17:
    case 22: carry(1, 2); break;
    case 18:
    case 23: carry(2, 3); break;
    case 19: carry(3, 4); break;
    case 20: carry(4, 5); break;
    case 21: carry(5, 1); break;
    case 24:
      Swap(im_warrior_3, im_warrior_6);
      Swap(im_bat_3, im_bat_4);
      Surface.Show(im_pit);
      break;
    case 25:
      Swap(im_warrior_6, im_warrior_7);
      Swap(im_bat_4, im_bat_5);
      Surface.Show(im_dragon);
      break;
    case 26:
      Surface.Hide(im_bat_5);
      Surface.Hide(im_dragon);
      break;
    case 27:
    case 29:
    case 31: Surface.Show(im_dragon); break;
    case 28:
    case 30: Surface.Hide(im_dragon); break;
    default: break; // the pauses: 2, 3, 8, 9, 14, 15, 32, 33
    }
  });
  if (Demo_Step == 34) Demo_Step = 1;
}
