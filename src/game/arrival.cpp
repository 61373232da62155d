// The warrior comes to rest in a cell: what the four neighbouring cells reveal, and whether
// he may act at once or is warned first.
#include "game/unit1.h"

void Game_Core::Check_Close_To(std::int32_t code, bool& flag, Element_Id indicator) {
  flag = false;
  for (const Cell_Position& neighbour : Neighbours({Warrior_X, Warrior_Y}))
    if (Cell(neighbour) == code) flag = true;
  if (flag) Surface.Show(indicator);
}

void Game_Core::Gam_Check_Close_To_Arrow() {
  Check_Close_To(Cell_Arrow, Close_To_Arrow, im_arrow_1);
}

void Game_Core::Gam_Check_Close_To_Bat() {
  Check_Close_To(Cell_Bat, Close_To_Bat, im_bat_1);
}

void Game_Core::Gam_Check_Close_To_Dragon() {
  Check_Close_To(Cell_Dragon, Close_To_Dragon, im_dragon);
}

void Game_Core::Gam_Check_Close_To_Hook() {
  Check_Close_To(Cell_Hook, Close_To_Hook, im_hook);
}

void Game_Core::Gam_Check_Close_To_Pit() {
  Check_Close_To(Cell_Pit, Close_To_Pit, im_pit);
}

void Game_Core::Show_Maze_View() {
  Surface.Show(im_maze);
  Show_Panel(Panel_1_Letters[static_cast<std::size_t>(Warrior_Y)],
             Panel_2_Digits[static_cast<std::size_t>(Warrior_X)]);
  Surface.Vid_Show_Cursor(Cursor_Direction, true);
}

void Game_Core::Gam_Set_Warriors_Cell() {
  Gam_Check_Close_To_Arrow();
  Gam_Check_Close_To_Bat();
  Gam_Check_Close_To_Dragon();
  Gam_Check_Close_To_Hook();
  Gam_Check_Close_To_Pit();

  if (Close_To_Dragon) {
    Input_Enabled = false;
    Arm(Timer_Found_Dragon, Found_Dragon_Step, 1, 60);
  } else if (Close_To_Arrow || Close_To_Hook) {
    Input_Enabled = false;
    Arm(Timer_Found_Arrow_Hook, Found_Arrow_Hook_Step, 1, 60);
  } else {
    Show_Maze_View();
    Input_Enabled = true;
    Timer_Score.Set_Interval(100);
    Timer_Score.Set_Enabled(true);
    if (Close_To_Bat || Close_To_Pit) {
      Timer_Blinking.Set_Interval(1000);
      Timer_Blinking.Set_Enabled(true);
    }
  }
  Vid_Show_Cheat(Cheat_Shown);
}

void Game_Core::Timer_BlinkingTimer() {
  if (Close_To_Pit) Surface.Toggle(im_pit);
  if (Close_To_Bat) Surface.Toggle(im_bat_1);
  if (Close_To_Hook) Surface.Toggle(im_hook);
  if (Close_To_Arrow) Surface.Toggle(im_arrow_1);
  if (Close_To_Dragon) Surface.Toggle(im_dragon);
  Timer_Blinking.Set_Interval(225);
}
