// A label (text or picture) that reports a click of the left mouse button: pressed and released
// over it, as a link or a picture button is clicked.
#pragma once

#include <QLabel>

class Click_Label : public QLabel {
  Q_OBJECT
public:
  explicit Click_Label(QWidget* parent);

signals:
  void Clicked();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool Pressed = false;
};
