// Warnings on arrival: the dragon's roar four times, the found sound for the arrow or the hook,
// and then the player's turn.
#include "game/unit1.h"

void Game_Core::Resume_After_Warning() {
  Show_Maze_View();
  Timer_Blinking.Set_Interval(300);
  Timer_Blinking.Set_Enabled(true);
  Input_Enabled = true;
  Timer_Score.Set_Interval(100);
  Timer_Score.Set_Enabled(true);
}

void Game_Core::Timer_Found_DragonTimer() {
  Run_Step(Found_Dragon_Step, [this](std::int32_t step) {
    if (step >= 1 && step <= 4) {
      Snd_Play(Sound_Name::Dragon);
      if (step == 1) Timer_Found_Dragon.Set_Interval(470);
    } else if (step == 5) {
      if (Close_To_Hook || Close_To_Arrow)
        Arm(Timer_Found_Arrow_Hook, Found_Arrow_Hook_Step, 1, 370);
      else
        Resume_After_Warning();
      Timer_Found_Dragon.Set_Enabled(false);
    }
  });
}

void Game_Core::Timer_Found_Arrow_HookTimer() {
  Run_Step(Found_Arrow_Hook_Step, [this](std::int32_t step) {
    if (step == 1) {
      Snd_Play(Sound_Name::Found);
      Timer_Found_Arrow_Hook.Set_Interval(1000);
    } else if (step == 2) {
      Resume_After_Warning();
      Timer_Found_Arrow_Hook.Set_Enabled(false);
    }
  });
}
