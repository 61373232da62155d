// The outline of a shaped top-level window, cut at the screen's own pixels. The toolkit's mask
// is given in logical pixels and would cut the outline in steps of the scale; on X11 the shape
// goes to the window system in device pixels instead.
#pragma once

#include <QRegion>

class QWidget;

// Only the region's pixels (device pixels of the window) are drawn and take the pointer.
// Elsewhere than on X11 the toolkit's mask stands in, with the region brought to logical
// pixels (every logical pixel that holds a visible device pixel stays).
void Set_Window_Shape(QWidget& window, const QRegion& device_region, int scale);

// The whole window is drawn and takes the pointer again.
void Clear_Window_Shape(QWidget& window);
