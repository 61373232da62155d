// The screen's scale as a whole factor. Every geometry stays in logical pixels; the device
// pixels of a logical rectangle at factor N are N x N per logical pixel.
#pragma once

#include <QRect>
#include <QRegion>
#include <QString>

class QPaintDevice;

// The scale overrides of the environment (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS) rounded to
// whole factors, as the toolkit already rounds the factor it detects itself. Call before the
// application object is created.
void Round_Scale_Overrides();

// A factor list as QT_SCREEN_SCALE_FACTORS writes it ("2;1.5" or "DP-1=1.5;HDMI-1=1") with
// every factor rounded half up, at least 1; entries that are no number are kept as they are.
QString Rounded_Scale_Factors(const QString& factors);

// A factor rounded half up, as 1.5 and 2.5 become 2 and 3; never below 1.
int Whole_Factor(double factor);

// The whole factor a window or widget is drawn at on its screen (1 when there is none).
int Display_Scale(const QPaintDevice& device);
// The whole factor of the desktop's main screen, where windows first open.
int Primary_Screen_Scale();

// The device pixels of a logical rectangle or region at a scale.
QRect Device_Rect(const QRect& logical, int scale);
QRegion Device_Region(const QRegion& logical, int scale);
