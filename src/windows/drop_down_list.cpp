#include "windows/drop_down_list.h"

#include "windows/window_look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <utility>

namespace {

// Fusion and other styles open a list that is not editable over the current entry, with room
// for every entry, and ignore the number of rows; this one asks for a plain list below it and
// draws everything else as the application's style does.
class Plain_Popup_Style : public QProxyStyle {
public:
  // Without a base, the desktop's own style, as the application would have chosen.
  Plain_Popup_Style() = default;
  explicit Plain_Popup_Style(QStyle* base) : QProxyStyle(base) {}

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

} // namespace

void Use_Plain_Drop_Down_Lists() {
  QApplication::setStyle(new Plain_Popup_Style); // the application owns its style
}

Drop_Down_List::Drop_Down_List(int rows, QWidget* parent) : QComboBox(parent) {
  // A font of its own makes the list build its pop-up at once; one taken from the window does
  // not, and the pop-up then waits until it is first opened.
  if (const QFont font = Side_Window_Font(12); this->font() != font) setFont(font);
  setMaxVisibleItems(rows);
  // Its frame is drawn in a shade of the application's window colour, whatever the window's own.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QApplication::palette(this).color(QPalette::Window));
  setPalette(palette);
  // Where the application's style is not the plain one, the list takes one of its own.
  if (dynamic_cast<Plain_Popup_Style*>(QApplication::style())) return;
  auto* style = new Plain_Popup_Style(QStyleFactory::create(QApplication::style()->name()));
  style->setParent(this);
  setStyle(style);
}

void Drop_Down_List::showPopup() {
  // The pop-up was made for the style's own kind, without a scroll bar; a plain list shows one.
  if (!std::exchange(Popup_Ready, true)) view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QComboBox::showPopup();
}
