#include "windows/about_form.h"

#include "desktop/display_scale.h"
#include "game/program_facts.h"
#include "game/virtual_keys.h"
#include "input/key_codes.h"
#include "windows/click_label.h"
#include "windows/window_look.h"

#include <QKeyEvent>
#include <QPixmap>

namespace {

QLabel* Add_Label(QWidget& parent, const char* name, const QString& text, QPoint at,
                  const QFont& font) {
  auto* label = new QLabel(text, &parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  Set_Text_Colour(*label, Qt::white);
  label->move(at);
  label->adjustSize();
  return label;
}

Click_Label* Add_Link(QWidget& parent, const char* name, const QString& text, QPoint at) {
  auto* link = new Click_Label(&parent);
  link->setObjectName(QLatin1String(name));
  link->setText(text);
  link->setFont(Side_Window_Font(12, Font_Bold | Font_Underline));
  Set_Text_Colour(*link, Qt::yellow);
  link->setCursor(Qt::PointingHandCursor);
  link->setGeometry(at.x(), at.y(), 168, 15);
  return link;
}

} // namespace

TAboutForm::TAboutForm(Shell_Open shell_open, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      Shell(std::move(shell_open)) {
  setObjectName(QStringLiteral("TAboutForm"));
  setWindowTitle(QStringLiteral("About the author..."));
  setFixedSize(397, 176);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Dialog_Navy);
  setPalette(palette);
  setAutoFillBackground(true);

  Install_Key_Preview(*this, [this](const QKeyEvent& event) {
    if (Virtual_Key_Code(event) != Vk::Escape) return false;
    hide();
    return true;
  });
}

void TAboutForm::Build_Contents() {
  im_picture = new QLabel(this);
  im_picture->setObjectName(QStringLiteral("im_picture"));
  im_picture->setGeometry(8, 8, 116, 160);
  Show_Picture(*im_picture,
               Picture_For_Scale(QStringLiteral(":/about/portrait.png"), Display_Scale(*this)));

  // The maker's details: bold, the hobby line bold italic.
  struct Line {
    const char* Caption_Name;
    const char* Caption;
    const char* Detail_Name;
    const char* Detail;
    unsigned Detail_Style;
  };
  static constexpr Line Lines[] = {
      {"la_name_1", "Name:", "la_name_2", "Kelvamor", Font_Bold},
      {"la_birthplace_1", "Birthplace:", "la_birthplace_2", "Vellmarsh, Ostrand", Font_Bold},
      {"la_birthdate_1", "Birth date:", "la_birthdate_2", "14th March, 1979", Font_Bold},
      {"la_job_1", "Occupation:", "la_job_2", "Software developer", Font_Bold},
      {"la_hobby_1", "Hobby:", "la_hobby_2", "Pocket LCD games", Font_Bold | Font_Italic},
      {"la_website_1", "Website:", nullptr, nullptr, Font_Plain},
      {"la_email_1", "Email:", nullptr, nullptr, Font_Plain},
  };
  const QFont caption = Side_Window_Font(11);
  int top = 8;
  for (const Line& line : Lines) {
    Add_Label(*this, line.Caption_Name, QLatin1String(line.Caption), {132, top}, caption);
    if (line.Detail)
      Add_Label(*this, line.Detail_Name, QLatin1String(line.Detail), {212, top},
                Side_Window_Font(11, line.Detail_Style));
    top += 24;
  }

  la_website_2 = Add_Link(*this, "la_website_2", QString::fromUtf8(Maker_Website_Text), {212, 128});
  la_email_2 = Add_Link(*this, "la_email_2", QString::fromUtf8(Maker_Email_Text), {212, 152});
  connect(la_website_2, &Click_Label::Clicked, this, [this] { Open_Link(Maker_Website); });
  connect(la_email_2, &Click_Label::Clicked, this, [this] { Open_Link(Maker_Email); });
}

void TAboutForm::Open() {
  // What the window shows is made when it is first opened: the start does not wait for it.
  if (!im_picture) Build_Contents();
  if (!isVisible()) Centre_On_Screen(*this);
  show();
  raise();
  activateWindow();
}

void TAboutForm::Open_Link(const QString& target) {
  if (Shell) Shell(target);
  hide();
}
