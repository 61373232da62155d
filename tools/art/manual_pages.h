// The sixteen pages of the handheld's manual, as the manual viewer shows them.
#pragma once

#include "art_style.h"

#include <QImage>
#include <QRectF>
#include <vector>

namespace Art {

inline constexpr int Manual_Page_Count = 16;

// A page as drawn at a scale, with where its pictures' captions went (logical pixels) and
// whether its text kept within the bottom margin.
struct Drawn_Page {
  QImage Image;
  std::vector<QRectF> Captions;
  bool Fits = true;
};
Drawn_Page Draw_Manual_Page(int number, int scale = 1);

// Graphics/Manual/1.bmp ... 16.bmp, and 1@2x.png ... 16@3x.png drawn at twice and three times
// the scale. `all_fit` is false when some page's text ran past its bottom margin.
Picture_Files Manual_Files(bool& all_fit);

// The page files of the scales above 1 in other formats than the ones written, left by older
// builds in the game folder: the package would carry them along.
QStringList Stale_Manual_Files(const QString& game_dir);

} // namespace Art
