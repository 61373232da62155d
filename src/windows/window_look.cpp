#include "windows/window_look.h"

#include "assets/picture_file.h"
#include "desktop/text_font.h"
#include "desktop/window_system.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QObject>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <cmath>
#include <utility>

QFont Side_Window_Font(int pixel_size, unsigned style) {
  QFont font = Text_Font(pixel_size);
  font.setBold((style & Font_Bold) != 0);
  font.setItalic((style & Font_Italic) != 0);
  font.setUnderline((style & Font_Underline) != 0);
  return font;
}

QImage Image_For_Scale(const QString& resource, int scale) {
  // The pictures are built in: one that is missing leaves its place empty, without a word.
  return Load_Picture_For_Scale(resource, scale, {}).value_or(QImage());
}

QPixmap Picture_For_Scale(const QString& resource, int scale) {
  return QPixmap::fromImage(Image_For_Scale(resource, scale));
}

namespace {

// Draws a label's picture with every picture pixel a block of screen pixels, where the screen
// holds a whole multiple of the picture's pixels: the label itself would enlarge it smoothly.
class Sharp_Enlargement : public QObject {
public:
  static constexpr const char* Name = "sharp enlargement";

  explicit Sharp_Enlargement(QLabel& label) : QObject(&label), Label(label) {
    setObjectName(QLatin1String(Name));
    label.installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    // A disabled label greys its picture: that the label draws itself.
    if (event->type() != QEvent::Paint || !Label.isEnabled()) return false;
    const QPixmap picture = Label.pixmap();
    const qreal own = picture.devicePixelRatio();
    const qreal screen = Label.devicePixelRatio();
    if (picture.isNull() || screen <= own || std::fmod(screen, own) != 0) return false;
    // Placed as the label places it.
    const QRect place =
        QStyle::alignedRect(QGuiApplication::layoutDirection(), Label.alignment(),
                            picture.deviceIndependentSize().toSize(), Label.contentsRect());
    QPainter painter(&Label);
    painter.drawPixmap(place.topLeft(), picture);
    return true;
  }

private:
  QLabel& Label;
};

} // namespace

void Show_Picture(QLabel& label, const QPixmap& picture) {
  if (!label.findChild<QObject*>(QLatin1String(Sharp_Enlargement::Name),
                                 Qt::FindDirectChildrenOnly))
    new Sharp_Enlargement(label);
  label.setPixmap(picture);
}

Pictures_Ahead Decode_Pictures_Ahead(QStringList resources, int scale) {
  Pictures_Ahead ahead{resources, scale, {}};
  ahead.Images = std::async(std::launch::async, [resources = std::move(resources), scale] {
    std::vector<QImage> images;
    for (const QString& resource : resources)
      images.push_back(Image_For_Scale(resource, scale));
    return images;
  });
  return ahead;
}

void Label_Pictures::Add(QLabel& label, const QString& resource) {
  Labels.emplace_back(&label, resource);
}

void Label_Pictures::Give(int scale, Pictures_Ahead ahead) {
  if (std::exchange(Given, true)) return;
  std::vector<QImage> decoded;
  if (ahead.Images.valid()) decoded = ahead.Images.get();
  for (auto& [label, resource] : Labels) {
    const qsizetype i = ahead.Resources.indexOf(resource);
    const bool ready = ahead.Scale == scale && i >= 0 && std::size_t(i) < decoded.size();
    Show_Picture(*label, ready ? QPixmap::fromImage(std::move(decoded[std::size_t(i)]))
                               : Picture_For_Scale(resource, scale));
  }
}

void Set_Text_Colour(QLabel& label, const QColor& colour) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

void Centre_On_Screen(QWidget& window) {
  // A Wayland compositor places windows itself: over the handheld, for which they are transient.
  if (On_Wayland()) return;
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

namespace {

bool Is_Inside(const QWidget* widget, const QWidget& window) {
  for (; widget; widget = widget->parentWidget())
    if (widget == &window) return true;
  return false;
}

// The drop-down list whose open pop-up holds the widget, if any.
QComboBox* Open_List_Of(QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
    if (auto* list = qobject_cast<QComboBox*>(up))
      return list->view()->isVisible() ? list : nullptr;
  return nullptr;
}

// Sees every key press that goes to a window, to a control inside it or to the pop-up of one of
// its drop-down lists, before any of them does: it watches the whole application, because a
// list's pop-up is a window of its own that takes the keyboard while it is open. A key a
// control leaves unused travels on to its parent and passes here again; the handler therefore
// only acts on keys it then swallows, so a second look changes nothing.
class Key_Preview_Filter : public QObject {
public:
  Key_Preview_Filter(QWidget& window, std::function<bool(const QKeyEvent&)> on_key_down)
      : QObject(&window), Window(window), On_Key_Down(std::move(on_key_down)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!Is_Inside(widget, Window)) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    QComboBox* list = Open_List_Of(widget);
    if (!list) return Act(key, event);
    // An open list: the entry highlighted in it counts as chosen for a key the window acts
    // on, as if the list had been closed on it first.
    const int chosen = list->currentIndex();
    const QModelIndex highlighted = list->view()->currentIndex();
    if (highlighted.isValid() && highlighted.row() != chosen)
      list->setCurrentIndex(highlighted.row());
    if (Act(key, event)) {
      list->hidePopup();
      return true;
    }
    if (list->currentIndex() != chosen) list->setCurrentIndex(chosen);
    return false;
  }

private:
  bool Act(const QKeyEvent& key, QEvent* event) {
    if (!On_Key_Down(key)) return false;
    event->accept();
    return true;
  }

  QWidget& Window;
  std::function<bool(const QKeyEvent&)> On_Key_Down;
};

} // namespace

void Install_Key_Preview(QWidget& window, std::function<bool(const QKeyEvent&)> on_key_down) {
  new Key_Preview_Filter(window, std::move(on_key_down));
}
