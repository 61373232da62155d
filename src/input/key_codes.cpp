#include "input/key_codes.h"

#include "game/virtual_keys.h"

#include <QKeyEvent>
#include <string_view>
#include <utility>
#include <xkbcommon/xkbcommon.h>

namespace {

std::uint16_t Latin_Letter_Code(std::uint32_t keysym) {
  const std::uint32_t upper = xkb_keysym_to_upper(keysym);
  return upper >= XKB_KEY_A && upper <= XKB_KEY_Z
             ? static_cast<std::uint16_t>(Vk::Letter_A + (upper - XKB_KEY_A))
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
    return static_cast<std::uint16_t>(Vk::F1 + (keysym - XKB_KEY_F1));
  if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
    return static_cast<std::uint16_t>(Vk::Numpad_0 + (keysym - XKB_KEY_KP_0));
  switch (keysym) {
  case XKB_KEY_BackSpace: return Vk::Back;
  case XKB_KEY_Tab:
  case XKB_KEY_ISO_Left_Tab: return Vk::Tab;
  case XKB_KEY_KP_Begin: return Vk::Clear;
  case XKB_KEY_Return:
  case XKB_KEY_KP_Enter: return Vk::Return;
  case XKB_KEY_Shift_L:
  case XKB_KEY_Shift_R: return Vk::Shift;
  case XKB_KEY_Control_L:
  case XKB_KEY_Control_R: return Vk::Control;
  case XKB_KEY_Alt_L:
  case XKB_KEY_Alt_R:
  case XKB_KEY_Meta_L:
  case XKB_KEY_Meta_R:
  case XKB_KEY_ISO_Level3_Shift: return Vk::Alt; // AltGr is the right Alt key
  case XKB_KEY_Pause: return Vk::Pause;
  case XKB_KEY_Caps_Lock: return Vk::Caps_Lock;
  case XKB_KEY_Escape: return Vk::Escape;
  case XKB_KEY_space: return Vk::Space;
  case XKB_KEY_Prior:
  case XKB_KEY_KP_Prior: return Vk::Page_Up;
  case XKB_KEY_Next:
  case XKB_KEY_KP_Next: return Vk::Page_Down;
  case XKB_KEY_End:
  case XKB_KEY_KP_End: return Vk::End;
  case XKB_KEY_Home:
  case XKB_KEY_KP_Home: return Vk::Home;
  case XKB_KEY_Left:
  case XKB_KEY_KP_Left: return Vk::Left;
  case XKB_KEY_Up:
  case XKB_KEY_KP_Up: return Vk::Up;
  case XKB_KEY_Right:
  case XKB_KEY_KP_Right: return Vk::Right;
  case XKB_KEY_Down:
  case XKB_KEY_KP_Down: return Vk::Down;
  case XKB_KEY_Print: return Vk::Print_Screen;
  case XKB_KEY_Insert:
  case XKB_KEY_KP_Insert: return Vk::Insert;
  case XKB_KEY_Delete:
  case XKB_KEY_KP_Delete: return Vk::Delete;
  case XKB_KEY_Super_L: return Vk::Left_Windows;
  case XKB_KEY_Super_R: return Vk::Right_Windows;
  case XKB_KEY_Menu: return Vk::Apps;
  case XKB_KEY_KP_Multiply: return Vk::Multiply;
  case XKB_KEY_KP_Add: return Vk::Add;
  case XKB_KEY_KP_Separator: return Vk::Separator;
  case XKB_KEY_KP_Subtract: return Vk::Subtract;
  case XKB_KEY_KP_Decimal: return Vk::Decimal;
  case XKB_KEY_KP_Divide: return Vk::Divide;
  case XKB_KEY_Num_Lock: return Vk::Num_Lock;
  case XKB_KEY_Scroll_Lock: return Vk::Scroll_Lock;
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
    {9, Vk::Escape},   {22, Vk::Back},     {23, Vk::Tab},      {36, Vk::Return},
    {37, Vk::Control}, {105, Vk::Control}, {50, Vk::Shift},    {62, Vk::Shift},
    {64, Vk::Alt},     {108, Vk::Alt},     {65, Vk::Space},    {66, Vk::Caps_Lock},
    {67, Vk::F1},      {68, Vk::F1 + 1},   {69, Vk::F1 + 2},   {70, Vk::F1 + 3},
    {71, Vk::F1 + 4},  {72, Vk::F1 + 5},   {73, Vk::F1 + 6},   {74, Vk::F1 + 7},
    {75, Vk::F1 + 8},  {76, Vk::F1 + 9},   {95, Vk::F1 + 10},  {96, Vk::F1 + 11},
    {110, Vk::Home},   {111, Vk::Up},      {112, Vk::Page_Up}, {113, Vk::Left},
    {114, Vk::Right},  {115, Vk::End},     {116, Vk::Down},    {117, Vk::Page_Down},
    {118, Vk::Insert}, {119, Vk::Delete}};

Place Place_Of(std::uint32_t keycode) {
  if (keycode >= 10 && keycode <= 19) // 1 .. 9, 0
    return {Place_Kind::Digit, static_cast<std::uint16_t>(Vk::Digit_0 + (keycode - 9) % 10)};
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
    return static_cast<std::uint16_t>((keypad ? Vk::Numpad_0 : Vk::Digit_0) + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return static_cast<std::uint16_t>(Vk::Letter_A + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<std::uint16_t>(Vk::F1 + (key - Qt::Key_F1));
  switch (key) {
  case Qt::Key_Backspace: return Vk::Back;
  case Qt::Key_Tab: return Vk::Tab;
  case Qt::Key_Return:
  case Qt::Key_Enter: return Vk::Return;
  case Qt::Key_Shift: return Vk::Shift;
  case Qt::Key_Control: return Vk::Control;
  case Qt::Key_Alt:
  case Qt::Key_AltGr: return Vk::Alt;
  case Qt::Key_Escape: return Vk::Escape;
  case Qt::Key_Space: return Vk::Space;
  case Qt::Key_PageUp: return Vk::Page_Up;
  case Qt::Key_PageDown: return Vk::Page_Down;
  case Qt::Key_End: return Vk::End;
  case Qt::Key_Home: return Vk::Home;
  case Qt::Key_Left: return Vk::Left;
  case Qt::Key_Up: return Vk::Up;
  case Qt::Key_Right: return Vk::Right;
  case Qt::Key_Down: return Vk::Down;
  case Qt::Key_Insert: return Vk::Insert;
  case Qt::Key_Delete: return Vk::Delete;
  default: return 0;
  }
}

} // namespace

std::uint16_t Virtual_Key_Code(const Native_Key& key) {
  if (key.Keysym >= XKB_KEY_0 && key.Keysym <= XKB_KEY_9)
    return static_cast<std::uint16_t>(Vk::Digit_0 + (key.Keysym - XKB_KEY_0));
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
