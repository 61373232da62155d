#include "art_resources.h"

#include "assets/picture_scale.h"

QStringList Art_Resource_Paths() {
  const QStringList drawn_once = {
      QStringLiteral(":/splash/background.png"), QStringLiteral(":/splash/box.jpg"),
      QStringLiteral(":/splash/play.png"),       QStringLiteral(":/splash/play_disabled.png"),
      QStringLiteral(":/splash/donate.png"),     QStringLiteral(":/about/portrait.png"),
      QStringLiteral(":/manual/left_up.png"),    QStringLiteral(":/manual/left_down.png"),
      QStringLiteral(":/manual/right_up.png"),   QStringLiteral(":/manual/right_down.png"),
      QStringLiteral(":/manual/close_up.png"),   QStringLiteral(":/manual/close_down.png"),
  };
  // Bands and a gradient: enlarged by the program, not drawn again large.
  const QString enlarged = QStringLiteral(":/splash/background.png");
  QStringList paths = drawn_once;
  for (int scale : {2, 3})
    for (const QString& path : drawn_once)
      if (path != enlarged) paths << Scaled_File_Name(path, scale);
  return paths;
}
