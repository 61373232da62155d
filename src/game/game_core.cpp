#include "game/unit1.h"

Cell_Position Step_From(Cell_Position from, Direction direction) {
  auto wrap = [](int v) { return (v + Dungeon_Size) % Dungeon_Size; };
  switch (direction) {
  case Direction_Up: return {from.X, wrap(from.Y - 1)};
  case Direction_Right: return {wrap(from.X + 1), from.Y};
  case Direction_Down: return {from.X, wrap(from.Y + 1)};
  case Direction_Left: return {wrap(from.X - 1), from.Y};
  default: return from;
  }
}

std::array<Cell_Position, 4> Neighbours(Cell_Position cell) {
  return {Step_From(cell, Direction_Left), Step_From(cell, Direction_Right),
          Step_From(cell, Direction_Up), Step_From(cell, Direction_Down)};
}

#define GAME_TIMER(name) name(timers, #name, [this] { name##Timer(); })

Game_Core::Game_Core(Lcd_Surface& surface, Sound_Output& sound, Timer_Backend& timers,
                     Random_Source& random)
    : GAME_TIMER(Timer_Bat_Moves), GAME_TIMER(Timer_Bat_Warrior_Move), GAME_TIMER(Timer_Blinking),
      GAME_TIMER(Timer_Demo_Mode), GAME_TIMER(Timer_Five_Seconds),
      GAME_TIMER(Timer_Found_Arrow_Hook), GAME_TIMER(Timer_Found_Dragon),
      GAME_TIMER(Timer_Game_Over_Lose), GAME_TIMER(Timer_Game_Over_Win),
      GAME_TIMER(Timer_Game_Start), GAME_TIMER(Timer_Move_To_Arrow), GAME_TIMER(Timer_Move_To_Bat),
      GAME_TIMER(Timer_Move_To_Dragon), GAME_TIMER(Timer_Move_to_Free),
      GAME_TIMER(Timer_Move_To_Hook), GAME_TIMER(Timer_Move_To_Pit), GAME_TIMER(Timer_Score),
      GAME_TIMER(Timer_Shoot_Arrow), Surface(surface), Sound(sound), Random_Generator(random) {}

#undef GAME_TIMER

std::array<Interval_Timer*, 18> Game_Core::All_Timers() {
  return {
      &Timer_Bat_Moves,      &Timer_Bat_Warrior_Move, &Timer_Blinking,      &Timer_Demo_Mode,
      &Timer_Five_Seconds,   &Timer_Found_Arrow_Hook, &Timer_Found_Dragon,  &Timer_Game_Over_Lose,
      &Timer_Game_Over_Win,  &Timer_Game_Start,       &Timer_Move_To_Arrow, &Timer_Move_To_Bat,
      &Timer_Move_To_Dragon, &Timer_Move_to_Free,     &Timer_Move_To_Hook,  &Timer_Move_To_Pit,
      &Timer_Score,          &Timer_Shoot_Arrow};
}

void Game_Core::Snd_Play(Sound_Name sound) {
  if (Trace) Trace("sound " + std::string(Sound_Name_Text(sound)));
  Sound.Snd_Play(sound);
}

void Game_Core::Snd_Silence() {
  if (Trace) Trace("silence");
  Sound.Snd_Silence();
}
