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
  return std::async(std::launch::async, [] {
    for (const bool bold : {false, true}) {
      QFont font = Text_Font(12);
      font.setBold(bold);
      QFontMetrics(font).height();
    }
  });
}
