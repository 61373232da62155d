#include "windows/window_look.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QObject>
#include <QPalette>
#include <QScreen>
#include <QWidget>

QFont Pixel_Font(const QString& family, int pixel_size, unsigned style) {
  QFont font;
  font.setFamilies({family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixel_size);
  font.setBold((style & Font_Bold) != 0);
  font.setItalic((style & Font_Italic) != 0);
  font.setUnderline((style & Font_Underline) != 0);
  return font;
}

void Set_Text_Colour(QLabel& label, const QColor& colour) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

void Centre_On_Screen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

namespace {

// Sees the key presses of a window and of every control inside it. A key a control leaves
// unused travels on to its parent and passes here again; the handler therefore only acts on
// keys it then swallows, so a second look changes nothing.
class Key_Preview_Filter : public QObject {
public:
  Key_Preview_Filter(QWidget& window, std::function<bool(const QKeyEvent&)> on_key_down)
      : QObject(&window), On_Key_Down(std::move(on_key_down)) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && On_Key_Down(*static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<bool(const QKeyEvent&)> On_Key_Down;
};

} // namespace

void Install_Key_Preview(QWidget& window, std::function<bool(const QKeyEvent&)> on_key_down) {
  auto* filter = new Key_Preview_Filter(window, std::move(on_key_down));
  window.installEventFilter(filter);
  for (QWidget* child : window.findChildren<QWidget*>())
    child->installEventFilter(filter);
}
