// The sixteen pages of the handheld's manual, as the manual viewer shows them.
#pragma once

#include "art_style.h"

namespace Art {

// Graphics/Manual/1.bmp ... 16.bmp, and 1@2x.jpg ... 16@3x.jpg drawn at twice and three times
// the scale. `all_fit` is false when some page's text ran past its bottom margin.
Picture_Files Manual_Files(bool& all_fit);

} // namespace Art
