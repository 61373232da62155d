// SDL's virtual game controllers, plugged in and out as a player would a pad: every button and
// axis of a game controller, numbered as the game controller's.
#pragma once

#include "input/game_controllers.h"

#include <SDL.h>

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
