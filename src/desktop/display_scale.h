// The screen's scale as a whole factor, and pictures for it. Every geometry stays in logical
// pixels; a picture for factor N holds N x N device pixels per logical pixel (its device pixel
// ratio is N), so it is drawn at its logical size with every device pixel its own.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>

class QPaintDevice;

// The scale overrides of the environment (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS) rounded to
// whole factors, as the toolkit already rounds the factor it detects itself. Call before the
// application object is created.
void Round_Scale_Overrides();

// A factor list as QT_SCREEN_SCALE_FACTORS writes it ("2;1.5" or "DP-1=1.5;HDMI-1=1") with
// every factor rounded half up, at least 1; entries that are no number are kept as they are.
QString Rounded_Scale_Factors(const QString& factors);

// The whole factor a window or widget is drawn at on its screen (1 when there is none).
int Display_Scale(const QPaintDevice& device);
// The whole factor of the desktop's main screen, where windows first open.
int Primary_Screen_Scale();

// "Skin/im_bat_1.png" at factor 2 is "Skin/im_bat_1@2x.png"; factor 1 is the name itself.
QString Scaled_File_Name(const QString& path, int scale);

// Every pixel becomes factor x factor pixels of the same colour: no colour is made up, so a key
// colour stays exact and edges stay hard. The device pixel ratio grows by the factor.
QImage Enlarged(const QImage& picture, int factor);

// Which file draws a picture at a scale, and by how much it must still be enlarged: the
// @<scale>x twin when it exists, else the picture itself.
struct Scaled_File {
  QString Path;
  int File_Scale = 1; // the factor the file is drawn for
};
Scaled_File Choose_Scaled_File(const QString& path, int scale,
                               const std::function<bool(const QString&)>& exists);

// How much a picture drawn for its own device pixel ratio must still be enlarged for a scale.
int Missing_Factor(const QImage& picture, int scale);

// The picture made ready for a scale: enlarged by its missing factor.
QImage For_Scale(const QImage& picture, int scale);

// The device pixels of a logical rectangle or region at a scale.
QRect Device_Rect(const QRect& logical, int scale);
QRegion Device_Region(const QRegion& logical, int scale);

// The picture's size in logical pixels (a picture for factor 2 of 66 x 34 is 33 x 17).
QSize Logical_Size(const QImage& picture);
