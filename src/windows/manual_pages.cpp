#include "windows/manual_pages.h"

#include "assets/config_ini.h"
#include "assets/picture_file.h"
#include "assets/picture_scale.h"
#include "desktop/side_by_side.h"

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
QImage Load_Page(const QString& path, const char* format, QString& problem) {
  QImageReader reader(path, format);
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
  picture.setDevicePixelRatio(1); // the reader reads "@2x" in a name as a scale
  return picture;
}

// Whether a page file can be used; one that is there but unusable adds to the problems. Only a
// plain file is a page: a pipe in its place would block the start for good.
bool Usable_Page_File(const QString& path, const char* format, QStringList& problems) {
  if (!QFileInfo(path).isFile()) return false;
  QString problem;
  const bool decoded = !Load_Page(path, format, problem).isNull();
  if (!problem.isEmpty()) problems << problem;
  return decoded && problem.isEmpty();
}

} // namespace

Manual_Pages Load_Manual_Pages(const QString& folder, int scale) {
  Manual_Pages pages;
  pages.Scale = scale;
  static constexpr std::pair<const char*, const char*> Twin_Kinds[] = {
      {"png", "png"}, {"jpg", "jpeg"}, {"bmp", "bmp"}};
  // The pages are checked side by side, a page to a thread at a time, and their problems told
  // in page order.
  std::array<QStringList, Manual_Page_Count + 1> problems;
  const auto check = [&](int n) {
    Manual_Pages::Page_File& file = pages.Files[static_cast<std::size_t>(n)];
    QStringList& told = problems[static_cast<std::size_t>(n)];
    // The page drawn for the scale, else the 1x page.
    for (const auto& [extension, format] : Twin_Kinds) {
      const QString path = folder + QStringLiteral("%1@%2x.%3").arg(n).arg(scale).arg(extension);
      if (scale > 1 && Usable_Page_File(path, format, told)) {
        file = {path, format, scale};
        break;
      }
    }
    const QString path = folder + QString::number(n) + QStringLiteral(".bmp");
    if (file.Path.isEmpty() && Usable_Page_File(path, "bmp", told)) file = {path, "bmp", 1};
  };
  Run_Side_By_Side(Manual_Page_Count, [&](int i) { check(i + 1); });
  for (const QStringList& told : problems)
    pages.Problems << told;
  return pages;
}

std::future<Manual_Pages> Check_Manual_Pages_Ahead(const QString& program_folder, int scale) {
  return std::async(std::launch::async, [folder = Read_Manual_Layout(program_folder).Folder,
                                         scale] { return Load_Manual_Pages(folder, scale); });
}

QImage Manual_Pages::Picture(int page) const {
  const Page_File& file = Files[static_cast<std::size_t>(std::clamp(page, 1, Manual_Page_Count))];
  QString problem;
  QImage picture = file.Path.isEmpty() ? QImage() : Load_Page(file.Path, file.Format, problem);
  if (picture.isNull() || !problem.isEmpty()) return For_Scale(Placeholder_Picture(), Scale);
  picture.setDevicePixelRatio(file.File_Scale);
  return For_Scale(picture, Scale);
}
