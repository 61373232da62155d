// The manual viewer: the handheld's printed manual as sixteen page pictures in a borderless
// window on top of the game. Arrow buttons or the Left and Right keys turn pages, the close
// button or Esc hides it, dragging the page moves it. A press shows the pressed look; the
// release acts, so a held key turns exactly one page.
#pragma once

#include "desktop/reporter.h"
#include "input/held_inputs.h"
#include "input/key_reader.h"
#include "windows/manual_pages.h"
#include "windows/window_look.h"

#include <QPoint>
#include <QWidget>

class QLabel;

class TManualForm : public QWidget {
  Q_OBJECT
public:
  // The size and the pages are those of the Manual section of Config.ini in program_folder;
  // each page is decoded when it is shown. Page files that exist but cannot be used are
  // reported once, through report_problem, and shown as the placeholder; the viewer works on.
  TManualForm(const QString& program_folder, Reporter report_problem, QWidget* parent = nullptr);

  // Reads the layout and checks the pages, or takes the check begun ahead for them, and tells
  // what it found; once. The program does it as it starts, after the splash is drawn; the first
  // opening does it at the latest.
  void Check_Pages(std::future<Manual_Check> checked_ahead = {});

  // Shows the window, not modal, at the page last seen (every showing shows that page).
  void Open();

  int Manual_Page() const { return Page; }
  QImage Page_Picture(int page) const;

  void Vid_Show_Page();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();
  void Inp_esc_down();
  void Inp_esc_up();

protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  enum class Button { None, Left, Right, Close };
  QLabel* Add_Button_Picture(const char* name, const char* resource);
  void Place_Buttons();
  Button Button_At(QPoint point) const;
  void Key_Down(std::uint16_t code);
  void Key_Up(std::uint16_t code);

  QString Program_Folder;
  Reporter Report_Problem;
  bool Pages_Checked = false;
  Manual_Pages Pages;
  int Page = 1;
  Button Pressed_Button = Button::None;
  bool Dragging = false;
  QPoint Manual_Drag; // where the page was grabbed, in the page's coordinates
  Held_Inputs Held;
  Key_Reader Keys{Held, [this](std::uint16_t code) { Key_Down(code); },
                  [this](std::uint16_t code) { Key_Up(code); }};

  Label_Pictures Button_Pictures;
  QLabel* im_page_01 = nullptr;
  QLabel* im_page_top = nullptr;
  QLabel* btn_right_down = nullptr;
  QLabel* btn_right_up = nullptr;
  QLabel* btn_left_down = nullptr;
  QLabel* btn_left_up = nullptr;
  QLabel* btn_close_down = nullptr;
  QLabel* btn_close_up = nullptr;
};
