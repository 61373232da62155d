// The manual's pages and the viewer's size: section Manual of Config.ini (beside the program)
// names the page folder and the window's size; the pages are 1.bmp .. 16.bmp in that folder.
#pragma once

#include "desktop/reporter.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <future>

inline constexpr int Manual_Page_Count = 16;

struct Manual_Layout {
  QString Folder; // with a trailing '/'; relative folders resolve against the working directory
  int Width = 375;
  int Height = 600;
};

// Reads section Manual of Config.ini in program_folder; a missing file, section or key gives the
// defaults. Sizes are kept within 1..Manual_Max_Side so a stray value cannot ask for a window
// larger than any screen.
inline constexpr int Manual_Max_Side = 8192;
Manual_Layout Read_Manual_Layout(const QString& program_folder);

// The manual's pages, checked once and decoded again each time one is shown: sixteen pages at
// three times the size take over a hundred megabytes, and the manual may never be opened.
class Manual_Pages {
public:
  // The page (1..16) as the check found it: its file decoded for the scale, or the placeholder.
  // A file that can no longer be used shows the placeholder too, without a word.
  QImage Picture(int page) const;

  // Tells, in one message, every page file that exists but could not be used; nothing when all
  // went well. The check may run before anybody can be told, so it keeps them until asked.
  void Report_Problems(const Reporter& report) const;
  // The scale the pages were checked for.
  int Checked_Scale() const { return Scale; }

private:
  friend Manual_Pages Load_Manual_Pages(const QString& folder, int scale);
  struct Page_File {
    QString Path; // empty: the placeholder
    const char* Format = "bmp";
    int File_Scale = 1;
  };
  std::array<Page_File, Manual_Page_Count + 1> Files; // 1..16; index 0 unused
  int Scale = 1;
  QStringList Problems; // one line per page file that exists but could not be used
};

// Checks every page: a missing file or one that is no valid bitmap gives the placeholder, and
// the pages after it are checked all the same. Pictures larger than Manual_Max_Page_Side on a
// side are refused before decoding. At a scale above 1 a page drawn for it is taken where there
// is one, "7@2x.png", "7@2x.jpg" or "7@2x.bmp" beside "7.bmp" (one that cannot be used is
// reported and the 1x page stands in); other pages are enlarged by the scale, pixel for pixel.
inline constexpr int Manual_Max_Page_Side = 4096;
Manual_Pages Load_Manual_Pages(const QString& folder, int scale = 1);

// The viewer's layout from Config.ini and the check of the pages it names.
struct Manual_Check {
  Manual_Layout Layout;
  Manual_Pages Pages;
};

// The check of the manual in program_folder, Config.ini read too, begun on a thread of its own so
// that it goes on while the program makes its other windows; the result waits for its end.
std::future<Manual_Check> Check_Manual_Ahead(const QString& program_folder, int scale);
