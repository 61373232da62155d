// Reading the pictures of the game folder and of the program's resources: the format by the
// file-name extension, the size held to a limit before anything is decoded, and the "@<N>x"
// twin drawn for the screen's scale.
#pragma once

#include "assets/picture_scale.h"
#include "desktop/reporter.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

// Pictures no larger than this on either side are decoded; a bigger one is refused.
inline constexpr int Max_Picture_Side = 8192;

// The part of a picture that is wanted, in the file's pixels, from the file's size and the scale
// it is drawn for; unset, the whole picture. Only that part is decoded where the format allows
// (a JPEG's rows outside it are never kept).
using Picture_Part = std::function<QRect(QSize file_size, int file_scale)>;

// What differs between the program's readers of pictures: the longest side they take, and their
// words for a file that cannot be decoded (given the decoder's own message) and for a picture
// with a side past the limit (given its sides as positive numbers).
struct Picture_Rules {
  int Max_Side = Max_Picture_Side;
  QString (*Not_Decoded)(const QString& path, const QString& decoder_message) = nullptr;
  QString (*Too_Large)(const QString& path, qint64 width, qint64 height) = nullptr;
};

// Decodes a picture file in the given format, whatever its name's extension. The size its header
// tells is held to the rules' limit before anything is decoded, and the decoded size again after.
// Nothing, after the rules' message to `report`, for a picture that cannot be decoded or one too
// large. The picture comes with a device pixel ratio of 1, also when its name ends in "@2x".
std::optional<QImage> Read_Picture(const QString& path, const QByteArray& format,
                                   const Picture_Rules& rules, const Reporter& report,
                                   const Picture_Part& part = {}, int file_scale = 1);

// Whether a picture file can be decoded, without decoding its pixels where its format lets its
// build be checked instead: a PNG's chunks from the header to the end, each critical one with its
// checksum; a JPEG's marker segments up to its first scan; a plain bitmap's header and the length
// of its rows. Other bitmaps and pictures of other formats are decoded.
// The size limit and the messages are Read_Picture's. What the check lets through and a decoder
// still refuses is found when the picture is decoded.
bool Check_Picture(const QString& path, const QByteArray& format, const Picture_Rules& rules,
                   const Reporter& report);

// Decodes a picture by its file-name extension (png, bmp, jpg, jpeg, ico; case does not
// matter). Nothing, after a message to `report`, for an unknown extension, a picture that
// cannot be decoded (the file's path, then the decoder's message) or one that is too large.
std::optional<QImage> Load_Picture(const QString& path, const Reporter& report,
                                   const Picture_Part& part = {}, int file_scale = 1);

// Whether the picture is there, for the scale or at 1x.
bool Has_Picture_File(const QString& path, int scale);
// The file that draws the picture at the scale: its "@<scale>x" twin where there is one.
Scaled_File Picture_File_For_Scale(const QString& path, int scale);

// Decodes the picture drawn for a scale: the file's @<scale>x twin when there is one (a twin
// that cannot be decoded is reported and the file itself stands in), else the file. The
// picture comes with its device pixel ratio set to the factor it was drawn for; For_Scale
// (picture_scale.h) enlarges it by what is missing.
std::optional<QImage> Load_Picture_For_Scale(const QString& path, int scale, const Reporter& report,
                                             const Picture_Part& part = {});

// The same for a frame factor: the twin Choose_Twin takes, with its device pixel ratio set to
// the factor it was drawn for; For_Factor (picture_scale.h) makes it ready.
bool Has_Picture_File(const QString& path, Frame_Factor factor);
Scaled_File Picture_File_For_Factor(const QString& path, Frame_Factor factor);
std::optional<QImage> Load_Picture_For_Factor(const QString& path, Frame_Factor factor,
                                              const Reporter& report,
                                              const Picture_Part& part = {});

// What marks a missing picture: 10 x 10, red with a one-pixel black border.
QImage Placeholder_Picture();
