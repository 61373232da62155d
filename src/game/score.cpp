// Time spent waiting: the 5-second periods of the score, the bats' turns, and the end of a
// game, lost or won.
#include "game/unit1.h"

namespace {
// In a bat turn each bat tries one step, with a chance of two in five.
constexpr int Bat_Step_Chances = 2;
constexpr int Bat_Step_Out_Of = 5;
} // namespace

void Game_Core::Arm(Interval_Timer& timer, std::int32_t& counter, std::int32_t first_step,
                    int interval_ms) {
  counter = first_step;
  timer.Set_Interval(interval_ms);
  timer.Set_Enabled(true);
}

void Game_Core::Arm_Game_Over_Lose(int interval_ms) {
  Arm(Timer_Game_Over_Lose, Game_Over_Step, 1, interval_ms);
}

void Game_Core::Timer_ScoreTimer() {
  if (Score_Tick == 50) {
    ++Score;
    if (Score == 99) {
      Gam_Stop_All_Timers();
      Surface.Vid_Show_All(false);
      Show_Panel(Panel_1_Digits[9], Panel_2_Digits[9]);
      Input_Enabled = false;
      Arm_Game_Over_Lose(1);
      Timer_Score.Set_Enabled(false);
    } else {
      Score_Tick = 0;
      Bat_On_Warrior = false;
      bool moved = false;
      for (int i = 1; i <= Bat_Count; ++i) {
        if (Random(Bat_Step_Out_Of) >= Bat_Step_Chances) continue; // this bat rests
        Cell_Position& bat = Bat_Position[static_cast<std::size_t>(i)];
        const auto direction = static_cast<Direction>(Random(4) + 1); // up, right, down or left
        const Cell_Position target = Step_From(bat, direction);
        std::int32_t& there = Cell(target);
        if (there >= Cell_Pit) continue; // pits, bats, items and the dragon block the way
        if (there == Cell_Warrior) Bat_On_Warrior = true;
        Cell(bat) = Cell_Empty;
        bat = target;
        there = Cell_Bat;
        moved = true;
      }
      if (moved) {
        Gam_Stop_All_Timers();
        Input_Enabled = false;
        Snd_Play(Sound_Name::Bat);
        Timer_Bat_Moves.Set_Interval(1300);
        Timer_Bat_Moves.Set_Enabled(true);
      }
    }
  }
  ++Score_Tick;
}

void Game_Core::Timer_Game_Over_LoseTimer() {
  Run_Step(Game_Over_Step, [this](std::int32_t step) {
    switch (step) {
    case 1:
      Snd_Play(Sound_Name::Gameover);
      Timer_Game_Over_Lose.Set_Interval(530);
      break;
    case 2:
      Snd_Play(Sound_Name::Gameover);
      Timer_Game_Over_Lose.Set_Interval(870);
      break;
    case 3:
      Set_Game_Mode(Mode_Game_Over);
      Timer_Game_Over_Lose.Set_Enabled(false);
      break;
    default: break;
    }
  });
}

void Game_Core::Timer_Game_Over_WinTimer() {
  Run_Step(Game_Over_Step, [this](std::int32_t step) {
    if (step == 1) {
      Show_Panel(Panel_1_Digits[static_cast<std::size_t>(Score / 10)],
                 Panel_2_Digits[static_cast<std::size_t>(Score % 10)]);
      Set_Game_Mode(Mode_Game_Over);
      Timer_Game_Over_Win.Set_Interval(1000);
    } else if (step == 2) {
      Show_Panel(Panel_1_Letters[10], Panel_2_Digits[static_cast<std::size_t>(Win_Level)]);
    }
  });
  if (Game_Over_Step == 3) Game_Over_Step = 1;
}

void Game_Core::Timer_Five_SecondsTimer() {
  Five_Seconds_Passed = true;
  Set_Game_Mode(Mode_Demo);
  Gam_Set_Mode();
  Timer_Five_Seconds.Set_Enabled(false);
}
