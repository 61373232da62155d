// A sheet laying out every generated picture at its size, for looking the art over.
#pragma once

#include "art_style.h"
#include "handheld.h"

#include <QImage>
#include <QString>
#include <vector>

namespace Art {

// The handheld as the window shows it with every segment lit and the panel reading 88;
// transparent outside the case; at a scale.
QImage Lit_Handheld(int scale = 1, Surface surface = Surface::Grained);

struct Sheet_Section {
  QString Title;
  Picture_Files Pictures;
  qreal Scale = 1.0; // large pictures are shown reduced, tiny ones enlarged (pixel for pixel: 1)
};

QImage Contact_Sheet(const std::vector<Sheet_Section>& sections);

} // namespace Art
