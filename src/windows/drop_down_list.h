// The side windows' drop-down list: in their font, its pop-up opens below it as a list of at
// most a given number of rows that scrolls, instead of a column as tall as the screen.
#pragma once

#include <QComboBox>

// Makes every drop-down list of the application open that way: the application's style, given
// once before its first window is made. A list finds it and takes no style of its own, which
// would make its pop-up at once.
void Use_Plain_Drop_Down_Lists();

class Drop_Down_List : public QComboBox {
public:
  Drop_Down_List(int rows, QWidget* parent);

  void showPopup() override;

private:
  bool Popup_Ready = false;
};
