// Colours, fonts and file helpers shared by every picture the generator draws.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
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
inline const QColor Key_Colour{255, 0, 255};

// The side windows' navy and blue.
inline const QColor Navy{8, 41, 82};
inline const QColor Mid_Blue{36, 92, 160};

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

// Writes every picture under root; false if any could not be written.
bool Save_All(const Picture_Files& files, const QString& root);

// Saves a picture, creating its folder; on failure prints why and returns false.
bool Save(const QImage& image, const QString& path, const char* format = nullptr, int quality = -1);
bool Save_Text(const QString& text, const QString& path);

// Every pixel of the colour becomes fully transparent (for pictures shown off the window).
QImage Key_To_Alpha(const QImage& image, QColor key);

} // namespace Art
