// The keyboard of an X server, on the program's own connection: detectable auto-repeat (a held
// key then repeats as presses only, never as release and press), and which keys are down.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct X11_Keyboard {
  bool On_X11 = false;                 // the program talks to an X server
  bool Detectable_Auto_Repeat = false; // the server granted it
};

// Once, after the application object exists. On other platforms it does nothing.
X11_Keyboard Set_Up_X11_Keyboard();

// The key codes the X server has down right now; none where the program talks to no X server
// (a Wayland compositor tells only the window that has the keyboard).
std::optional<std::vector<std::uint32_t>> Keys_Down_On_Server();
