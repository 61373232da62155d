// Handlers of the rules and timed sequences that are not built yet. Each goes to the file of
// its subsystem as it is written; this file is removed when it is empty.
#include "game/unit1.h"

void Game_Core::Gam_Set_Mode() {}
void Game_Core::Gam_Stop_All_Timers() {}
void Game_Core::Timer_Game_StartTimer() {}
void Game_Core::Timer_Demo_ModeTimer() {}
void Game_Core::Inp_acl_press() {}
void Game_Core::Inp_acl_release() {}
void Game_Core::Inp_cursor_press() {}
void Game_Core::Inp_cursor_release() {}
void Game_Core::Inp_cursor_up_press() {}
void Game_Core::Inp_cursor_right_press() {}
void Game_Core::Inp_cursor_down_press() {}
void Game_Core::Inp_cursor_left_press() {}
void Game_Core::Inp_attack_press() {}
void Game_Core::Inp_attack_release() {}
void Game_Core::Inp_move_press() {}
void Game_Core::Inp_move_release() {}
void Game_Core::FormKeyDown(std::uint16_t) {}
void Game_Core::FormKeyUp(std::uint16_t) {}
void Game_Core::Gam_Set_Warriors_Cell() {}
void Game_Core::Gam_Check_Close_To_Arrow() {}
void Game_Core::Gam_Check_Close_To_Bat() {}
void Game_Core::Gam_Check_Close_To_Dragon() {}
void Game_Core::Gam_Check_Close_To_Hook() {}
void Game_Core::Gam_Check_Close_To_Pit() {}
void Game_Core::Show_Maze_View() {}
void Game_Core::Timer_BlinkingTimer() {}
void Game_Core::Timer_ScoreTimer() {}
void Game_Core::Timer_Game_Over_LoseTimer() {}
void Game_Core::Timer_Game_Over_WinTimer() {}
void Game_Core::Timer_Five_SecondsTimer() {}
void Game_Core::Timer_Move_to_FreeTimer() {}
void Game_Core::Timer_Move_To_PitTimer() {}
void Game_Core::Timer_Move_To_HookTimer() {}
void Game_Core::Timer_Move_To_ArrowTimer() {}
void Game_Core::Timer_Move_To_DragonTimer() {}
void Game_Core::Timer_Bat_MovesTimer() {}
void Game_Core::Timer_Bat_Warrior_MoveTimer() {}
void Game_Core::Timer_Move_To_BatTimer() {}
void Game_Core::Bat_Drop() {}
void Game_Core::Timer_Found_DragonTimer() {}
void Game_Core::Timer_Found_Arrow_HookTimer() {}
void Game_Core::Timer_Shoot_ArrowTimer() {}
