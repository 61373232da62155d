// Colours, fonts and file helpers shared by every picture the generator draws.
#pragma once

#include "assets/picture_scale.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <vector>

namespace Art {

// The handheld's plastic, print and LCD.
inline const QColor Case_Dark{28, 30, 34};
inline const QColor Case_Light{62, 66, 73};
inline const QColor Print_Gold{222, 172, 72};
inline const QColor Print_Silver{178, 184, 192};
inline const QColor Lcd_Light{184, 192, 162};
inline const QColor Lcd_Dark{158, 168, 138};

// The side windows' navy and blue.
inline const QColor Navy{8, 41, 82};
inline const QColor Mid_Blue{36, 92, 160};

// Every picture is drawn at these scales from the same shapes: scale N has N x N pixels for each
// pixel of the 1x picture and is saved as its twin beside it (Scaled_File_Name).
inline constexpr int Scales[] = {1, 2, 3};
// The skin also at the larger factors the handheld's own zoom reaches on top of the desktop's
// scale (a 3840 x 2160 screen at scale 2 filled takes nearly 6), so that it is only ever reduced.
inline constexpr int Skin_Scales[] = {1, 2, 3, 4, 5, 6};

// An empty picture of a logical size at a scale (its device pixel ratio), so that painters draw
// on it in logical coordinates and every device pixel is its own.
QImage Canvas(QSize logical, int scale,
              QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// The scale of a picture, or of the picture a painter draws on.
int Scale_Of(const QImage& image);
int Scale_Of(const QPainter& painter);
// Three passes of a box blur on an 8-bit mask, `radius` pixels each way: close to a Gaussian.
void Blur(QImage& mask, int radius);
// The part of a picture given in logical coordinates, at the picture's scale.
QImage Logical_Copy(const QImage& image, const QRect& logical);

// A Liberation font at a pixel size (the fonts are the metric twins of Arial and Times).
QFont Sans(int pixel_size, bool bold = false, bool italic = false);
QFont Serif(int pixel_size, bool bold = false, bool italic = false);

// A picture and the file it goes to, relative to the folder it is written into.
struct Picture_File {
  QString Path;
  QImage Image;
  const char* Format = "PNG";
  int Quality = -1;
};
using Picture_Files = std::vector<Picture_File>;

// The pictures drawn at one scale.
Picture_Files At_Scale_Only(const Picture_Files& files, int scale);

// Writes every picture under root; false if any could not be written.
bool Save_All(const Picture_Files& files, const QString& root);

// Saves a picture, creating its folder; on failure prints why and returns false.
bool Save(const QImage& image, const QString& path, const char* format = nullptr, int quality = -1);
bool Save_Text(const QString& text, const QString& path);

} // namespace Art
