#include "windows/manual_pages.h"

#include "assets/config_ini.h"
#include "assets/picture_file.h"
#include "assets/picture_scale.h"
#include "desktop/side_by_side.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

Manual_Layout Read_Manual_Layout(const QString& program_folder) {
  Manual_Layout layout;
  const std::optional<Config_Ini> ini =
      Config_Ini::Load(QDir(program_folder).filePath(QStringLiteral("Config.ini")));
  const Config_Ini empty = Config_Ini::Parse({});
  const Config_Ini& config = ini ? *ini : empty;
  layout.Folder = config.Folder(Config::Manual_Dir);
  layout.Height = std::clamp(config.Integer(Config::Manual_Height), 1, Manual_Max_Side);
  layout.Width = std::clamp(config.Integer(Config::Manual_Width), 1, Manual_Max_Side);
  return layout;
}

namespace {

QString Page_Not_Decoded(const QString& path, const QString&) {
  return Problem_In(path, QStringLiteral("Bitmap image is not valid"));
}

QString Page_Too_Large(const QString& path, qint64 width, qint64 height) {
  return Problem_In(
      path, QStringLiteral("the page is too large (%1 x %2 pixels)").arg(width).arg(height));
}

constexpr Picture_Rules Page_Rules{Manual_Max_Page_Side, Page_Not_Decoded, Page_Too_Large};

// Whether a page file can be used; one that is there but unusable is reported. Only a plain file
// is a page: a pipe in its place would block the start for good. The pages drawn for a scale are
// checked without decoding them: at 3x that would take both cores for most of a second.
bool Usable_Page_File(const QString& path, const char* format, const Reporter& report) {
  return QFileInfo(path).isFile() && Check_Picture(path, format, Page_Rules, report);
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
    const Reporter tell = [&told](const QString& problem) { told << problem; };
    // The page drawn for the scale, else the 1x page.
    for (const auto& [extension, format] : Twin_Kinds) {
      const QString path =
          Scaled_File_Name(folder + QStringLiteral("%1.%2").arg(n).arg(extension), scale);
      if (scale > 1 && Usable_Page_File(path, format, tell)) {
        file = {path, format, scale};
        break;
      }
    }
    const QString path = folder + QString::number(n) + QStringLiteral(".bmp");
    if (file.Path.isEmpty() && Usable_Page_File(path, "bmp", tell)) file = {path, "bmp", 1};
  };
  Run_Side_By_Side(Manual_Page_Count, [&](int i) { check(i + 1); });
  for (const QStringList& told : problems)
    pages.Problems << told;
  return pages;
}

std::future<Manual_Check> Check_Manual_Ahead(const QString& program_folder, int scale) {
  return std::async(std::launch::async, [program_folder, scale] {
    Manual_Layout layout = Read_Manual_Layout(program_folder);
    Manual_Pages pages = Load_Manual_Pages(layout.Folder, scale);
    return Manual_Check{std::move(layout), std::move(pages)};
  });
}

QImage Manual_Pages::Picture(int page) const {
  const Page_File& file = Files[static_cast<std::size_t>(std::clamp(page, 1, Manual_Page_Count))];
  std::optional<QImage> picture;
  if (!file.Path.isEmpty()) picture = Read_Picture(file.Path, file.Format, Page_Rules, {});
  if (!picture) return For_Scale(Placeholder_Picture(), Scale);
  picture->setDevicePixelRatio(file.File_Scale);
  return For_Scale(*picture, Scale);
}

void Manual_Pages::Report_Problems(const Reporter& report) const {
  if (!Problems.isEmpty() && report)
    report(QStringLiteral("Some pages of the manual could not be shown:\n") +
           Problems.join(QLatin1Char('\n')));
}
