// SDL and SDL_mixer, loaded when first needed. The program starts without them: the sound and
// the game controllers start when the player leaves the splash screen and the demo begins, so
// the start does not wait for the two libraries and the many they bring with them. Every call
// goes through the table of their functions.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

// The functions the program uses, by their names in the libraries.
#define GRATHMOOR_SDL_FUNCTIONS(F)                                                                 \
  F(SDL_GameControllerAddMappingsFromRW)                                                           \
  F(SDL_GameControllerClose)                                                                       \
  F(SDL_GameControllerGetJoystick)                                                                 \
  F(SDL_GameControllerName)                                                                        \
  F(SDL_GameControllerOpen)                                                                        \
  F(SDL_GameControllerUpdate)                                                                      \
  F(SDL_GetCurrentAudioDriver)                                                                     \
  F(SDL_GetError)                                                                                  \
  F(SDL_GetMemoryFunctions)                                                                        \
  F(SDL_InitSubSystem)                                                                             \
  F(SDL_IsGameController)                                                                          \
  F(SDL_JoystickGetDeviceGUID)                                                                     \
  F(SDL_JoystickGetDeviceInstanceID)                                                               \
  F(SDL_JoystickGetGUIDString)                                                                     \
  F(SDL_JoystickNameForIndex)                                                                      \
  F(SDL_JoystickPath)                                                                              \
  F(SDL_NumJoysticks)                                                                              \
  F(SDL_PeepEvents)                                                                                \
  F(SDL_Quit)                                                                                      \
  F(SDL_QuitSubSystem)                                                                             \
  F(SDL_RWFromConstMem)                                                                            \
  F(SDL_RWFromFile)                                                                                \
  F(SDL_RWclose)                                                                                   \
  F(SDL_ResetHint)                                                                                 \
  F(SDL_SetHint)                                                                                   \
  F(SDL_SetHintWithPriority)                                                                       \
  F(SDL_SetMemoryFunctions)                                                                        \
  F(SDL_WasInit)

#define GRATHMOOR_MIXER_FUNCTIONS(F)                                                               \
  F(Mix_AllocateChannels)                                                                          \
  F(Mix_CloseAudio)                                                                                \
  F(Mix_FreeChunk)                                                                                 \
  F(Mix_HaltChannel)                                                                               \
  F(Mix_LoadWAV_RW)                                                                                \
  F(Mix_OpenAudioDevice)                                                                           \
  F(Mix_PlayChannel)                                                                               \
  F(Mix_Playing)                                                                                   \
  F(Mix_QuerySpec)

struct Sdl_Library {
#define GRATHMOOR_SDL_POINTER(name) decltype(&::name) name = nullptr;
  GRATHMOOR_SDL_FUNCTIONS(GRATHMOOR_SDL_POINTER)
  GRATHMOOR_MIXER_FUNCTIONS(GRATHMOOR_SDL_POINTER)
#undef GRATHMOOR_SDL_POINTER

  // Empty when every function was found; else why not (a library missing, a function gone).
  std::string Problem;
  bool Loaded() const {
    return Problem.empty();
  }
};

// The libraries, loaded at the first call and kept till the program ends.
const Sdl_Library& Sdl();
