// The program's entry point. Until the handheld's main window is built, it opens a plain window
// with the game's title.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Grathmoor (Brennicor, Zephyrine Series) Simulator"));
  window.resize(527, 348);
  window.show();
  return app.exec();
}
