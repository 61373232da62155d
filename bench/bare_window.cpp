// The floor of start-up: a bare Qt Widgets program that maps one window of the handheld's size
// and does nothing else. The benchmark starts it the same way as the game and compares. With
// "--text" the window also shows one line in the game's font: the floor of any window with text,
// which starts the system's fonts.
#include "desktop/text_font.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare window"));
  window.resize(527, 348);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    auto* line = new QLabel(QStringLiteral("Grathmoor"), &window);
    line->setFont(Text_Font(12));
    line->adjustSize();
  }
  window.show();
  return QApplication::exec();
}
