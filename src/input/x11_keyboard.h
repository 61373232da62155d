// The keyboard of an X server, set up on the program's own connection: detectable auto-repeat
// (a held key then repeats as presses only, never as release and press), and key codes read
// with the server's own keymap, followed through every change (setxkbmap, a layout switch).
#pragma once

struct X11_Keyboard {
  bool On_X11 = false;                 // the program talks to an X server
  bool Detectable_Auto_Repeat = false; // the server granted it
  bool Server_Layout = false;          // key codes are read with the server's keymap
};

// Once, after the application object exists. On other platforms it does nothing, and the key
// codes are read with the compiled default layout.
X11_Keyboard Set_Up_X11_Keyboard();
