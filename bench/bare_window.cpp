// The floor of start-up: a bare Qt Widgets program that maps one window of the handheld's size
// and does nothing else. The benchmark starts it the same way as the game and compares.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare window"));
  window.resize(527, 348);
  window.show();
  return QApplication::exec();
}
