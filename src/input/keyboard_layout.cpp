#include "input/keyboard_layout.h"

#include <xkbcommon/xkbcommon.h>

namespace {
// The defaults are compiled only when nobody set a layout before the first key.
struct Current_Layout {
  bool Set = false;
  std::shared_ptr<const Keyboard_Layout> Layout;
};
Current_Layout& Current_Slot() {
  static Current_Layout current;
  return current;
}
} // namespace

std::shared_ptr<const Keyboard_Layout> Keyboard_Layout::Compile(const char* layout,
                                                                const char* variant) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (!context) return nullptr;
  const xkb_rule_names names{nullptr, nullptr, layout, variant, nullptr};
  xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  xkb_context_unref(context); // the keymap keeps its own reference
  return Adopt(keymap);
}

std::shared_ptr<const Keyboard_Layout> Keyboard_Layout::Adopt(xkb_keymap* keymap) {
  if (!keymap) return nullptr;
  return std::shared_ptr<const Keyboard_Layout>(new Keyboard_Layout(keymap));
}

std::shared_ptr<const Keyboard_Layout> Keyboard_Layout::Current() {
  Current_Layout& slot = Current_Slot();
  if (!slot.Set) Set_Current(Compile());
  return slot.Layout;
}

void Keyboard_Layout::Set_Current(std::shared_ptr<const Keyboard_Layout> layout) {
  Current_Slot() = {true, std::move(layout)};
}

Keyboard_Layout::~Keyboard_Layout() {
  xkb_keymap_unref(Map);
}

std::string_view Keyboard_Layout::Key_Name(std::uint32_t keycode) const {
  const char* name = xkb_keymap_key_get_name(Map, keycode);
  return name ? std::string_view(name) : std::string_view();
}

std::uint32_t Keyboard_Layout::Keycode(const char* name) const {
  const xkb_keycode_t keycode = xkb_keymap_key_by_name(Map, name);
  return keycode == XKB_KEYCODE_INVALID ? 0 : keycode;
}

std::uint32_t Keyboard_Layout::Group_Count(std::uint32_t keycode) const {
  return xkb_keymap_num_layouts_for_key(Map, keycode);
}

std::uint32_t Keyboard_Layout::Base_Keysym(std::uint32_t keycode, std::uint32_t group) const {
  const xkb_layout_index_t groups = Group_Count(keycode);
  if (groups == 0) return 0;
  const xkb_keysym_t* syms = nullptr;
  const int count = xkb_keymap_key_get_syms_by_level(Map, keycode, group % groups, 0, &syms);
  return count == 1 ? syms[0] : 0;
}
