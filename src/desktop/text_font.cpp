#include "desktop/text_font.h"

#include <QFontMetrics>
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

QStringList Text_Families() {
  return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

QFont Text_Font(int pixel_size) {
  QFont font;
  font.setFamilies(Text_Families());
  font.setPixelSize(pixel_size);
  return font;
}

std::shared_future<void> Read_Font_Configuration_Ahead() {
  return std::async(std::launch::async, [] {
    // Half-way down the ordinary priorities: the window system and the start's own threads
    // come first, yet on a busy machine it still gets its share and is not left waiting.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    FcInit();
  });
}

std::future<void> Find_Text_Font_Ahead(std::shared_future<void> configuration_read) {
  // The faces themselves are kept per thread: the window's thread loads its own, quickly once
  // the database and the family's fallbacks are known.
  return std::async(std::launch::async, [configuration_read = std::move(configuration_read)] {
    configuration_read.wait();
    QFontMetrics(Text_Font(12)).height();
  });
}
