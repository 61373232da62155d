// Full-screen mode's backdrop and logo, and the application's icon.
#pragma once

#include "art_style.h"

namespace Art {

// Graphics/Backdrops/: a dark wooden desk with the handheld's shadow at its centre, and a
// small logo with alpha for the screen's corner; each at every scale.
Picture_Files Backdrop_Files();

// icons/grathmoor-<size>.png (and @2x, @3x): a small handheld with a green screen.
Picture_Files Icon_Files();

// The colour a screen larger than the backdrop shows around it, as a Config.ini colour.
QString Backdrop_Edge_Colour();

} // namespace Art
