// The four key bindings of the handheld's buttons. Key codes are Windows virtual-key codes, the
// form in which choices are stored and compared.
#pragma once

#include "game/virtual_keys.h"

#include <array>
#include <cstdint>

struct Key_Binding {
  std::int32_t Choice;    // 1..40, the position in the list of key choices plus one
  std::uint16_t Key_Code; // virtual-key code of Choice; 0 until first assigned
};

// Binding numbers 1..4; index 0 is unused so that the numbers read as in the settings (Key1..Key4).
enum Binding_Number : int { Binding_All_Clear = 1, Binding_Cursor, Binding_Attack, Binding_Move };
using Key_Binding_Table = std::array<Key_Binding, 5>;

// The defaults: the 5 key, Shift, Ctrl and Alt.
inline constexpr Key_Binding_Table Default_Key_Bindings = {
    {{0, 0}, {6, Vk::Digit_0 + 5}, {39, Vk::Shift}, {38, Vk::Control}, {37, Vk::Alt}}};

// Codes beyond the virtual keys that name a handheld button itself, whatever key is bound to it:
// a game controller's buttons stand for the handheld's buttons, not for the keys.
constexpr std::uint16_t Button_Code(int binding) {
  return static_cast<std::uint16_t>(0x100 + binding);
}

// Whether the code stands for the button: the key bound to it, or the button's own code. A
// binding that was never assigned has code 0 and must not catch a stray code 0.
constexpr bool Is_Bound(const Key_Binding_Table& bindings, int binding, std::uint16_t key_code) {
  const std::uint16_t code = bindings[static_cast<std::size_t>(binding)].Key_Code;
  return key_code == Button_Code(binding) || (code != 0 && code == key_code);
}
