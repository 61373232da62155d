#include "input/key_codes.h"

#include "input/keyboard_layout.h"

#include <QKeyEvent>
#include <string_view>
#include <xkbcommon/xkbcommon.h>

namespace {

std::uint16_t Latin_Letter_Code(std::uint32_t keysym) {
  const std::uint32_t upper = xkb_keysym_to_upper(keysym);
  return upper >= XKB_KEY_A && upper <= XKB_KEY_Z
             ? static_cast<std::uint16_t>(0x41 + (upper - XKB_KEY_A))
             : std::uint16_t{0};
}

// A letter of some script: it has an upper and a lower case.
bool Is_Cased_Letter(std::uint32_t keysym) {
  return xkb_keysym_to_upper(keysym) != xkb_keysym_to_lower(keysym);
}

bool Is_Keypad(std::uint32_t keysym) {
  return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_Equal;
}

// Keys whose code is fixed by their keysym: modifiers, editing and navigation keys, function
// keys and the keypad.
std::uint16_t Keysym_Code(std::uint32_t keysym) {
  if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F24)
    return static_cast<std::uint16_t>(0x70 + (keysym - XKB_KEY_F1));
  if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
    return static_cast<std::uint16_t>(0x60 + (keysym - XKB_KEY_KP_0));
  switch (keysym) {
  case XKB_KEY_BackSpace: return 0x08;
  case XKB_KEY_Tab:
  case XKB_KEY_ISO_Left_Tab: return 0x09;
  case XKB_KEY_KP_Begin: return 0x0C;
  case XKB_KEY_Return:
  case XKB_KEY_KP_Enter: return 0x0D;
  case XKB_KEY_Shift_L:
  case XKB_KEY_Shift_R: return 0x10;
  case XKB_KEY_Control_L:
  case XKB_KEY_Control_R: return 0x11;
  case XKB_KEY_Alt_L:
  case XKB_KEY_Alt_R:
  case XKB_KEY_Meta_L:
  case XKB_KEY_Meta_R:
  case XKB_KEY_ISO_Level3_Shift: return 0x12; // AltGr is the right Alt key
  case XKB_KEY_Pause: return 0x13;
  case XKB_KEY_Caps_Lock: return 0x14;
  case XKB_KEY_Escape: return 0x1B;
  case XKB_KEY_space: return 0x20;
  case XKB_KEY_Prior:
  case XKB_KEY_KP_Prior: return 0x21;
  case XKB_KEY_Next:
  case XKB_KEY_KP_Next: return 0x22;
  case XKB_KEY_End:
  case XKB_KEY_KP_End: return 0x23;
  case XKB_KEY_Home:
  case XKB_KEY_KP_Home: return 0x24;
  case XKB_KEY_Left:
  case XKB_KEY_KP_Left: return 0x25;
  case XKB_KEY_Up:
  case XKB_KEY_KP_Up: return 0x26;
  case XKB_KEY_Right:
  case XKB_KEY_KP_Right: return 0x27;
  case XKB_KEY_Down:
  case XKB_KEY_KP_Down: return 0x28;
  case XKB_KEY_Print: return 0x2C;
  case XKB_KEY_Insert:
  case XKB_KEY_KP_Insert: return 0x2D;
  case XKB_KEY_Delete:
  case XKB_KEY_KP_Delete: return 0x2E;
  case XKB_KEY_Super_L: return 0x5B;
  case XKB_KEY_Super_R: return 0x5C;
  case XKB_KEY_Menu: return 0x5D;
  case XKB_KEY_KP_Multiply: return 0x6A;
  case XKB_KEY_KP_Add: return 0x6B;
  case XKB_KEY_KP_Separator: return 0x6C;
  case XKB_KEY_KP_Subtract: return 0x6D;
  case XKB_KEY_KP_Decimal: return 0x6E;
  case XKB_KEY_KP_Divide: return 0x6F;
  case XKB_KEY_Num_Lock: return 0x90;
  case XKB_KEY_Scroll_Lock: return 0x91;
  default: return 0;
  }
}

// The top row's digit keys, AE01 (1) to AE10 (0), by their names in the keymap.
std::uint16_t Top_Row_Digit_Code(std::string_view name) {
  if (name.size() != 4 || !name.starts_with("AE")) return 0;
  const int place = (name[2] - '0') * 10 + (name[3] - '0');
  if (place < 1 || place > 10) return 0;
  return static_cast<std::uint16_t>(0x30 + place % 10);
}

// Events without a native key: the toolkit's key, with the keypad told apart.
std::uint16_t Toolkit_Key_Code(int key, bool keypad) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<std::uint16_t>((keypad ? 0x60 : 0x30) + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return static_cast<std::uint16_t>(0x41 + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<std::uint16_t>(0x70 + (key - Qt::Key_F1));
  switch (key) {
  case Qt::Key_Backspace: return 0x08;
  case Qt::Key_Tab: return 0x09;
  case Qt::Key_Return:
  case Qt::Key_Enter: return 0x0D;
  case Qt::Key_Shift: return 0x10;
  case Qt::Key_Control: return 0x11;
  case Qt::Key_Alt:
  case Qt::Key_AltGr: return 0x12;
  case Qt::Key_Escape: return 0x1B;
  case Qt::Key_Space: return 0x20;
  case Qt::Key_PageUp: return 0x21;
  case Qt::Key_PageDown: return 0x22;
  case Qt::Key_End: return 0x23;
  case Qt::Key_Home: return 0x24;
  case Qt::Key_Left: return 0x25;
  case Qt::Key_Up: return 0x26;
  case Qt::Key_Right: return 0x27;
  case Qt::Key_Down: return 0x28;
  case Qt::Key_Insert: return 0x2D;
  case Qt::Key_Delete: return 0x2E;
  default: return 0;
  }
}

} // namespace

std::uint16_t Virtual_Key_Code(const Native_Key& key, const Keyboard_Layout* layout) {
  if (!layout) {
    if (key.Keysym >= XKB_KEY_0 && key.Keysym <= XKB_KEY_9)
      return static_cast<std::uint16_t>(0x30 + (key.Keysym - XKB_KEY_0));
    if (const std::uint16_t letter = Latin_Letter_Code(key.Keysym)) return letter;
    return Keysym_Code(key.Keysym);
  }
  if (const std::uint16_t digit = Top_Row_Digit_Code(layout->Key_Name(key.Keycode))) return digit;
  // Num Lock decides what a keypad key is, and the typed keysym already says it.
  if (Is_Keypad(key.Keysym)) return Keysym_Code(key.Keysym);

  // Everything else by what the key carries unmodified in the group in use, so that held
  // modifiers change nothing (Shift+Alt types Meta, yet it is the Alt key).
  const std::uint32_t group = (key.State >> 13) & 3;
  std::uint32_t base = layout->Base_Keysym(key.Keycode, group);
  if (base == 0) base = key.Keysym;
  if (const std::uint16_t letter = Latin_Letter_Code(base)) return letter;
  if (const std::uint16_t code = Keysym_Code(base)) return code;
  if (Is_Cased_Letter(base))
    for (std::uint32_t other = 0; other < layout->Group_Count(key.Keycode); ++other)
      if (const std::uint16_t letter = Latin_Letter_Code(layout->Base_Keysym(key.Keycode, other)))
        return letter;
  return 0;
}

std::uint16_t Virtual_Key_Code(const QKeyEvent& event, const Keyboard_Layout* layout) {
  if (event.nativeScanCode() == 0)
    return Toolkit_Key_Code(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
  return Virtual_Key_Code(
      Native_Key{event.nativeScanCode(), event.nativeVirtualKey(), event.nativeModifiers()},
      layout);
}

std::uint16_t Virtual_Key_Code(const QKeyEvent& event) {
  if (event.nativeScanCode() == 0) return Virtual_Key_Code(event, nullptr);
  return Virtual_Key_Code(event, Keyboard_Layout::Current().get());
}
