// The pictures built into the side windows: the splash screen's background, box and buttons,
// the about window's portrait and the manual viewer's buttons. Paths are the resource paths.
#pragma once

#include "art_style.h"

namespace Art {

Picture_Files Side_Window_Files();

} // namespace Art
