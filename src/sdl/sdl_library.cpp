#include "sdl/sdl_library.h"

#include <dlfcn.h>
#include <type_traits>

namespace {

Sdl_Library Load() {
  Sdl_Library sdl;
  // SDL_mixer brings SDL itself with it: both sonames of the packages the game depends on.
  void* core = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
  void* mixer = core ? dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_GLOBAL) : nullptr;
  if (!core || !mixer) {
    const char* reason = dlerror();
    sdl.Problem = reason ? reason : "SDL could not be loaded";
    return sdl;
  }
  const auto find = [&sdl](void* library, auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
    if (!function && sdl.Problem.empty()) sdl.Problem = std::string("no ") + name + " in SDL";
  };
#define GRATHMOOR_SDL_FIND(name) find(core, sdl.name, #name);
#define GRATHMOOR_MIXER_FIND(name) find(mixer, sdl.name, #name);
  GRATHMOOR_SDL_FUNCTIONS(GRATHMOOR_SDL_FIND)
  GRATHMOOR_MIXER_FUNCTIONS(GRATHMOOR_MIXER_FIND)
#undef GRATHMOOR_SDL_FIND
#undef GRATHMOOR_MIXER_FIND
  return sdl;
}

} // namespace

const Sdl_Library& Sdl() {
  static const Sdl_Library library = Load();
  return library;
}
