// The Windows virtual-key codes in which the game stores and compares its keys. A code names the
// key, not the character it types: it is read from what the native key event carries (the
// keysym the window system's own keymap gave the key, whatever layout or virtual keyboard is in
// use, and the key's place on a PC keyboard), never from the toolkit's key, which changes with
// Shift and the layout.
#pragma once

#include <cstdint>

class QKeyEvent;

// The key as the window system reported it: its key code (an evdev code plus 8, on X11 and
// Wayland alike) and the keysym it typed with the modifiers then held.
struct Native_Key {
  std::uint32_t Keycode = 0;
  std::uint32_t Keysym = 0;
};

// The code of the key, or 0 for a key the game has no code for. The keysym comes first:
// - a digit gives that digit (0x30..0x39); otherwise the top-row keys count by their place,
//   whatever the layout prints on them and whether Shift is held (on AZERTY the key that types
//   "&" is 1); the keypad's digits are 0x60..0x69 (with Num Lock; without it they are the
//   navigation keys they act as);
// - a Latin letter gives that letter (0x41..0x5A, on AZERTY the key right of Tab is A); a
//   letter of another script gives the letter at the key's place on a US keyboard;
// - Shift, Ctrl and Alt (either side, AltGr too) give 0x10, 0x11, 0x12 whatever else is held,
//   also where a held modifier makes them type something else (a group switch);
// - other keys by their keysym, or by their place when it types nothing the game knows.
std::uint16_t Virtual_Key_Code(const Native_Key& key);
// Events that carry no native key (made by the program or a test) are read by their toolkit
// key; the others by their native key.
std::uint16_t Virtual_Key_Code(const QKeyEvent& event);
