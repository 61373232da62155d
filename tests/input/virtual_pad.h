// SDL's virtual game controllers, plugged in and out as a player would a pad: every button and
// axis of a game controller, numbered as the game controller's.
#pragma once

#include "input/game_controllers.h"

#include <SDL.h>

#include <QTemporaryDir>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Plugs in a pad and lets the controllers find it; its joystick, for setting its state, or null
// (with SDL_GetError) when SDL could not make one.
inline SDL_Joystick* Plug_Virtual_Pad(Game_Controllers& controllers) {
  SDL_VirtualJoystickDesc pad{};
  pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  pad.naxes = SDL_CONTROLLER_AXIS_MAX;
  pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  pad.name = "Test pad";
  const int index = SDL_JoystickAttachVirtualEx(&pad);
  if (index < 0) return nullptr;
  controllers.Pump();
  return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
}

// Unplugs one pad, or every virtual pad.
inline void Unplug_Virtual_Pad(Game_Controllers& controllers, SDL_Joystick* pad = nullptr) {
  for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
    if (SDL_JoystickIsVirtual(i) &&
        (!pad || SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad)))
      SDL_JoystickDetachVirtual(i);
  controllers.Pump();
}

inline void Set_Pad_Button(Game_Controllers& controllers, SDL_Joystick* pad,
                           SDL_GameControllerButton button, bool down) {
  SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0);
  controllers.Pump();
}

// What a pad's device file is to the controllers: a named pipe they read as they read a real
// pad's event file. Made the device file of the next pads plugged in; Stir() after a change of
// a pad's state wakes the controllers as the kernel's event on a real pad's file does.
class Pad_Device_File {
public:
  explicit Pad_Device_File(Game_Controllers& controllers) {
    Path = std::string(Folder.path().toStdString()) + "/event";
    // Opened for reading and writing, so that it never waits for the other end.
    if (mkfifo(Path.c_str(), 0600) == 0) Writer = open(Path.c_str(), O_RDWR | O_NONBLOCK);
    controllers.Device_File = [path = Path](SDL_Joystick*) { return path; };
  }
  ~Pad_Device_File() {
    if (Writer >= 0) close(Writer);
  }
  Pad_Device_File(const Pad_Device_File&) = delete;
  Pad_Device_File& operator=(const Pad_Device_File&) = delete;

  bool Stir() { return Writer >= 0 && write(Writer, "!", 1) == 1; }

private:
  QTemporaryDir Folder;
  std::string Path;
  int Writer = -1;
};
