// The about window: the maker's portrait and details, with links to his web page and e-mail.
#pragma once

#include "desktop/shell_open.h"

#include <QWidget>

class Click_Label;
class QLabel;

class TAboutForm : public QWidget {
  Q_OBJECT
public:
  // Created hidden; the links are opened through shell_open.
  explicit TAboutForm(Shell_Open shell_open, QWidget* parent = nullptr);

  // Shows the window at the screen's centre, in front; a second call shows the same window.
  void Open();

private:
  void Build_Contents();
  void Open_Link(const QString& target);

  Shell_Open Shell;
  QLabel* im_picture = nullptr;
  Click_Label* la_website_2 = nullptr;
  Click_Label* la_email_2 = nullptr;
};
