// The bats: what follows a bat turn, the two flights that carry the warrior off, and the drop
// into a random cell.
#include "game/unit1.h"

// One frame of a flight: the bat and the warrior each move from one position to the next
// (0 leaves that one unchanged; a bat frame with From 0 only shows To).
struct Flight_Frame {
  int Bat_From, Bat_To;         // 1..5, im_bat_N
  int Warrior_From, Warrior_To; // 1..5, im_warrior_N
  Sound_Name Sound;
};

namespace {
// The walk into a bat's cell: the warrior walks in, the bat flies in from the left, grabs him,
// carries him round once and leaves him at the third position while it flies on.
constexpr std::array<Flight_Frame, 12> Bat_Sequence_Frames = {{
    {0, 0, 1, 2, Sound_Name::Step},
    {0, 0, 2, 3, Sound_Name::Step},
    {0, 1, 0, 0, Sound_Name::Step_bat},
    {1, 2, 0, 0, Sound_Name::Step_bat},
    {2, 3, 0, 0, Sound_Name::Step_bat},
    {3, 4, 3, 4, Sound_Name::Step_bat},
    {4, 5, 4, 5, Sound_Name::Step_bat},
    {5, 1, 5, 1, Sound_Name::Step_bat},
    {1, 2, 1, 2, Sound_Name::Step_bat},
    {2, 3, 2, 3, Sound_Name::Step_bat},
    {3, 4, 0, 0, Sound_Name::Step_bat},
    {4, 5, 0, 0, Sound_Name::Step_bat},
}};

// A bat that flew onto the warrior: both start at the first position.
constexpr std::array<Flight_Frame, 9> Carrying_Off_Frames = {{
    {1, 2, 1, 2, Sound_Name::Step_bat},
    {2, 3, 2, 3, Sound_Name::Step_bat},
    {3, 4, 3, 4, Sound_Name::Step_bat},
    {4, 5, 4, 5, Sound_Name::Step_bat},
    {5, 1, 5, 1, Sound_Name::Step_bat},
    {1, 2, 1, 2, Sound_Name::Step_bat},
    {2, 3, 2, 3, Sound_Name::Step_bat},
    {3, 4, 0, 0, Sound_Name::Step_bat},
    {4, 5, 0, 0, Sound_Name::Step_bat},
}};

// The warrior arrives from the air: the sequence for the cell he is dropped into starts at once
// after its two walking frames. Onto another bat it starts at its second walking frame, which
// leaves him where he is with one more Step.
constexpr std::int32_t Drop_Entry_Step = 3;
constexpr std::int32_t Drop_Onto_Bat_Entry_Step = 2;

Element_Id Bat_Image(int n) {
  return Bat_Images[static_cast<std::size_t>(n - 1)];
}
} // namespace

void Game_Core::Play_Flight_Frame(const Flight_Frame& frame) {
  if (frame.Bat_From != 0) Surface.Hide(Bat_Image(frame.Bat_From));
  if (frame.Bat_To != 0) Surface.Show(Bat_Image(frame.Bat_To));
  if (frame.Warrior_From != 0)
    Swap(Warrior_Images[static_cast<std::size_t>(frame.Warrior_From)],
         Warrior_Images[static_cast<std::size_t>(frame.Warrior_To)]);
  Snd_Play(frame.Sound);
}

void Game_Core::Timer_Bat_MovesTimer() {
  if (Bat_On_Warrior) {
    Surface.Vid_Show_All(false);
    Show_Carried_Items();
    Surface.Show(im_warrior_1);
    Surface.Show(im_bat_1);
    Snd_Play(Sound_Name::Step_bat);
    Arm(Timer_Bat_Warrior_Move, Bat_Warrior_Move_Step, 1, Step_Interval_Ms);
  } else {
    Gam_Check_Close_To_Bat();
    for (Element_Id indicator : {im_pit, im_bat_1, im_hook, im_arrow_1, im_dragon})
      Surface.Hide(indicator);
    if (Close_To_Arrow || Close_To_Bat || Close_To_Dragon || Close_To_Hook || Close_To_Pit) {
      Timer_Blinking.Set_Interval(500);
      Timer_Blinking.Set_Enabled(true);
    }
    Vid_Show_Cheat(Cheat_Shown);
    Input_Enabled = true;
    Timer_Score.Set_Interval(100);
    Timer_Score.Set_Enabled(true);
  }
  Timer_Bat_Moves.Set_Enabled(false);
}

void Game_Core::Timer_Move_To_BatTimer() {
  Run_Step(Move_To_Bat_Step, [this](std::int32_t step) {
    if (step >= 1 && step <= 12) {
      Play_Flight_Frame(Bat_Sequence_Frames[static_cast<std::size_t>(step - 1)]);
      if (step == 12) Timer_Move_To_Bat.Set_Interval(350);
    } else if (step == 13) {
      // A drop onto another bat re-arms this very sequence, which then keeps running.
      if (Bat_Drop() != Cell_Bat) Timer_Move_To_Bat.Set_Enabled(false);
    }
  });
}

void Game_Core::Timer_Bat_Warrior_MoveTimer() {
  Run_Step(Bat_Warrior_Move_Step, [this](std::int32_t step) {
    if (step >= 1 && step <= 9) {
      Play_Flight_Frame(Carrying_Off_Frames[static_cast<std::size_t>(step - 1)]);
    } else if (step == 10) {
      Bat_Drop();
      Vid_Show_Cheat(Cheat_Shown);
      Timer_Bat_Warrior_Move.Set_Enabled(false);
    }
  });
}

std::int32_t Game_Core::Bat_Drop() {
  const Cell_Position taken_from{Warrior_X, Warrior_Y};
  for (int i = 1; i <= Bat_Count; ++i) {
    Cell_Position& bat = Bat_Position[static_cast<std::size_t>(i)];
    if (bat != taken_from) continue;
    Cell_Position free;
    do
      free = Random_Cell();
    while (Cell(free) != Cell_Empty);
    Cell(taken_from) = Cell_Warrior;
    bat = free;
    Cell(free) = Cell_Bat;
    break;
  }

  Cell_Position drop;
  do
    drop = Random_Cell();
  while (drop.X == taken_from.X || drop.Y == taken_from.Y);

  Cell(taken_from) = Cell_Empty;
  Warrior_X = drop.X;
  Warrior_Y = drop.Y;
  const std::int32_t found = Cell(drop);
  Arm_Sequence_For(found, found == Cell_Bat ? Drop_Onto_Bat_Entry_Step : Drop_Entry_Step, 1);
  return found;
}
