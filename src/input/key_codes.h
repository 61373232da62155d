// The Windows virtual-key codes in which the game stores and compares its keys. A code names the
// physical key, not the character it types: it is read from the native key event (the X key
// code and keysym) through the keyboard layout, never from the toolkit's key, which changes
// with Shift and the layout.
#pragma once

#include <cstdint>

class QKeyEvent;
class Keyboard_Layout;

namespace Vk {
inline constexpr std::uint16_t Return = 0x0D, Escape = 0x1B, Main_1 = 0x31;
} // namespace Vk

// The key as the desktop reported it: the X key code, the keysym it typed with the modifiers
// then held, and the X state (modifier bits, group in bits 13 and 14).
struct Native_Key {
  std::uint32_t Keycode = 0;
  std::uint32_t Keysym = 0;
  std::uint32_t State = 0;
};

// The code of the key, or 0 for a key the game has no code for:
// - the top-row digit keys give 0x30..0x39 by their place, whatever the layout prints on them
//   and whether Shift is held; the keypad's digits are 0x60..0x69 (with Num Lock; without it
//   they are the navigation keys they act as);
// - letter keys give 0x41..0x5A by the letter the layout puts on them (on AZERTY the key right
//   of Tab is A); a key of a non-Latin group gives the Latin letter another group puts there;
// - Shift, Ctrl and Alt (either side, AltGr too) give 0x10, 0x11, 0x12 whatever else is held.
// With no layout the codes come from the keysym alone.
std::uint16_t Virtual_Key_Code(const Native_Key& key, const Keyboard_Layout* layout);
// Events that carry no native key (made by the program or a test) are read by their toolkit
// key; the others through the given layout.
std::uint16_t Virtual_Key_Code(const QKeyEvent& event, const Keyboard_Layout* layout);
// As above, with the program's current layout.
std::uint16_t Virtual_Key_Code(const QKeyEvent& event);
