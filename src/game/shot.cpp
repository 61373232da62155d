// The arrow's flight: four frames, then the one cell in the cursor's direction decides between
// the dragon's death and a lost arrow.
#include "game/unit1.h"

namespace {
// A hit leaves out the miss's two steps, 5 and 6.
constexpr std::int32_t Hit_Step = 7;
} // namespace

void Game_Core::Timer_Shoot_ArrowTimer() {
  Run_Step(Shoot_Arrow_Step, [this](std::int32_t step) {
    switch (step) {
    case 1:
    case 2:
    case 3:
      Swap(Arrow_Images[static_cast<std::size_t>(step - 1)],
           Arrow_Images[static_cast<std::size_t>(step)]);
      Snd_Play(Sound_Name::Arrow);
      break;
    case 4:
      Swap(im_arrow_3, im_arrow_4);
      Snd_Play(Sound_Name::Arrow);
      if (Cell(Step_From({Warrior_X, Warrior_Y}, Cursor_Direction)) == Cell_Dragon) {
        Surface.Show(im_dragon);
        Shoot_Arrow_Step = Hit_Step - 1; // the tick adds one
        Timer_Shoot_Arrow.Set_Interval(630);
      }
      break;
    case 5:
      Swap(im_arrow_4, im_arrow_5);
      Snd_Play(Sound_Name::Gameover);
      Timer_Shoot_Arrow.Set_Interval(1500);
      break;
    case 6:
      // Missed: the arrow falls somewhere in the dungeon and the dragon, woken, moves away.
      Surface.Hide(im_warrior_0);
      Surface.Hide(im_arrow_5);
      Show_Maze_View();
      Has_Arrow = false;
      Gam_Set_Item_Position(Cell_Arrow);
      Gam_Set_Item_Position(Cell_Dragon);
      Gam_Set_Warriors_Cell();
      Timer_Shoot_Arrow.Set_Enabled(false);
      break;
    case Hit_Step:
      Swap(im_arrow_4, im_arrow_6);
      Surface.Hide(im_dragon);
      Snd_Play(Sound_Name::Win);
      Win_Level = Played_Level(Game_Mode);
      Arm(Timer_Game_Over_Win, Game_Over_Step, 1, 5000);
      Timer_Shoot_Arrow.Set_Enabled(false);
      break;
    default: break;
    }
  });
}
