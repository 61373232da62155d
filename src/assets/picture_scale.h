// Pictures for the screen's scale. A picture for factor N holds N x N device pixels per logical
// pixel (its device pixel ratio is N), so it is drawn at its logical size with every device
// pixel its own. Pictures drawn for a scale are "@<N>x" twins beside the 1x file.
#pragma once

#include "desktop/zoom.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

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

// The largest factor a skin is looked for at: the shipped skin is drawn up to it, which is what
// a 3840 x 2160 screen at scale 2 filled by the handheld takes.
inline constexpr int Max_Twin = 6;

// Which file draws a picture at a frame factor: the twin drawn for the factor rounded up or the
// next larger one there is, reduced from; else the largest smaller one, enlarged (at a whole
// factor only one that divides it, so the picture stays exact); else the picture itself.
Scaled_File Choose_Twin(const QString& path, Frame_Factor factor,
                        const std::function<bool(const QString&)>& exists);

// The picture, drawn at its device pixel ratio, made ready for a frame factor at a skin point:
// exactly the device size of its place there. At a whole multiple of the ratio every pixel
// becomes a block, as Enlarged; otherwise the picture is enlarged in blocks to at least that
// size and reduced to it by averaging each device pixel's area (premultiplied, so see-through
// pixels lend no colour to their neighbours). Nothing is ever enlarged smoothly.
QImage For_Factor(const QImage& picture, Frame_Factor factor, QPoint at = {});

// How much a picture drawn for its own device pixel ratio must still be enlarged for a scale.
int Missing_Factor(const QImage& picture, int scale);

// The picture made ready for a scale: enlarged by its missing factor.
QImage For_Scale(const QImage& picture, int scale);

// The picture's size in logical pixels (a picture for factor 2 of 66 x 34 is 33 x 17).
QSize Logical_Size(const QImage& picture);
