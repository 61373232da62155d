// Key codes read from the native key events of real layouts (xkbcommon's US, French and Russian
// keymaps, and a Cyrillic group), with and without Shift and other modifiers held, and from the
// keymap a virtual keyboard makes up for itself.
#include "input/key_codes.h"
#include "input/native_keys.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Row {
  const char* Layout;
  const char* Key;
  std::vector<const char*> Held;
  std::uint16_t Code;
  const char* What;
  std::uint32_t Group = 0;
  bool Num_Lock = false;
  const char* Options = nullptr;
};

const std::vector<Row> Rows = {
    {"us", "AE01", {}, 0x31, "top-row 1"},
    {"us", "AE01", {"LFSH"}, 0x31, "Shift+1, typing !"},
    {"us", "AE05", {"LFSH"}, 0x35, "Shift+5, typing %"},
    {"us", "AE10", {}, 0x30, "top-row 0"},
    {"us", "AC01", {}, 0x41, "A"},
    {"us", "AC01", {"RTSH"}, 0x41, "Shift+A"},
    {"us", "AB07", {"LCTL"}, 0x4D, "Ctrl+M"},
    {"us", "AB10", {}, 0, "slash has no code"},
    {"us", "LFSH", {}, 0x10, "left Shift"},
    {"us", "RTSH", {"LALT"}, 0x10, "right Shift with Alt held"},
    {"us", "LCTL", {}, 0x11, "left Ctrl"},
    {"us", "RCTL", {"LFSH"}, 0x11, "right Ctrl with Shift held"},
    {"us", "LALT", {}, 0x12, "left Alt"},
    {"us", "LALT", {"LFSH"}, 0x12, "Alt with Shift held, typing Meta"},
    {"us", "RALT", {"RTSH"}, 0x12, "right Alt with Shift held"},
    {"us", "SPCE", {"LFSH"}, 0x20, "Shift+Space"},
    {"us", "INS", {}, 0x2D, "Insert"},
    {"us", "UP", {"LFSH"}, 0x26, "Shift+Up"},
    {"us", "LEFT", {}, 0x25, "Left"},
    {"us", "RGHT", {}, 0x27, "Right"},
    {"us", "DOWN", {}, 0x28, "Down"},
    {"us", "FK01", {}, 0x70, "F1"},
    {"us", "FK12", {"LCTL", "LALT"}, 0x7B, "Ctrl+Alt+F12, typing a terminal switch"},
    {"us", "RTRN", {}, 0x0D, "Enter"},
    {"us", "ESC", {}, 0x1B, "Esc"},
    {"us", "KP1", {}, 0x61, "keypad 1", 0, true},
    {"us", "KP0", {}, 0x60, "keypad 0", 0, true},
    {"us", "KP1", {}, 0x23, "keypad 1 without Num Lock, acting as End"},
    {"us", "KPEN", {}, 0x0D, "keypad Enter"},
    {"fr", "AE01", {}, 0x31, "AZERTY top-row 1, typing &"},
    {"fr", "AE01", {"LFSH"}, 0x31, "AZERTY Shift+1, typing 1"},
    {"fr", "AE05", {}, 0x35, "AZERTY top-row 5, typing ("},
    {"fr", "AE10", {"LFSH"}, 0x30, "AZERTY Shift+0, typing 0"},
    {"fr", "AD01", {}, 0x41, "AZERTY A, right of Tab"},
    {"fr", "AD01", {"LFSH"}, 0x41, "AZERTY Shift+A"},
    {"fr", "AC01", {}, 0x51, "AZERTY Q"},
    {"fr", "AD02", {}, 0x5A, "AZERTY Z"},
    {"fr", "AB01", {}, 0x57, "AZERTY W"},
    {"fr", "AC10", {}, 0x4D, "AZERTY M, right of L"},
    {"fr", "AB07", {}, 0, "AZERTY comma, where US has M"},
    {"fr", "AD03", {"RALT"}, 0, "AltGr+E, typing the euro sign"},
    {"fr", "RALT", {"LFSH"}, 0x12, "AltGr with Shift held"},
    {"fr", "LALT", {"LFSH"}, 0x12, "AZERTY Alt with Shift held"},
    {"fr", "KP1", {}, 0x61, "AZERTY keypad 1", 0, true},
    {"us,ru", "AC01", {}, 0x41, "Cyrillic ef, A in the Latin group", 1},
    {"us,ru", "AE01", {"LFSH"}, 0x31, "Cyrillic group's Shift+1", 1},
    {"ru", "AB07", {}, 0x4D, "Cyrillic soft sign, where US has M"},
    {"ru", "AD11", {}, 0, "Cyrillic ha, where US has a bracket"},
    {"ru", "AE02", {"LFSH"}, 0x32, "Russian Shift+2, typing a quote"},
    {"us,ru",
     "LALT",
     {"LFSH"},
     0x12,
     "Alt with Shift held, switching the group",
     0,
     false,
     "grp:alt_shift_toggle"},
};

TEST(Key_Codes, ComeFromWhatTheKeyTypesOrWhereItSitsWhateverIsHeld) {
  for (const Row& row : Rows) {
    const Native_Keys keys(row.Layout, row.Options);
    ASSERT_TRUE(keys.Valid()) << "layout " << row.Layout;
    ASSERT_NE(keys.Keycode(row.Key), 0u) << row.Key;
    const auto event = keys.Event(QEvent::KeyPress, row.Key, row.Held, 0, row.Group, row.Num_Lock);
    EXPECT_EQ(Virtual_Key_Code(*event), row.Code)
        << row.Layout << " " << row.Key << ": " << row.What << " (keysym 0x" << std::hex
        << event->nativeVirtualKey() << ")";
  }
}

TEST(Key_Codes, AVirtualKeyboardIsReadByTheKeysymsOfItsOwnKeymap) {
  // wtype and its kind number their keys from 9 up, one key per keysym they send.
  EXPECT_EQ(Virtual_Key_Code(Native_Key{9, XKB_KEY_5}), 0x35);
  EXPECT_EQ(Virtual_Key_Code(Native_Key{10, XKB_KEY_Shift_L}), 0x10);
  EXPECT_EQ(Virtual_Key_Code(Native_Key{11, XKB_KEY_Control_L}), 0x11);
  EXPECT_EQ(Virtual_Key_Code(Native_Key{12, XKB_KEY_m}), 0x4D);
}

TEST(Key_Codes, EventsWithoutANativeKeyAreReadByTheirToolkitKey) {
  const QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier);
  const QKeyEvent keypad_one(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
  const QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
  EXPECT_EQ(Virtual_Key_Code(one), 0x31);
  EXPECT_EQ(Virtual_Key_Code(keypad_one), 0x61);
  EXPECT_EQ(Virtual_Key_Code(q), 0x51);
}

} // namespace
