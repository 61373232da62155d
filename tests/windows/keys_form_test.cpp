#include "settings/key_choices.h"
#include "settings/settings_fixture.h"
#include "windows/keys_form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QColor White(255, 255, 255), Red(255, 0, 0);

class Keys_Form_Test : public Settings_Test {
protected:
  void SetUp() override {
    Settings_Test::SetUp();
    Settings.emplace();
    Form.emplace(
        *Settings, Bindings, [this] { ++Hints_Rebuilt; },
        [this](bool enabled) { Main_Enabled.push_back(enabled); });
  }

  QComboBox* List(int binding) const {
    return Form->findChild<QComboBox*>(QString("cb_%1").arg(binding));
  }
  QColor Label_Colour(int binding) const {
    return Form->findChild<QLabel*>(QString("la_%1").arg(binding))
        ->palette()
        .color(QPalette::WindowText);
  }
  QPushButton* Accept_Button() const { return Form->findChild<QPushButton*>("btn_accept"); }
  std::vector<QColor> Label_Colours() const {
    return {Label_Colour(1), Label_Colour(2), Label_Colour(3), Label_Colour(4)};
  }

  Key_Binding_Table Bindings = Default_Key_Bindings;
  std::optional<Settings_Key> Settings;
  std::optional<TKeysForm> Form;
  int Hints_Rebuilt = 0;
  std::vector<bool> Main_Enabled;
};

TEST_F(Keys_Form_Test, DuplicateChoicesTurnTheirLabelsRedAndBlockAccept) {
  EXPECT_EQ(List(1), nullptr); // made at the first opening, not at the start
  Form->Open();
  EXPECT_EQ(List(1)->count(), 40);
  // The lists are in the labels' family, and open as a dozen rows that scroll.
  EXPECT_EQ(QFontInfo(List(1)->font()).family(),
            QFontInfo(Form->findChild<QLabel*>("la_1")->font()).family());
  List(1)->showPopup();
  EXPECT_LT(List(1)->view()->height(), 13 * List(1)->view()->sizeHintForRow(0));
  List(1)->hidePopup();
  EXPECT_EQ((QStringList{List(1)->currentText(), List(2)->currentText(), List(3)->currentText(),
                         List(4)->currentText()}),
            (QStringList{"5", "<SHIFT>", "<CTRL>", "<ALT>"}));
  EXPECT_EQ(Label_Colours(), (std::vector<QColor>{White, White, White, White}));

  List(3)->setCurrentText("<SHIFT>");
  EXPECT_EQ(Label_Colours(), (std::vector<QColor>{White, Red, Red, White}));
  EXPECT_FALSE(Accept_Button()->isEnabled());

  QTest::keyClick(List(1), Qt::Key_Return);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Stored("Key3"), "<no file>");

  List(4)->setCurrentText("<SHIFT>");
  EXPECT_EQ(Label_Colours(), (std::vector<QColor>{White, Red, Red, Red}));

  List(3)->setCurrentText("A");
  List(4)->setCurrentText("B");
  EXPECT_EQ(Label_Colours(), (std::vector<QColor>{White, White, White, White}));
  EXPECT_TRUE(Accept_Button()->isEnabled());
}

TEST_F(Keys_Form_Test, EnterAcceptsStoresTheChoicesAndGivesTheMainWindowItsInputBack) {
  Form->Open();
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Main_Enabled, std::vector<bool>{false});

  // A chosen in the open list; Enter there accepts it, as it does with the list closed.
  List(3)->showPopup();
  QAbstractItemView* open_list = List(3)->view();
  open_list->setCurrentIndex(open_list->model()->index(List(3)->findText("A"), 0));
  QTest::keyClick(open_list, Qt::Key_Return);
  EXPECT_FALSE(open_list->isVisible());
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Main_Enabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(Hints_Rebuilt, 1);
  EXPECT_EQ(Stored("Key1"), "6");
  EXPECT_EQ(Stored("Key2"), "39");
  EXPECT_EQ(Stored("Key3"), "11");
  EXPECT_EQ(Stored("Key4"), "37");
  EXPECT_EQ(Bindings[Binding_Attack].Choice, 11);
  EXPECT_EQ(Bindings[Binding_Attack].Key_Code, 0x41);
  EXPECT_EQ(Button_Hint(Build_Key_Words(), Binding_Attack, Bindings[Binding_Attack]),
            "click or press 'A' to start game/attack");
}

TEST_F(Keys_Form_Test, EscLeavesSettingsAndBindingsButKeepsTheUnacceptedSelection) {
  Form->Open();
  List(2)->setCurrentText("Z");
  QTest::keyClick(Form->findChild<QPushButton*>("btn_accept"), Qt::Key_Escape);
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Main_Enabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(Hints_Rebuilt, 0);
  EXPECT_EQ(Stored("Key2"), "<no file>");
  EXPECT_EQ(Bindings[Binding_Cursor].Choice, 39);
  EXPECT_EQ(Bindings[Binding_Cursor].Key_Code, 0x10);

  Form->Open();
  EXPECT_EQ(List(2)->currentText(), "Z");
  // Esc in an open list closes the window, not merely the list.
  List(4)->showPopup();
  QTest::keyClick(List(4)->view(), Qt::Key_Escape);
  EXPECT_FALSE(List(4)->view()->isVisible());
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Main_Enabled, (std::vector<bool>{false, true, false, true}));

  Form->Open();
  // Closed by the desktop although it has no close box, it must not leave the main window off.
  Form->close();
  EXPECT_EQ(Main_Enabled, (std::vector<bool>{false, true, false, true, false, true}));
  EXPECT_EQ(Stored("Key2"), "<no file>");
}

} // namespace
