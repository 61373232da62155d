// Key strokes from the event sequences the X server really sends: a held key repeats as presses
// only (detectable auto-repeat) or as release and press pairs at one server time, which the
// toolkit does not flag as repeats when the window is busy.
#include "input/key_reader.h"
#include "input/native_keys.h"
#include "input/stale_keys.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class Key_Reader_Test : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Keys.Valid()); }

  void Press(const char* key, std::uint64_t time, const std::vector<const char*>& held = {}) {
    Reader.Key_Press(*Keys.Event(QEvent::KeyPress, key, held, time));
  }
  void Release(const char* key, std::uint64_t time, const std::vector<const char*>& held = {}) {
    Reader.Key_Release(*Keys.Event(QEvent::KeyRelease, key, held, time));
  }

  Native_Keys Keys{"us"};
  Held_Inputs Held;
  std::vector<std::string> Strokes;
  Key_Reader Reader{
      Held, [this](std::uint16_t code) { Strokes.push_back("down " + std::to_string(code)); },
      [this](std::uint16_t code) { Strokes.push_back("up " + std::to_string(code)); }};
};

TEST_F(Key_Reader_Test, AKeyHeldWithoutDetectableAutoRepeatIsOneStroke) {
  // M held for two seconds: after the repeat delay, every 40 ms a release and a press that
  // carry one server time. The last release waits for the next event or a few ms.
  Press("AB07", 1000);
  for (std::uint64_t time = 1660; time < 3000; time += 40) {
    Release("AB07", time);
    Press("AB07", time);
  }
  Release("AB07", 3010);
  EXPECT_EQ(Strokes, (std::vector<std::string>{"down 77"}));
  EXPECT_TRUE(Held.Is_Down({Input_Source::Keyboard, 0, Keys.Keycode("AB07")}));
  Reader.Flush();
  EXPECT_EQ(Strokes, (std::vector<std::string>{"down 77", "up 77"}));

  // A real second stroke has a time of its own, and a waiting release counts before the next
  // key's press.
  Press("AB07", 3200);
  Release("AB07", 3300);
  Press("AC01", 3300);
  EXPECT_EQ(Strokes, (std::vector<std::string>{"down 77", "up 77", "down 77", "up 77", "down 65"}));
}

TEST_F(Key_Reader_Test, AKeyHeldWithDetectableAutoRepeatIsOneStroke) {
  Press("AB07", 1000);
  for (std::uint64_t time = 1660; time < 3000; time += 40)
    Press("AB07", time);
  Release("AB07", 3010);
  Reader.Flush();
  EXPECT_EQ(Strokes, (std::vector<std::string>{"down 77", "up 77"}));
}

TEST_F(Key_Reader_Test, EveryReleaseCarriesTheCodeOfItsPress) {
  // 5 down, Shift down, 5 up while Shift types % on it, Shift up.
  Press("AE05", 100);
  Press("LFSH", 200, {"AE05"});
  Release("AE05", 300, {"LFSH"});
  Release("LFSH", 400);
  // A key pressed under one layout and released under another keeps its press's code.
  Press("AD01", 500);
  Reader.Key_Release(*Native_Keys("fr").Event(QEvent::KeyRelease, "AD01", {}, 600));
  Reader.Flush();
  // A release whose press went to another window is nobody's.
  Release("AC01", 700);
  Reader.Flush();
  EXPECT_EQ(Strokes,
            (std::vector<std::string>{"down 53", "down 16", "up 53", "up 16", "down 81", "up 81"}));
  EXPECT_TRUE(Held.Release_All().empty());
}

TEST_F(Key_Reader_Test, AKeyDownBeforeTheWindowGotTheKeyboardDoesNothingTillReleased) {
  std::vector<std::uint32_t> on_server;
  Stale_Keys stale([&] { return std::optional(on_server); });
  const auto swallowed = [&](QEvent::Type type, const char* key, std::uint64_t time) {
    return stale.Swallow(*Keys.Event(type, key, {}, time));
  };
  // Esc pressed in one window, which closes; the next window gets its repeats and the check
  // for the Exit shortcut, then the release. Esc pressed anew is Esc again.
  EXPECT_FALSE(swallowed(QEvent::KeyPress, "ESC", 100));
  on_server = {Keys.Keycode("ESC")};
  stale.Keyboard_Moved(false);
  stale.Keyboard_Moved(true); // to another window of the program
  EXPECT_TRUE(swallowed(QEvent::ShortcutOverride, "ESC", 700));
  EXPECT_TRUE(swallowed(QEvent::KeyPress, "ESC", 700));
  EXPECT_TRUE(swallowed(QEvent::KeyRelease, "ESC", 740));
  EXPECT_TRUE(swallowed(QEvent::KeyPress, "ESC", 740)); // a repeat as release and press
  EXPECT_TRUE(swallowed(QEvent::KeyPress, "ESC", 780)); // the next, its release not seen
  EXPECT_TRUE(swallowed(QEvent::KeyRelease, "ESC", 900));
  EXPECT_FALSE(swallowed(QEvent::ShortcutOverride, "ESC", 1500));
  EXPECT_FALSE(swallowed(QEvent::KeyPress, "ESC", 1500));
  // M held while another program had the keyboard; let go of there, it is fresh again.
  on_server = {Keys.Keycode("AB07")};
  stale.Keyboard_Moved(true);
  EXPECT_TRUE(swallowed(QEvent::KeyPress, "AB07", 2000));
  on_server = {};
  stale.Keyboard_Moved(true);
  EXPECT_FALSE(swallowed(QEvent::KeyPress, "AB07", 2600));
}

TEST(Held_Inputs, LetGoOfEverythingInTheOrderOfTheBindings) {
  Held_Inputs held;
  const auto key = [](std::uint32_t keycode) {
    return Physical_Input{Input_Source::Keyboard, 0, keycode};
  };
  // Alt (Move), an unbound Q, Shift (Cursor), Up, 5 (All Clear) and a controller's button
  // standing for Attack itself, pressed in that order.
  EXPECT_TRUE(held.Press(key(64), 0x12));
  EXPECT_TRUE(held.Press(key(24), 0x51));
  EXPECT_TRUE(held.Press(key(50), 0x10));
  EXPECT_FALSE(held.Press(key(50), 0x10));
  EXPECT_TRUE(held.Press(key(111), 0x26));
  EXPECT_TRUE(held.Press(key(14), 0x35));
  EXPECT_TRUE(held.Press({Input_Source::Controller, 0, 0}, Button_Code(Binding_Attack)));
  EXPECT_EQ(
      held.Release_All(Default_Key_Bindings),
      (std::vector<std::uint16_t>{0x35, 0x10, Button_Code(Binding_Attack), 0x12, 0x51, 0x26}));
  EXPECT_TRUE(held.Release_All().empty());
}

} // namespace
