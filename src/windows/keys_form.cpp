#include "windows/keys_form.h"

#include "game/virtual_keys.h"
#include "input/key_codes.h"
#include "settings/key_choices.h"
#include "windows/drop_down_list.h"
#include "windows/window_look.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* Add_Label(QWidget& parent, const char* name, const QString& text, QRect place,
                  const QFont& font, Qt::Alignment alignment) {
  auto* label = new QLabel(text, &parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  label->setAlignment(alignment | Qt::AlignTop);
  label->setGeometry(place);
  Set_Text_Colour(*label, Qt::white);
  return label;
}

} // namespace

TKeysForm::TKeysForm(Settings_Key& settings, Key_Binding_Table& bindings,
                     std::function<void()> rebuild_hints,
                     std::function<void(bool enabled)> set_main_window_enabled, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Settings(settings), Bindings(bindings), Rebuild_Hints(std::move(rebuild_hints)),
      Set_Main_Window_Enabled(std::move(set_main_window_enabled)) {
  setObjectName(QStringLiteral("TKeysForm"));
  setWindowTitle(QStringLiteral("Key settings"));
  setFixedSize(448, 163);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Dialog_Navy);
  setPalette(palette);
  setAutoFillBackground(true);

  Install_Key_Preview(*this, [this](const QKeyEvent& event) {
    switch (Virtual_Key_Code(event)) {
    case Vk::Return:
      if (btn_accept->isEnabled()) Accept();
      return true;
    case Vk::Escape: Close_Without_Storing(); return true;
    default: return false;
    }
  });
}

void TKeysForm::Build_Contents() {
  const QFont heading = Side_Window_Font(11, Font_Bold | Font_Underline);
  const QFont key_label = Side_Window_Font(11, Font_Bold);
  Add_Label(*this, "la_main", QStringLiteral("Main operations"), {8, 8, 104, 13}, heading,
            Qt::AlignLeft);
  Add_Label(*this, "la_controls", QStringLiteral("Game controls"), {336, 8, 104, 13}, heading,
            Qt::AlignRight);
  Key_Labels = {
      Add_Label(*this, "la_1", QStringLiteral("All Clear"), {136, 33, 72, 14}, key_label,
                Qt::AlignLeft),
      Add_Label(*this, "la_2", QStringLiteral("Cursor"), {216, 33, 96, 14}, key_label,
                Qt::AlignRight),
      Add_Label(*this, "la_3", QStringLiteral("Start game/Attack"), {216, 65, 96, 14}, key_label,
                Qt::AlignRight),
      Add_Label(*this, "la_4", QStringLiteral("Select game/Move"), {200, 97, 112, 14}, key_label,
                Qt::AlignRight),
  };

  const QStringList choices = Key_Choice_Texts();
  const QRect list_places[4] = {
      {8, 29, 120, 21}, {320, 29, 120, 21}, {320, 61, 120, 21}, {320, 93, 120, 21}};
  for (int i = 0; i < 4; ++i) {
    // About a dozen rows at a time: the forty choices would fill the screen.
    auto* list = new Drop_Down_List(12, this);
    list->setObjectName(QStringLiteral("cb_%1").arg(i + 1));
    list->addItems(choices);
    list->setGeometry(list_places[i]);
    // A choice outside the list selects nothing, which the change check refuses to accept.
    list->setCurrentIndex(Bindings[static_cast<std::size_t>(i + 1)].Choice - 1);
    Key_Lists[static_cast<std::size_t>(i)] = list;
  }

  btn_accept = new QPushButton(QStringLiteral("- ACCEPT -"), this);
  btn_accept->setObjectName(QStringLiteral("btn_accept"));
  btn_accept->setFont(Side_Window_Font(12, Font_Bold));
  btn_accept->setCursor(Qt::PointingHandCursor);
  btn_accept->setGeometry(183, 130, 82, 25);

  QWidget::setTabOrder(Key_Lists[0], Key_Lists[1]);
  QWidget::setTabOrder(Key_Lists[1], Key_Lists[2]);
  QWidget::setTabOrder(Key_Lists[2], Key_Lists[3]);
  QWidget::setTabOrder(Key_Lists[3], btn_accept);

  Change_Check();
  for (QComboBox* list : Key_Lists)
    connect(list, &QComboBox::currentIndexChanged, this, [this] { Change_Check(); });
  connect(btn_accept, &QPushButton::clicked, this, [this] { Accept(); });
}

void TKeysForm::Open() {
  // The labels and lists are made when the window is first opened: the start does not wait.
  if (!btn_accept) Build_Contents();
  Centre_On_Screen(*this);
  show();
  raise();
  activateWindow();
  Key_Lists[0]->setFocus();
  if (Set_Main_Window_Enabled) Set_Main_Window_Enabled(false);
}

bool TKeysForm::CheckKeys() {
  for (QLabel* label : Key_Labels)
    Set_Text_Colour(*label, QColor(255, 255, 255));
  bool duplicate = false;
  for (std::size_t j = 0; j < 4; ++j)
    for (std::size_t k = 0; k < 4; ++k) {
      if (j == k || Key_Lists[j]->currentText() != Key_Lists[k]->currentText()) continue;
      Set_Text_Colour(*Key_Labels[j], QColor(255, 0, 0));
      Set_Text_Colour(*Key_Labels[k], QColor(255, 0, 0));
      duplicate = true;
    }
  return duplicate;
}

void TKeysForm::Change_Check() {
  bool all_chosen = true;
  for (const QComboBox* list : Key_Lists)
    all_chosen = all_chosen && list->currentIndex() >= 0;
  btn_accept->setEnabled(!CheckKeys() && all_chosen);
}

void TKeysForm::Accept() {
  if (!btn_accept->isEnabled()) return;
  for (std::size_t n = 1; n <= 4; ++n)
    Bindings[n].Choice = Key_Lists[n - 1]->currentIndex() + 1;
  Store_Key_Bindings(Settings, Bindings);
  if (Rebuild_Hints) Rebuild_Hints();
  if (Set_Main_Window_Enabled) Set_Main_Window_Enabled(true);
  hide();
}

void TKeysForm::Close_Without_Storing() {
  if (Set_Main_Window_Enabled) Set_Main_Window_Enabled(true);
  hide();
}

void TKeysForm::closeEvent(QCloseEvent* event) {
  // The desktop may close the window although it has no close box; the main window must not
  // stay disabled.
  if (Set_Main_Window_Enabled) Set_Main_Window_Enabled(true);
  QWidget::closeEvent(event);
}
