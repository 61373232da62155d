#include "desktop/text_font.h"

#include <QFontMetrics>

QStringList Text_Families() {
  return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

QFont Text_Font(int pixel_size) {
  QFont font;
  font.setFamilies(Text_Families());
  font.setPixelSize(pixel_size);
  return font;
}

std::future<void> Find_Text_Font_Ahead() {
  // The faces themselves are kept per thread: the window's thread loads its own, quickly once
  // the database and the family's fallbacks are known.
  return std::async(std::launch::async, [] { QFontMetrics(Text_Font(12)).height(); });
}
