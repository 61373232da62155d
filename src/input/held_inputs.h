// The physical inputs that are down now, each with the code its press delivered. Every source of
// the handheld's key codes (the keyboard; other devices may join) records its presses here, so
// that a release carries the code of its press even when a modifier changed in between, a
// second press of an input already down counts as nothing, and a window that loses the input
// can release everything still down.
#pragma once

#include "game/key_bindings.h"

#include <cstdint>
#include <optional>
#include <vector>

enum class Input_Source : std::uint8_t { Keyboard, Controller };

// One physical key or button: the device it belongs to and its own number there (the X key
// code for a key).
struct Physical_Input {
  Input_Source Source = Input_Source::Keyboard;
  std::uint32_t Device = 0;
  std::uint32_t Control = 0;
  bool operator==(const Physical_Input&) const = default;
};

class Held_Inputs {
public:
  // True when the input was up: the press counts and its code is remembered.
  bool Press(Physical_Input input, std::uint16_t code);
  // The code the input's press delivered, forgetting it; none when it was not down.
  std::optional<std::uint16_t> Release(Physical_Input input);
  bool Is_Down(Physical_Input input) const;

  // Forgets every input still down and gives their codes, in the order of the bindings (All
  // Clear, Cursor, Start game/Attack, Select game/Move), the others after them in the order
  // they were pressed.
  std::vector<std::uint16_t> Release_All(const Key_Binding_Table& bindings);
  // As above, all in the order they were pressed.
  std::vector<std::uint16_t> Release_All();

private:
  struct Held_Input {
    Physical_Input Input;
    std::uint16_t Code;
  };
  std::vector<Held_Input> Held; // in the order of their presses
};
