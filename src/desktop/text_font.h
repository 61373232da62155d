// The program's one choice of type: every text it shows, in the windows, the menus, the message
// boxes and on the handheld's own panel, is in this family.
#pragma once

#include <QFont>
#include <QStringList>
#include <future>

// Arial, which the windows are laid out in, then Liberation Sans, its metric twin, where Arial
// is not installed.
QStringList Text_Families();

// A font of that family at a pixel size.
QFont Text_Font(int pixel_size);

// Reads the system's fonts and finds the family's faces on a thread of its own, while the first
// window is built: its first text then finds them ready. The font database guards itself; the
// result must be waited for before the application object goes.
std::future<void> Find_Text_Font_Ahead();
