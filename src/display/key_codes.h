// Translation of Qt key events into the Windows virtual-key codes in which the game stores and
// compares its keys.
#pragma once

#include <cstdint>

class QKeyEvent;

// The virtual-key code of the key, or 0 for a key the game has no code for. Keypad digits are
// not the main keyboard's digits.
std::uint16_t Virtual_Key_Code(const QKeyEvent& event);
std::uint16_t Virtual_Key_Code(int qt_key, bool keypad);

namespace Vk {
inline constexpr std::uint16_t Return = 0x0D, Escape = 0x1B, Main_1 = 0x31;
} // namespace Vk
