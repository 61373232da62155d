#include "input/key_codes.h"

#include <QKeyEvent>
#include <string_view>
#include <utility>
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

// What a key is by its place on a US PC keyboard (evdev key codes plus 8, the codes of X11 and
// Wayland alike), for keys whose keysym says nothing the game knows.
enum class Place_Kind : std::uint8_t { None, Digit, Letter, Other };
struct Place {
  Place_Kind Kind = Place_Kind::None;
  std::uint16_t Code = 0;
};

struct Letter_Row {
  std::uint32_t First_Keycode;
  std::string_view Letters;
};
constexpr Letter_Row Letter_Rows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};

// The keys that are neither digits nor letters, by key code: Esc, Backspace, Tab, Enter, Ctrl,
// Shift, Alt and AltGr, Space, Caps Lock, F1 to F12, the navigation and editing keys.
constexpr std::pair<std::uint32_t, std::uint16_t> Other_Places[] = {
    {9, 0x1B},   {22, 0x08},  {23, 0x09},  {36, 0x0D},  {37, 0x11},  {105, 0x11}, {50, 0x10},
    {62, 0x10},  {64, 0x12},  {108, 0x12}, {65, 0x20},  {66, 0x14},  {67, 0x70},  {68, 0x71},
    {69, 0x72},  {70, 0x73},  {71, 0x74},  {72, 0x75},  {73, 0x76},  {74, 0x77},  {75, 0x78},
    {76, 0x79},  {95, 0x7A},  {96, 0x7B},  {110, 0x24}, {111, 0x26}, {112, 0x21}, {113, 0x25},
    {114, 0x27}, {115, 0x23}, {116, 0x28}, {117, 0x22}, {118, 0x2D}, {119, 0x2E}};

Place Place_Of(std::uint32_t keycode) {
  if (keycode >= 10 && keycode <= 19) // 1 .. 9, 0
    return {Place_Kind::Digit, static_cast<std::uint16_t>(0x30 + (keycode - 9) % 10)};
  for (const Letter_Row& row : Letter_Rows)
    if (keycode >= row.First_Keycode && keycode - row.First_Keycode < row.Letters.size())
      return {Place_Kind::Letter,
              static_cast<std::uint16_t>(row.Letters[keycode - row.First_Keycode])};
  for (const auto& [place, code] : Other_Places)
    if (place == keycode) return {Place_Kind::Other, code};
  return {};
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

std::uint16_t Virtual_Key_Code(const Native_Key& key) {
  if (key.Keysym >= XKB_KEY_0 && key.Keysym <= XKB_KEY_9)
    return static_cast<std::uint16_t>(0x30 + (key.Keysym - XKB_KEY_0));
  if (const std::uint16_t letter = Latin_Letter_Code(key.Keysym)) return letter;
  if (const std::uint16_t code = Keysym_Code(key.Keysym)) return code;
  // Nothing the game knows by the keysym: the key's place decides. A letter's place stands only
  // for a letter of another script: a comma where US has M stays a comma.
  const Place place = Place_Of(key.Keycode);
  switch (place.Kind) {
  case Place_Kind::Digit:
  case Place_Kind::Other: return place.Code;
  case Place_Kind::Letter: return Is_Cased_Letter(key.Keysym) ? place.Code : 0;
  case Place_Kind::None: return 0;
  }
  return 0;
}

std::uint16_t Virtual_Key_Code(const QKeyEvent& event) {
  if (event.nativeScanCode() == 0)
    return Toolkit_Key_Code(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
  return Virtual_Key_Code(Native_Key{event.nativeScanCode(), event.nativeVirtualKey()});
}
