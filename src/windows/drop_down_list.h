// The side windows' drop-down list: in their font, its pop-up opens below it as a list of at
// most a given number of rows that scrolls, instead of a column as tall as the screen.
#pragma once

#include <QComboBox>

class Drop_Down_List : public QComboBox {
public:
  Drop_Down_List(int rows, QWidget* parent);

  void showPopup() override;

private:
  bool Popup_Ready = false;
};
