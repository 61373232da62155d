// The outline of the windowed handheld. Where the window system composites windows with alpha
// (every Wayland compositor, and X11 while a compositing manager runs) the window is drawn with
// its see-through pixels and only the case takes the pointer. Elsewhere (X11 without a
// compositor) the outline is cut out of the window, at the screen's own pixels: the toolkit's
// mask is given in logical pixels and would cut it in steps of the scale, so on X11 the shape
// goes to the window system in device pixels.
#pragma once

#include <QRegion>

class QWidget;

// Whether windows are composited with alpha. Decided once, before the window is made: a
// translucent window needs a visual with alpha from the start.
bool Window_System_Composites();

// Only the region's pixels (device pixels of the window) are drawn and take the pointer.
void Set_Window_Shape(QWidget& window, const QRegion& device_region, int scale);
// The whole window is drawn, with its alpha; only the region's pixels take the pointer.
void Set_Input_Region(QWidget& window, const QRegion& device_region, int scale);

// The whole window is drawn and takes the pointer again.
void Clear_Window_Shape(QWidget& window);
