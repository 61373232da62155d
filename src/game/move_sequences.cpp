// The warrior's walk into the next cell, played out frame by frame; what the cell holds
// decides how the walk ends. A bat's drop enters the same sequences at their third step.
#include "game/unit1.h"

void Game_Core::Swap(Element_Id off, Element_Id on) {
  Surface.Hide(off);
  Surface.Show(on);
}

void Game_Core::Arm_Sequence_For(std::int32_t cell_code, std::int32_t first_step, int interval_ms) {
  switch (cell_code) {
  case Cell_Empty: Arm(Timer_Move_to_Free, Move_to_Free_Step, first_step, interval_ms); break;
  case Cell_Pit: Arm(Timer_Move_To_Pit, Move_To_Pit_Step, first_step, interval_ms); break;
  case Cell_Bat: Arm(Timer_Move_To_Bat, Move_To_Bat_Step, first_step, interval_ms); break;
  case Cell_Hook: Arm(Timer_Move_To_Hook, Move_To_Hook_Step, first_step, interval_ms); break;
  case Cell_Arrow: Arm(Timer_Move_To_Arrow, Move_To_Arrow_Step, first_step, interval_ms); break;
  case Cell_Dragon: Arm(Timer_Move_To_Dragon, Move_To_Dragon_Step, first_step, interval_ms); break;
  default: break; // the warrior's own cell: never the target of a step or a drop
  }
}

void Game_Core::Walking_Frame(std::int32_t step, Interval_Timer& timer, int frame_2_interval_ms) {
  if (step == 1) {
    Swap(im_warrior_1, im_warrior_2);
    Snd_Play(Sound_Name::Step);
  } else if (step == 2) {
    Swap(im_warrior_2, im_warrior_3);
    Snd_Play(Sound_Name::Step);
    timer.Set_Interval(frame_2_interval_ms);
  }
}

void Game_Core::Timer_Move_to_FreeTimer() {
  Run_Step(Move_to_Free_Step, [this](std::int32_t step) {
    Walking_Frame(step, Timer_Move_to_Free, Step_Interval_Ms);
    if (step != 3) return;
    Surface.Hide(im_warrior_3);
    Surface.Hide(im_bat_5);
    Cell(Warrior_X, Warrior_Y) = Cell_Warrior;
    Gam_Set_Warriors_Cell();
    Timer_Move_to_Free.Set_Enabled(false);
  });
}

// The hook and the arrow are picked up alike; only the flag and the icon differ.
void Game_Core::Move_To_Item_Step(std::int32_t step, Interval_Timer& timer, bool& carried,
                                  Element_Id icon) {
  Walking_Frame(step, timer, Step_Interval_Ms);
  switch (step) {
  case 3:
    Surface.Hide(im_bat_5);
    Snd_Play(Sound_Name::Got);
    timer.Set_Interval(780);
    break;
  case 4:
    carried = true;
    Surface.Show(icon);
    timer.Set_Interval(1000);
    break;
  case 5:
    Surface.Hide(im_warrior_3);
    Show_Maze_View();
    Cell(Warrior_X, Warrior_Y) = Cell_Warrior;
    Gam_Set_Warriors_Cell();
    timer.Set_Enabled(false);
    break;
  default: break;
  }
}

void Game_Core::Timer_Move_To_HookTimer() {
  Run_Step(Move_To_Hook_Step, [this](std::int32_t step) {
    Move_To_Item_Step(step, Timer_Move_To_Hook, Has_Hook, im_icon_hook);
  });
}

void Game_Core::Timer_Move_To_ArrowTimer() {
  Run_Step(Move_To_Arrow_Step, [this](std::int32_t step) {
    Move_To_Item_Step(step, Timer_Move_To_Arrow, Has_Arrow, im_icon_arrow);
  });
}

void Game_Core::Timer_Move_To_PitTimer() {
  Run_Step(Move_To_Pit_Step, [this](std::int32_t step) {
    Walking_Frame(step, Timer_Move_To_Pit, 350);
    switch (step) {
    case 3:
      Swap(im_warrior_3, im_warrior_6);
      Swap(im_bat_5, im_pit);
      Snd_Play(Sound_Name::Pit);
      Timer_Move_To_Pit.Set_Interval(1500);
      break;
    case 4:
      Swap(im_warrior_6, im_warrior_7);
      if (Has_Hook) {
        Timer_Move_To_Pit.Set_Interval(1000);
      } else {
        Arm_Game_Over_Lose(340);
        Timer_Move_To_Pit.Set_Enabled(false);
      }
      break;
    case 5:
      // The hook pulls him out and is used up; on the first two levels it turns up again.
      Has_Hook = false;
      Surface.Show(im_hook);
      Surface.Hide(im_icon_hook);
      if (Game_Mode == Mode_Level_1 || Game_Mode == Mode_Level_2) Gam_Set_Item_Position(Cell_Hook);
      break;
    case 6:
      Surface.Hide(im_warrior_7);
      Surface.Hide(im_pit);
      Surface.Hide(im_hook);
      Show_Maze_View();
      Cell(Warrior_X, Warrior_Y) = Cell_Warrior_In_Pit;
      Gam_Set_Warriors_Cell();
      Timer_Move_To_Pit.Set_Enabled(false);
      break;
    default: break;
    }
  });
}

void Game_Core::Timer_Move_To_DragonTimer() {
  Run_Step(Move_To_Dragon_Step, [this](std::int32_t step) {
    Walking_Frame(step, Timer_Move_To_Dragon, 350);
    if (step == 3) {
      Swap(im_warrior_3, im_warrior_6);
      Swap(im_bat_5, im_dragon);
      Snd_Play(Sound_Name::Pit);
      Timer_Move_To_Dragon.Set_Interval(1500);
    } else if (step == 4) {
      Arm_Game_Over_Lose(340);
      Timer_Move_To_Dragon.Set_Enabled(false);
    }
  });
}
