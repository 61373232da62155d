#include "desktop/text_font.h"

QStringList Text_Families() {
  return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

QFont Text_Font(int pixel_size) {
  QFont font;
  font.setFamilies(Text_Families());
  font.setPixelSize(pixel_size);
  return font;
}
