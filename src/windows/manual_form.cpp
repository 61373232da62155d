#include "windows/manual_form.h"

#include "desktop/display_scale.h"
#include "game/virtual_keys.h"
#include "windows/window_look.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QWindow>
#include <utility>

namespace {
constexpr int Button_Width = 16, Button_Height = 14, Button_Margin = 4;
} // namespace

TManualForm::TManualForm(const QString& program_folder, Reporter report_problem, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Program_Folder(program_folder), Report_Problem(std::move(report_problem)) {
  setObjectName(QStringLiteral("TManualForm"));
  setWindowTitle(QStringLiteral("Manual"));
  setFocusPolicy(Qt::StrongFocus);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);

  // Bottom to top: the first page lies beneath the shown one, so it shows around a smaller page.
  const auto add_page = [this](const char* name) {
    auto* page = new QLabel(this);
    page->setObjectName(QLatin1String(name));
    page->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    page->setAttribute(Qt::WA_TransparentForMouseEvents);
    return page;
  };
  im_page_01 = add_page("im_page_01");
  im_page_top = add_page("im_page_top");
  btn_right_down = Add_Button_Picture("btn_right_down", ":/manual/right_down.png");
  btn_right_up = Add_Button_Picture("btn_right_up", ":/manual/right_up.png");
  btn_left_down = Add_Button_Picture("btn_left_down", ":/manual/left_down.png");
  btn_left_up = Add_Button_Picture("btn_left_up", ":/manual/left_up.png");
  btn_close_down = Add_Button_Picture("btn_close_down", ":/manual/close_down.png");
  btn_close_up = Add_Button_Picture("btn_close_up", ":/manual/close_up.png");
  btn_left_down->hide();
  btn_left_up->hide();
}

void TManualForm::Check_Pages(std::future<Manual_Check> checked_ahead) {
  if (std::exchange(Pages_Checked, true)) return;
  const int scale = Display_Scale(*this);
  const bool begun = checked_ahead.valid();
  Manual_Check check =
      begun ? checked_ahead.get() : Manual_Check{Read_Manual_Layout(Program_Folder), {}};
  setFixedSize(check.Layout.Width, check.Layout.Height);
  im_page_01->setGeometry(rect());
  im_page_top->setGeometry(rect());
  Place_Buttons();
  Centre_On_Screen(*this);
  Pages = begun && check.Pages.Checked_Scale() == scale
              ? std::move(check.Pages)
              : Load_Manual_Pages(check.Layout.Folder, scale);
  Pages.Report_Problems(Report_Problem);
}

QLabel* TManualForm::Add_Button_Picture(const char* name, const char* resource) {
  auto* picture = new QLabel(this);
  picture->setObjectName(QLatin1String(name));
  // Drawn once the manual shows; a missing resource leaves the button empty, but its place
  // still takes the clicks.
  Button_Pictures.Add(*picture, QLatin1String(resource));
  picture->setAttribute(Qt::WA_TransparentForMouseEvents);
  picture->resize(Button_Width, Button_Height);
  return picture;
}

void TManualForm::Place_Buttons() {
  const int right = width() - Button_Margin - Button_Width;
  const int bottom = height() - Button_Margin - Button_Height;
  btn_right_down->move(right, bottom);
  btn_right_up->move(right, bottom);
  btn_left_down->move(Button_Margin, bottom);
  btn_left_up->move(Button_Margin, bottom);
  btn_close_down->move(right, Button_Margin);
  btn_close_up->move(right, Button_Margin);
}

QImage TManualForm::Page_Picture(int page) const {
  return Pages.Picture(page);
}

void TManualForm::Open() {
  Check_Pages();
  show();
  raise();
  activateWindow();
  setFocus();
}

void TManualForm::showEvent(QShowEvent* event) {
  Button_Pictures.Give(Display_Scale(*this));
  // The pages are decoded when the manual is first opened, not before.
  if (im_page_01->pixmap().isNull()) im_page_01->setPixmap(QPixmap::fromImage(Pages.Picture(1)));
  Vid_Show_Page();
  QWidget::showEvent(event);
}

void TManualForm::Vid_Show_Page() {
  im_page_top->setPixmap(QPixmap::fromImage(Page_Picture(Page)));
  const bool left = Page > 1;
  const bool right = Page < Manual_Page_Count;
  btn_left_down->setVisible(left);
  btn_left_up->setVisible(left);
  btn_right_down->setVisible(right);
  btn_right_up->setVisible(right);
}

void TManualForm::Inp_left_down() {
  btn_left_up->hide();
}

void TManualForm::Inp_left_up() {
  Page = std::max(Page - 1, 1);
  Vid_Show_Page();
}

void TManualForm::Inp_right_down() {
  btn_right_up->hide();
}

void TManualForm::Inp_right_up() {
  Page = std::min(Page + 1, Manual_Page_Count);
  Vid_Show_Page();
}

void TManualForm::Inp_esc_down() {
  btn_close_up->hide();
}

void TManualForm::Inp_esc_up() {
  btn_close_up->show();
  hide();
}

void TManualForm::keyPressEvent(QKeyEvent* event) {
  Keys.Key_Press(*event);
}

void TManualForm::keyReleaseEvent(QKeyEvent* event) {
  Keys.Key_Release(*event);
}

void TManualForm::Key_Down(std::uint16_t code) {
  switch (code) {
  case Vk::Left:
    if (Page > 1) Inp_left_down();
    break;
  case Vk::Right:
    if (Page < Manual_Page_Count) Inp_right_down();
    break;
  case Vk::Escape: Inp_esc_down(); break;
  default: break;
  }
}

void TManualForm::Key_Up(std::uint16_t code) {
  switch (code) {
  case Vk::Left:
    if (Page > 1) Inp_left_up();
    break;
  case Vk::Right:
    if (Page < Manual_Page_Count) Inp_right_up();
    break;
  case Vk::Escape: Inp_esc_up(); break;
  default: break;
  }
}

void TManualForm::focusOutEvent(QFocusEvent* event) {
  // The releases of keys held now go elsewhere: forget the keys and their pressed looks.
  Keys.Flush();
  Held.Release_All();
  btn_close_up->show();
  Vid_Show_Page();
  QWidget::focusOutEvent(event);
}

TManualForm::Button TManualForm::Button_At(QPoint point) const {
  if (btn_close_up->isVisible() && btn_close_up->geometry().contains(point)) return Button::Close;
  if (btn_left_up->isVisible() && btn_left_up->geometry().contains(point)) return Button::Left;
  if (btn_right_up->isVisible() && btn_right_up->geometry().contains(point)) return Button::Right;
  return Button::None;
}

void TManualForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  Pressed_Button = Button_At(at);
  switch (Pressed_Button) {
  case Button::Left: Inp_left_down(); break;
  case Button::Right: Inp_right_down(); break;
  case Button::Close: Inp_esc_down(); break;
  case Button::None:
    // The window system moves the window where it can; the window moves itself only where it
    // declines (bare X).
    if (windowHandle() && windowHandle()->startSystemMove()) break;
    Dragging = true;
    Manual_Drag = at;
    break;
  }
}

void TManualForm::mouseMoveEvent(QMouseEvent* event) {
  if (!Dragging || !(event->buttons() & Qt::LeftButton)) return;
  // The page moves with the window, so the grabbed point stays under the pointer.
  const QPoint at = event->position().toPoint();
  move(x() + at.x() - Manual_Drag.x(), y() + at.y() - Manual_Drag.y());
}

void TManualForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Button released = Pressed_Button;
  Pressed_Button = Button::None;
  Dragging = false;
  switch (released) {
  case Button::Left: Inp_left_up(); break;
  case Button::Right: Inp_right_up(); break;
  case Button::Close: Inp_esc_up(); break;
  case Button::None: break;
  }
}
