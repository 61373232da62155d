// The Windows virtual-key codes the program names. Keys are stored and compared in these codes,
// the key bindings too; a code names the key, not the character it types (input/key_codes.h
// reads it from the native key event).
#pragma once

#include <cstdint>

namespace Vk {
inline constexpr std::uint16_t Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D;
inline constexpr std::uint16_t Shift = 0x10, Control = 0x11, Alt = 0x12, Pause = 0x13,
                               Caps_Lock = 0x14, Escape = 0x1B, Space = 0x20;
inline constexpr std::uint16_t Page_Up = 0x21, Page_Down = 0x22, End = 0x23, Home = 0x24;
inline constexpr std::uint16_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
inline constexpr std::uint16_t Print_Screen = 0x2C, Insert = 0x2D, Delete = 0x2E;
// The top row's digits 0..9 and the letters A..Z follow on from these, as in ASCII.
inline constexpr std::uint16_t Digit_0 = 0x30, Main_1 = 0x31, Letter_A = 0x41;
inline constexpr std::uint16_t Left_Windows = 0x5B, Right_Windows = 0x5C, Apps = 0x5D;
// The keypad's digits 0..9 follow on from Numpad_0, the function keys F1..F24 from F1.
inline constexpr std::uint16_t Numpad_0 = 0x60, Multiply = 0x6A, Add = 0x6B, Separator = 0x6C,
                               Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F, F1 = 0x70;
inline constexpr std::uint16_t Num_Lock = 0x90, Scroll_Lock = 0x91;
} // namespace Vk
