#include "windows/click_label.h"

#include <QMouseEvent>

Click_Label::Click_Label(QWidget* parent) : QLabel(parent) {}

void Click_Label::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Pressed = true;
  QLabel::mousePressEvent(event);
}

void Click_Label::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
  const bool was_pressed = Pressed;
  Pressed = false;
  if (was_pressed && rect().contains(event->position().toPoint())) emit Clicked();
}
