#include "input/held_inputs.h"

#include <algorithm>

bool Held_Inputs::Press(Physical_Input input, std::uint16_t code) {
  if (Is_Down(input)) return false;
  Held.push_back({input, code});
  return true;
}

std::optional<std::uint16_t> Held_Inputs::Release(Physical_Input input) {
  const auto found = std::find_if(Held.begin(), Held.end(),
                                  [&](const Held_Input& held) { return held.Input == input; });
  if (found == Held.end()) return std::nullopt;
  const std::uint16_t code = found->Code;
  Held.erase(found);
  return code;
}

bool Held_Inputs::Is_Down(Physical_Input input) const {
  return std::any_of(Held.begin(), Held.end(),
                     [&](const Held_Input& held) { return held.Input == input; });
}

std::vector<std::uint16_t> Held_Inputs::Release_All(const Key_Binding_Table& bindings) {
  const auto rank = [&](const Held_Input& held) {
    for (int n = Binding_All_Clear; n <= Binding_Move; ++n)
      if (Is_Bound(bindings, n, held.Code)) return n;
    return Binding_Move + 1;
  };
  std::stable_sort(Held.begin(), Held.end(),
                   [&](const Held_Input& a, const Held_Input& b) { return rank(a) < rank(b); });
  return Release_All();
}

std::vector<std::uint16_t> Held_Inputs::Release_All() {
  std::vector<std::uint16_t> codes;
  codes.reserve(Held.size());
  for (const Held_Input& held : Held)
    codes.push_back(held.Code);
  Held.clear();
  return codes;
}
