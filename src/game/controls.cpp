// The four buttons and the keys: press and release actions, the latches that make a held
// button act once, and the dispatch of key codes to actions.
#include "game/unit1.h"

namespace {
bool Is_Playing(std::int32_t mode) {
  return mode >= Mode_Level_1 && mode <= Mode_Level_3;
}

bool Is_Arrow_Key(std::uint16_t key_code) {
  return key_code == Vk::Up || key_code == Vk::Left || key_code == Vk::Right ||
         key_code == Vk::Down;
}
} // namespace

bool Game_Core::Latch(bool& held) {
  if (held) return false;
  held = true;
  return true;
}

void Game_Core::Show_Carried_Items() {
  Surface.Set_Shown(im_icon_hook, Has_Hook);
  Surface.Set_Shown(im_icon_arrow, Has_Arrow);
}

void Game_Core::Inp_acl_press() {
  if (Trace) Trace("input Inp_acl_press");
  Surface.Show(btn_acl_down);
  Set_Game_Mode(Mode_Reset);
  Gam_Set_Mode();
}

void Game_Core::Inp_acl_release() {
  if (Trace) Trace("input Inp_acl_release");
  Surface.Hide(btn_acl_down);
  Set_Game_Mode(Mode_Demo);
  Gam_Set_Mode();
}

void Game_Core::Point_Cursor(Direction direction) {
  if (!Is_Playing(Game_Mode) || !Input_Enabled) return;
  Surface.Vid_Show_Cursor(Cursor_Direction, false);
  Cursor_Direction = direction;
  Surface.Vid_Show_Cursor(Cursor_Direction, true);
  Snd_Play(Sound_Name::Cursor);
}

void Game_Core::Inp_cursor_press() {
  if (Trace) Trace("input Inp_cursor_press");
  Surface.Show(btn_cursor_down);
  if (Latch(Cursor_Held)) Point_Cursor(Clockwise(Cursor_Direction));
}

void Game_Core::Inp_cursor_up_press() {
  if (Trace) Trace("input Inp_cursor_up_press");
  Surface.Show(btn_cursor_down);
  if (Latch(Cursor_Held)) Point_Cursor(Direction_Up);
}

void Game_Core::Inp_cursor_right_press() {
  if (Trace) Trace("input Inp_cursor_right_press");
  Surface.Show(btn_cursor_down);
  if (Latch(Cursor_Held)) Point_Cursor(Direction_Right);
}

void Game_Core::Inp_cursor_down_press() {
  if (Trace) Trace("input Inp_cursor_down_press");
  Surface.Show(btn_cursor_down);
  if (Latch(Cursor_Held)) Point_Cursor(Direction_Down);
}

void Game_Core::Inp_cursor_left_press() {
  if (Trace) Trace("input Inp_cursor_left_press");
  Surface.Show(btn_cursor_down);
  if (Latch(Cursor_Held)) Point_Cursor(Direction_Left);
}

void Game_Core::Inp_cursor_release() {
  if (Trace) Trace("input Inp_cursor_release");
  Surface.Hide(btn_cursor_down);
  Cursor_Held = false;
}

void Game_Core::Inp_attack_press() {
  if (Trace) Trace("input Inp_attack_press");
  Surface.Show(btn_attack_down);
  if (!Latch(Attack_Held)) return;
  switch (Game_Mode) {
  case Mode_Demo:
    Set_Game_Mode(Mode_Select_Level_1);
    Gam_Set_Mode();
    break;
  case Mode_Select_Level_1:
  case Mode_Select_Level_2:
  case Mode_Select_Level_3:
    Set_Game_Mode(Playing_Mode(Selected_Level(Game_Mode)));
    Gam_Set_Mode();
    break;
  case Mode_Level_1:
  case Mode_Level_2:
  case Mode_Level_3:
    if (!Input_Enabled || !Has_Arrow) break;
    Input_Enabled = false;
    Gam_Stop_All_Timers();
    Surface.Vid_Show_All(false);
    Surface.Set_Shown(im_icon_hook, Has_Hook);
    Surface.Show(im_warrior_0);
    Surface.Show(im_arrow_0);
    Snd_Play(Sound_Name::Arrow);
    Arm(Timer_Shoot_Arrow, Shoot_Arrow_Step, 1, Step_Interval_Ms);
    break;
  case Mode_Game_Over:
    Five_Seconds_Passed = false;
    Timer_Five_Seconds.Set_Interval(5000);
    Timer_Five_Seconds.Set_Enabled(true);
    break;
  default: break;
  }
}

void Game_Core::Inp_attack_release() {
  if (Trace) Trace("input Inp_attack_release");
  Surface.Hide(btn_attack_down);
  Attack_Held = false;
  if (Game_Mode != Mode_Game_Over) return;
  Timer_Five_Seconds.Set_Enabled(false);
  if (!Five_Seconds_Passed) {
    Set_Game_Mode(Mode_Select_Level_1);
    Gam_Set_Mode();
  }
}

void Game_Core::Inp_move_press() {
  if (Trace) Trace("input Inp_move_press");
  Surface.Show(btn_move_down);
  if (!Latch(Move_Held)) return;
  if (Game_Mode >= Mode_Select_Level_1 && Game_Mode <= Mode_Select_Level_3) {
    Set_Game_Mode(Game_Mode == Mode_Select_Level_3 ? Mode_Select_Level_1
                                                   : static_cast<Game_Mode_Value>(Game_Mode + 1));
    Gam_Set_Mode();
  }
  if (!Is_Playing(Game_Mode) || !Input_Enabled) return;

  Input_Enabled = false;
  std::int32_t& left = Cell(Warrior_X, Warrior_Y);
  if (left == Cell_Warrior)
    left = Cell_Empty;
  else if (left == Cell_Warrior_In_Pit)
    left = Cell_Pit;
  const Cell_Position next = Step_From({Warrior_X, Warrior_Y}, Cursor_Direction);
  Warrior_X = next.X;
  Warrior_Y = next.Y;

  Gam_Stop_All_Timers();
  Surface.Vid_Show_All(false);
  Show_Carried_Items();
  Surface.Show(im_warrior_1);
  Snd_Play(Sound_Name::Step);
  Arm_Sequence_For(Cell(next), 1, Step_Interval_Ms);
}

void Game_Core::Inp_move_release() {
  if (Trace) Trace("input Inp_move_release");
  Surface.Hide(btn_move_down);
  Move_Held = false;
}

void Game_Core::FormKeyDown(std::uint16_t key_code) {
  auto bound = [&](int binding) { return Is_Bound(Key_Bindings, binding, key_code); };
  if (bound(Binding_All_Clear))
    Inp_acl_press();
  else if (bound(Binding_Cursor))
    Inp_cursor_press();
  else if (bound(Binding_Attack))
    Inp_attack_press();
  else if (bound(Binding_Move))
    Inp_move_press();
  else if (key_code == Vk::Up)
    Inp_cursor_up_press();
  else if (key_code == Vk::Left)
    Inp_cursor_left_press();
  else if (key_code == Vk::Right)
    Inp_cursor_right_press();
  else if (key_code == Vk::Down)
    Inp_cursor_down_press();
  else if (key_code == Vk::Insert && Is_Playing(Game_Mode)) {
    if (Trace) Trace("input cheat");
    Cheat_Shown = !Cheat_Shown;
    Vid_Show_Cheat(Cheat_Shown);
  }
}

void Game_Core::FormKeyUp(std::uint16_t key_code) {
  auto bound = [&](int binding) { return Is_Bound(Key_Bindings, binding, key_code); };
  if (bound(Binding_All_Clear))
    Inp_acl_release();
  else if (bound(Binding_Cursor))
    Inp_cursor_release();
  else if (bound(Binding_Attack))
    Inp_attack_release();
  else if (bound(Binding_Move))
    Inp_move_release();
  else if (Is_Arrow_Key(key_code))
    Inp_cursor_release();
}
