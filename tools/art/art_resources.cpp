#include "art_resources.h"

QStringList Art_Resource_Paths() {
  return {
      QStringLiteral(":/splash/background.png"), QStringLiteral(":/splash/box.jpg"),
      QStringLiteral(":/splash/play.png"),       QStringLiteral(":/splash/play_disabled.png"),
      QStringLiteral(":/splash/donate.png"),     QStringLiteral(":/about/portrait.png"),
      QStringLiteral(":/manual/left_up.png"),    QStringLiteral(":/manual/left_down.png"),
      QStringLiteral(":/manual/right_up.png"),   QStringLiteral(":/manual/right_down.png"),
      QStringLiteral(":/manual/close_up.png"),   QStringLiteral(":/manual/close_down.png"),
  };
}
