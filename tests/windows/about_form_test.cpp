#include "windows/about_form.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class About_Form_Test : public ::testing::Test {
protected:
  QStringList Opened;
  TAboutForm Form{[this](const QString& target) { Opened << target; }};

  int Visible_About_Windows() const {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
      count += window->isVisible() && window->windowTitle() == "About the author..." ? 1 : 0;
    return count;
  }
};

TEST_F(About_Form_Test, OpeningTwiceShowsOneCentredWindowAndEscClosesIt) {
  EXPECT_FALSE(Form.isVisible());
  Form.Open();
  Form.Open();
  EXPECT_EQ(Visible_About_Windows(), 1);
  EXPECT_EQ(Form.size(), QSize(397, 176));
  const QRect screen = Form.screen()->geometry();
  EXPECT_EQ(Form.pos(), QPoint((screen.width() - 397) / 2, (screen.height() - 176) / 2));

  QTest::keyClick(&Form, Qt::Key_Escape);
  EXPECT_EQ(Visible_About_Windows(), 0);
  EXPECT_TRUE(Opened.isEmpty());
}

TEST_F(About_Form_Test, ALinkClickOpensItsTargetAndClosesTheWindow) {
  const std::pair<const char*, QString> links[] = {
      {"la_website_2", "https://kelvamor.example/"},
      {"la_email_2", "mailto:kelvamor@kelvamor.example"}};
  for (const auto& [name, target] : links) {
    Form.Open();
    auto* link = Form.findChild<QLabel*>(name);
    ASSERT_NE(link, nullptr) << name;
    EXPECT_EQ(link->geometry(), QRect(212, name[3] == 'w' ? 128 : 152, 168, 15));
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(Opened.value(Opened.size() - 1), target);
    EXPECT_FALSE(Form.isVisible());
  }
  EXPECT_EQ(Opened.size(), 2);
}

} // namespace
