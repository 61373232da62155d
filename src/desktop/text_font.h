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

// Reads the system's font configuration on a thread that gives way to the rest of the start: begun
// before the application object, it takes mostly the time the start spends waiting for the window
// system. The font database reads it otherwise as the first text is laid out, on the path to the
// first window.
std::shared_future<void> Read_Font_Configuration_Ahead();

// Reads the system's fonts and finds the family's faces on a thread of its own, while the first
// window is built: its first text then finds them ready. It begins once the configuration read
// ahead is there. The font database guards itself; the result must be waited for before the
// application object goes.
std::future<void> Find_Text_Font_Ahead(std::shared_future<void> configuration_read);
