// A keyboard layout as the X server and xkbcommon describe it: which physical key sits where (its
// name, such as AE01 for the top-row key left of the 2) and what each key carries in each group.
// Key codes are read from it by the physical key, so they do not change with Shift or the layout.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

struct xkb_keymap;

class Keyboard_Layout {
public:
  // Compiled from xkeyboard-config's names, as setxkbmap would name them ("us", "fr",
  // "us,ru"); empty names take xkbcommon's defaults. Null when the names do not compile.
  static std::shared_ptr<const Keyboard_Layout> Compile(const char* layout = "",
                                                        const char* variant = "");
  // Takes over a keymap reference (the X server's, for instance). Null for a null keymap.
  static std::shared_ptr<const Keyboard_Layout> Adopt(xkb_keymap* keymap);

  // The layout the program reads its key events with: the X server's where the program set it
  // up (and follows its changes), otherwise the compiled defaults. May be null when not even
  // the defaults compile; the codes then come from the event alone.
  static std::shared_ptr<const Keyboard_Layout> Current();
  static void Set_Current(std::shared_ptr<const Keyboard_Layout> layout);

  ~Keyboard_Layout();
  Keyboard_Layout(const Keyboard_Layout&) = delete;
  Keyboard_Layout& operator=(const Keyboard_Layout&) = delete;

  // The key's name in the keymap ("AE01", "LFSH", "KP1"); empty for an unknown key code.
  std::string_view Key_Name(std::uint32_t keycode) const;
  // The key code of a named key, 0 when the keymap has no such key.
  std::uint32_t Keycode(const char* name) const;
  // The keysym on the key's first level in the group (the key unmodified), 0 when none. A
  // group beyond the key's own groups wraps round, as the server does.
  std::uint32_t Base_Keysym(std::uint32_t keycode, std::uint32_t group) const;
  // How many groups the key has.
  std::uint32_t Group_Count(std::uint32_t keycode) const;

  xkb_keymap* Keymap() const { return Map; }

private:
  explicit Keyboard_Layout(xkb_keymap* keymap) : Map(keymap) {}
  xkb_keymap* Map;
};
