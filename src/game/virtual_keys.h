// The Windows virtual-key codes the program names. Keys are stored and compared in these codes,
// the key bindings too; a code names the key, not the character it types (input/key_codes.h
// reads it from the native key event).
#pragma once

#include <cstdint>

namespace Vk {
// The keys the game handles besides the bindings.
inline constexpr std::uint16_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D;
// The side windows' keys.
inline constexpr std::uint16_t Return = 0x0D, Escape = 0x1B, Main_1 = 0x31;
} // namespace Vk
