// Draws the game folder's pictures, pages and documents and the side windows' pictures.
//
//   grathmoor_art <game folder> <resource folder> <contact sheet.png> <handheld.png>
#include "art_style.h"
#include "backdrop.h"
#include "contact_sheet.h"
#include "manual_pages.h"
#include "side_pictures.h"
#include "skin_files.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  // Drawing needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: grathmoor_art <game folder> <resource folder> <contact sheet.png> "
                         "<handheld.png>\n");
    return 2;
  }
  const QString game_dir = QString::fromLocal8Bit(argv[1]);
  const QString resource_dir = QString::fromLocal8Bit(argv[2]);
  const QString sheet_file = QString::fromLocal8Bit(argv[3]);
  const QString handheld_file = QString::fromLocal8Bit(argv[4]);

  const Art::Picture_Files skin = Art::Skin_Files();
  const Art::Picture_Files backdrops = Art::Backdrop_Files();
  const Art::Picture_Files icons = Art::Icon_Files();
  const Art::Picture_Files side = Art::Side_Window_Files();
  bool pages_fit = true;
  const Art::Picture_Files manual = Art::Manual_Files(pages_fit);
  bool ok = Art::Save_All(skin, game_dir);
  ok &= pages_fit;
  // Pages of an older build in another format would be packed along with the new ones.
  for (const QString& stale : Art::Stale_Manual_Files(game_dir))
    ok &= QFile::remove(stale);
  ok &= Art::Save_All(manual, game_dir);
  ok &= Art::Save_Text(Art::Config_Ini_Text(), game_dir + QStringLiteral("/Config.ini"));
  ok &= Art::Save_All(backdrops, game_dir);
  ok &= Art::Save_All(icons, game_dir);
  ok &= Art::Save_All(side, resource_dir);
  // The README's picture: the handheld as a screen at twice the scale shows it.
  ok &= Art::Save(Art::Lit_Handheld(2), handheld_file, "PNG");
  // The sheet lays out the 1x pictures; the handheld heads it at every scale.
  const auto one = [](const Art::Picture_Files& files) { return Art::At_Scale_Only(files, 1); };
  ok &= Art::Save(
      Art::Contact_Sheet({{QStringLiteral("Skin"), one(skin), 1.0},
                          {QStringLiteral("Backdrop (reduced) and logo"), one(backdrops), 0.3},
                          {QStringLiteral("Icons"), one(icons), 1.0},
                          {QStringLiteral("Side windows"), one(side), 1.0},
                          {QStringLiteral("Manual pages (half size)"), one(manual), 0.5}}),
      sheet_file, "PNG");
  return ok ? 0 : 1;
}
