#include "windows/manual_pages.h"

#include "display/config_ini.h"
#include "display/gfxinit.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

Manual_Layout Read_Manual_Layout(const QString& program_folder) {
  Manual_Layout layout;
  const QString section = QStringLiteral("Manual");
  const std::optional<Config_Ini> ini =
      Config_Ini::Load(QDir(program_folder).filePath(QStringLiteral("Config.ini")));
  const Config_Ini empty = Config_Ini::Parse({});
  const Config_Ini& config = ini ? *ini : empty;
  layout.Folder =
      config.Folder(section, QStringLiteral("ManualDir"), QStringLiteral("Graphics\\Manual\\"));
  layout.Height =
      std::clamp(config.Integer(section, QStringLiteral("ManualHeight"), 600), 1, Manual_Max_Side);
  layout.Width =
      std::clamp(config.Integer(section, QStringLiteral("ManualWidth"), 375), 1, Manual_Max_Side);
  return layout;
}

namespace {

// The page, or a null picture with the reason in problem.
QImage Load_Page(const QString& path, QString& problem) {
  QImageReader reader(path, "bmp");
  reader.setAutoDetectImageFormat(false);
  // A top-down bitmap gives its height as negative.
  const auto too_long = [](int side) {
    return side > Manual_Max_Page_Side || side < -Manual_Max_Page_Side;
  };
  const auto too_large = [&](QSize size) {
    if (!too_long(size.width()) && !too_long(size.height())) return false;
    problem = QStringLiteral("%1: the page is too large (%2 x %3 pixels)")
                  .arg(QDir::toNativeSeparators(path))
                  .arg(qAbs(qint64(size.width())))
                  .arg(qAbs(qint64(size.height())));
    return true;
  };
  if (too_large(reader.size())) return {};
  QImage picture = reader.read();
  if (picture.isNull())
    problem = QStringLiteral("%1: Bitmap image is not valid").arg(QDir::toNativeSeparators(path));
  // Not every header tells the size the decoder ends up with.
  if (too_large(picture.size())) return {};
  return picture;
}

} // namespace

Manual_Pages Load_Manual_Pages(const QString& folder) {
  Manual_Pages pages;
  for (int n = 1; n <= Manual_Page_Count; ++n) {
    const QString path = folder + QString::number(n) + QStringLiteral(".bmp");
    QImage picture;
    // Only a plain file is a page: a pipe in its place would block the start for good.
    if (QFileInfo(path).isFile()) {
      QString problem;
      picture = Load_Page(path, problem);
      if (!problem.isEmpty()) pages.Problems << problem;
    }
    pages.Pictures[static_cast<std::size_t>(n)] =
        picture.isNull() ? Placeholder_Picture() : std::move(picture);
  }
  return pages;
}
