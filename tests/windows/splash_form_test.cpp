#include "handheld/preferences.h"
#include "settings/settings_fixture.h"
#include "windows/splash_form.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace {

class Splash_Form_Test : public Settings_Test {
protected:
  // What the rest of the program was asked to do, in order.
  Splash_Host Recording_Host() {
    return {
        .Start_Sound =
            [this](const QString& output) {
              Log << "sound " + output + " (SoundMode " + Stored("SoundMode") + ")";
              return Sound_Starts;
            },
        .Centre_Main_Window = [this] { Log << "centre"; },
        .Start_Demo = [this] { Log << "demo"; },
        .Finish_Start = [this] { Log << "finish start"; },
        .Terminate = [this] { Log << "terminate"; },
    };
  }
  // A start of the program: the store opens, then the splash is created and, when skipped,
  // plays. What the main window's menu would show of the splash choice is logged as "menu".
  TSplashForm& Start() {
    Form.reset();
    Prefs.reset();
    Settings.reset();
    Settings.emplace();
    Prefs.emplace(*Settings, std::nullopt);
    QObject::connect(&*Prefs, &Preferences::Splash_At_Start_Changed,
                     [this](bool on) { Log << QString("menu %1").arg(on); });
    Form.emplace(
        *Settings, *Prefs, [this](const QString& target) { Opened << target; }, Recording_Host());
    Form->Play_If_Skipped();
    return *Form;
  }
  QComboBox* Sound_List() const { return Form->findChild<QComboBox*>("cb_sound"); }
  bool Shown(const char* name) const { return Form->findChild<QLabel*>(name)->isVisible(); }

  std::optional<Settings_Key> Settings;
  std::optional<Preferences> Prefs;
  std::optional<TSplashForm> Form;
  bool Sound_Starts = true;
  QStringList Log;
  QStringList Opened;
};

TEST_F(Splash_Form_Test, FirstStartWaitsForASoundOutput) {
  TSplashForm& splash = Start();
  EXPECT_FALSE(splash.isVisible());
  const auto picture = [this] { return Form->findChild<QLabel*>("im_background")->pixmap(); };
  EXPECT_TRUE(picture().isNull()); // decoded as the splash shows
  splash.Main_Window_Activated();
  EXPECT_EQ(picture().size(), QSize(460, 420));
  EXPECT_TRUE(splash.isVisible());
  EXPECT_EQ(splash.size(), QSize(460, 420));
  EXPECT_EQ(Sound_List()->currentIndex(), -1);
  EXPECT_EQ(Sound_List()->count(), 3);
  // The label before the list stands on the list text's baseline.
  const QLabel* label = Form->findChild<QLabel*>("la_sound_select");
  EXPECT_EQ(label->geometry().center().y(), Sound_List()->geometry().center().y());
  EXPECT_EQ(label->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
  EXPECT_EQ(QFontInfo(label->font()).family(), QFontInfo(Sound_List()->font()).family());
  EXPECT_TRUE(Form->findChild<QCheckBox*>("chb_splashscreen")->isChecked());
  EXPECT_FALSE(Shown("btn_play"));
  EXPECT_TRUE(Shown("btn_play_disabled"));
  EXPECT_EQ(Form->findChild<QLabel*>("btn_play_disabled")->toolTip(),
            "please select sound driver first");

  QTest::keyClick(Sound_List(), Qt::Key_Return);
  QTest::keyClick(Sound_List(), Qt::Key_1);
  EXPECT_TRUE(Log.isEmpty());
  EXPECT_TRUE(splash.isVisible());

  Sound_List()->setCurrentIndex(0);
  EXPECT_TRUE(Shown("btn_play"));
  EXPECT_FALSE(Shown("btn_play_disabled"));
}

TEST_F(Splash_Form_Test, OnePlaysInSilenceAndStoresTheChoices) {
  TSplashForm& splash = Start();
  splash.Main_Window_Activated();
  // Chosen in the open list: the highlighted entry counts for the key that plays, and only
  // for it.
  Sound_List()->showPopup();
  QAbstractItemView* open_list = Sound_List()->view();
  ASSERT_TRUE(open_list->isVisible());
  // A plain list below the closed one, not a column over it.
  const QPoint list_bottom = Sound_List()->mapToGlobal(QPoint(0, Sound_List()->height() - 1));
  EXPECT_GE(open_list->window()->y(), list_bottom.y());
  open_list->setCurrentIndex(open_list->model()->index(2, 0));
  QTest::keyClick(open_list, Qt::Key_1, Qt::KeypadModifier);
  EXPECT_TRUE(Log.isEmpty());
  EXPECT_EQ(Sound_List()->currentIndex(), -1);

  QTest::keyClick(open_list, Qt::Key_1);
  EXPECT_FALSE(open_list->isVisible());
  EXPECT_EQ(Log, (QStringList{"finish start", "sound (no sound) (SoundMode 2)", "menu 1", "centre",
                              "demo"}));
  EXPECT_EQ(Stored("SoundMode"), "2");
  EXPECT_EQ(Stored("SplashScreen"), "1");
  EXPECT_FALSE(splash.isVisible());
  // The links' pointer comes with the end of the start, at the latest when play begins.
  EXPECT_EQ(Form->findChild<QLabel*>("la_website_2")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Splash_Form_Test, UntickedThisStartSkipsTheSplashNextStart) {
  Start().Main_Window_Activated();
  Sound_List()->setCurrentIndex(1);
  Form->findChild<QCheckBox*>("chb_splashscreen")->setChecked(false);
  QTest::keyClick(Sound_List(), Qt::Key_Enter);
  EXPECT_EQ(Log, (QStringList{"menu 0", "finish start", "sound ALSA (SoundMode 1)", "menu 0",
                              "centre", "demo"}));

  Log.clear();
  TSplashForm& next = Start();
  EXPECT_TRUE(Foresee_Splash(*Settings).Skipped); // as the program foresees it
  EXPECT_TRUE(Foresee_Splash(*Settings).Sound_At_Once);
  EXPECT_EQ(Log,
            (QStringList{"finish start", "sound ALSA (SoundMode 1)", "menu 0", "centre", "demo"}));
  next.Main_Window_Activated();
  EXPECT_FALSE(next.isVisible());
}

TEST_F(Splash_Form_Test, WithoutAStoredOutputTheSplashShowsEvenWhenSwitchedOff) {
  Write_Store("[General]\nSoundMode=-1\nSplashScreen=0\n");
  TSplashForm& splash = Start();
  EXPECT_TRUE(Log.isEmpty());
  EXPECT_FALSE(Foresee_Splash(*Settings).Skipped);
  EXPECT_FALSE(Form->findChild<QCheckBox*>("chb_splashscreen")->isChecked());
  splash.Main_Window_Activated();
  EXPECT_TRUE(splash.isVisible());
  // A value that is not text, which the splash will tell of, is foreseen without a word.
  Write_Store("[General]\nSoundMode=a,b\n");
  EXPECT_TRUE(Foresee_Splash(Settings_Key()).Tells);
}

TEST_F(Splash_Form_Test, EscEndsTheProgramWithoutTouchingTheSettings) {
  Start().Main_Window_Activated();
  Sound_List()->setCurrentIndex(0);
  QTest::keyClick(Sound_List(), Qt::Key_Escape);
  EXPECT_EQ(Log, QStringList{"terminate"});
  // With the list open, too: Esc does not merely close the list.
  Sound_List()->showPopup();
  QTest::keyClick(Sound_List()->view(), Qt::Key_Escape);
  EXPECT_EQ(Log, (QStringList{"terminate", "terminate"}));
  // Closed by the desktop before play, it ends the program the same way.
  Form->close();
  EXPECT_EQ(Log, (QStringList{"terminate", "terminate", "terminate"}));
  EXPECT_EQ(Stored("SoundMode"), "<no file>");
}

TEST_F(Splash_Form_Test, AMissingArrowSoundResetsTheChoiceAndEndsTheProgram) {
  Sound_Starts = false;
  TSplashForm& splash = Start();
  splash.Main_Window_Activated();
  Sound_List()->setCurrentIndex(0);
  Form->findChild<QCheckBox*>("chb_splashscreen")->setChecked(false);
  QTest::mouseClick(Form->findChild<QLabel*>("btn_play"), Qt::LeftButton);
  EXPECT_EQ(Log, (QStringList{"menu 0", "finish start", "sound PulseAudio (SoundMode 0)", "menu 1",
                              "terminate"}));
  EXPECT_EQ(Stored("SoundMode"), "-1");
  EXPECT_EQ(Stored("SplashScreen"), "1");

  // Ending takes a moment; a second play meanwhile must not start the sound again.
  QTest::keyClick(Sound_List(), Qt::Key_Return);
  EXPECT_EQ(Log.size(), 5);
}

TEST_F(Splash_Form_Test, LinksOpenTheirTargetsAndTheSplashWaits) {
  TSplashForm& splash = Start();
  splash.Main_Window_Activated();
  for (const char* name : {"la_website_2", "la_email_2", "btn_paypal"})
    QTest::mouseClick(Form->findChild<QLabel*>(name), Qt::LeftButton);
  EXPECT_EQ(Opened, (QStringList{"https://kelvamor.example/", "mailto:kelvamor@kelvamor.example",
                                 "https://kelvamor.example/donate"}));
  EXPECT_TRUE(splash.isVisible());
  EXPECT_TRUE(Log.isEmpty());
}

} // namespace
