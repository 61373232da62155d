// Shared looks and habits of the side windows: pixel-sized fonts (laid out in logical pixels,
// whatever the screen's density), pictures drawn for the screen's scale, the dark navy of the
// game's dialogs, placement at the centre of the screen, and key preview.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>
#include <future>
#include <utility>
#include <vector>

class QKeyEvent;
class QLabel;
class QWidget;

inline const QColor Dialog_Navy(8, 41, 82);

enum Font_Style : unsigned {
  Font_Plain = 0,
  Font_Bold = 1,
  Font_Italic = 2,
  Font_Underline = 4,
};

// The program's one family (desktop/text_font.h) at a pixel size, for the side windows' labels,
// lists, buttons and boxes alike; the toolkit's default face differs.
QFont Side_Window_Font(int pixel_size, unsigned style = Font_Plain);

// A built-in picture for a scale: its "@<scale>x" twin among the resources when there is one,
// else the picture itself, which Show_Picture's label enlarges as it draws it (a copy enlarged
// beforehand would cost the splash at 3x its largest picture's worth of time and memory). A
// missing resource gives an empty one.
QImage Image_For_Scale(const QString& resource, int scale);
QPixmap Picture_For_Scale(const QString& resource, int scale);

// Shows the picture in the label, each of its pixels a block of screen pixels on a screen that
// holds a whole multiple of them; no colour is made up.
void Show_Picture(QLabel& label, const QPixmap& picture);

// Built-in pictures for a scale, decoded on a thread of their own for a window that shows them
// later.
struct Pictures_Ahead {
  QStringList Resources;
  int Scale = 0;
  std::future<std::vector<QImage>> Images;
};
Pictures_Ahead Decode_Pictures_Ahead(QStringList resources, int scale);

// The labels of a window that show built-in pictures. They get their pictures when the window
// first shows, taken from those decoded ahead for its scale where there are: a window never
// shown decodes none.
class Label_Pictures {
public:
  void Add(QLabel& label, const QString& resource);
  // Once; later calls do nothing.
  void Give(int scale, Pictures_Ahead ahead = {});

private:
  std::vector<std::pair<QLabel*, QString>> Labels;
  bool Given = false;
};

// Gives a label its text colour (and keeps its background see-through).
void Set_Text_Colour(QLabel& label, const QColor& colour);

// Places a top-level window at the screen's centre, rounding toward zero, where the window
// system lets a program place its windows.
void Centre_On_Screen(QWidget& window);

// Lets a window see every key press before its controls do, also while one of its drop-down
// lists is open. The handler returns true when it acted on the key; such a key goes no further.
void Install_Key_Preview(QWidget& window, std::function<bool(const QKeyEvent&)> on_key_down);
