#include "windows/splash_form.h"

#include "desktop/display_scale.h"
#include "game/program_facts.h"
#include "game/virtual_keys.h"
#include "handheld/preferences.h"
#include "input/key_codes.h"
#include "settings/settings_key.h"
#include "sound/sound_system.h"
#include "windows/click_label.h"
#include "windows/drop_down_list.h"
#include "windows/window_look.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

const QColor Link_Blue(24, 82, 148);

template <typename Label = QLabel>
Label* Add_Label(QWidget& parent, const char* name, const QString& text, QRect place,
                 unsigned style, const QColor& colour, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new Label(&parent);
  label->setObjectName(QLatin1String(name));
  label->setText(text);
  label->setFont(Side_Window_Font(12, style));
  label->setAlignment((alignment & Qt::AlignVertical_Mask) ? alignment : alignment | Qt::AlignTop);
  label->setGeometry(place);
  Set_Text_Colour(*label, colour);
  return label;
}

// The splash's built-in pictures.
const QString Background = QStringLiteral(":/splash/background.png");
const QString Box = QStringLiteral(":/splash/box.jpg");
const QString Play_Button = QStringLiteral(":/splash/play.png");
const QString Play_Disabled = QStringLiteral(":/splash/play_disabled.png");
const QString Donate = QStringLiteral(":/splash/donate.png");

// A picture label; it gets its picture when the splash first shows (a missing one leaves it
// empty).
template <typename Label = QLabel>
Label* Add_Picture(QWidget& parent, Label_Pictures& pictures, const char* name,
                   const QString& resource, QRect place) {
  auto* picture = new Label(&parent);
  picture->setObjectName(QLatin1String(name));
  pictures.Add(*picture, resource);
  picture->setAlignment(Qt::AlignCenter);
  picture->setGeometry(place);
  return picture;
}

} // namespace

Pictures_Ahead TSplashForm::Decode_Pictures_Ahead(int scale) {
  return ::Decode_Pictures_Ahead({Background, Box, Play_Button, Play_Disabled, Donate}, scale);
}

Splash_Foresight Foresee_Splash(const Settings_Key& settings) {
  // Read quietly: the splash reads both again as it is made, and tells then what is wrong.
  const std::optional<int> stored = settings.Peek_Integer(Setting::Sound_Mode);
  const auto chosen =
      std::find_if(Sound_Modes.begin(), Sound_Modes.end(),
                   [&](const Sound_Mode& mode) { return stored && mode.Stored_Value == *stored; });
  const bool skipped =
      chosen != Sound_Modes.end() && settings.Peek_Integer(Setting::Splash_Screen).value_or(1) == 0;
  return {skipped,
          settings.Would_Tell(Setting::Sound_Mode) || settings.Would_Tell(Setting::Splash_Screen),
          skipped && chosen->Output_Kind != 0};
}

TSplashForm::TSplashForm(Settings_Key& settings, Preferences& preferences, Shell_Open shell_open,
                         Splash_Host host, Pictures_Ahead pictures, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Settings(settings), Prefs(preferences), Shell(std::move(shell_open)), Host(std::move(host)),
      Ahead(std::move(pictures)) {
  setObjectName(QStringLiteral("TSplashForm"));
  setWindowTitle(QStringLiteral("About this game..."));
  setFixedSize(460, 420);
  // The font of the list and the box, given before they are made so that they take it as made.
  setFont(Side_Window_Font(12));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);

  Add_Picture(*this, Pictures, "im_background", Background, {0, 0, 460, 420});
  Add_Picture(*this, Pictures, "im_box_picture", Box, {0, 56, 460, 160});

  Add_Label(*this, "la_game_title", QString::fromUtf8(Program_Title), {0, 12, 460, 15}, Font_Bold,
            Qt::white, Qt::AlignHCenter);
  Add_Label(*this, "la_version", QStringLiteral("Version %1 * Final *").arg(Program_Version),
            {0, 28, 460, 15}, Font_Bold, Qt::white, Qt::AlignHCenter);
  Add_Label(*this, "la_release_date", QStringLiteral("Released by Kelvamor on 4th December, 2017"),
            {0, 236, 460, 15}, Font_Plain, Qt::black, Qt::AlignHCenter);
  Add_Label(*this, "la_website_1", QStringLiteral("website:"), {118, 259, 56, 15}, Font_Plain,
            Qt::black);
  auto* la_website_2 =
      Add_Label<Click_Label>(*this, "la_website_2", QString::fromUtf8(Maker_Website_Text),
                             {174, 259, 168, 15}, Font_Bold | Font_Underline, Link_Blue);
  Add_Label(*this, "la_email_1", QStringLiteral("email:"), {118, 282, 56, 15}, Font_Plain,
            Qt::black);
  auto* la_email_2 =
      Add_Label<Click_Label>(*this, "la_email_2", QString::fromUtf8(Maker_Email_Text),
                             {174, 282, 168, 15}, Font_Bold | Font_Underline, Link_Blue);
  // The label is as tall as the list and centred in it like the list's text, in the same font,
  // so the two stand on one baseline.
  const QRect sound_list_place(217, 308, 144, 21);
  Add_Label(*this, "la_sound_select", QStringLiteral("Select sound driver:"),
            {98, sound_list_place.top(), 116, sound_list_place.height()}, Font_Plain, Qt::black,
            Qt::AlignLeft | Qt::AlignVCenter);

  cb_sound = new Drop_Down_List(static_cast<int>(Sound_Modes.size()), this);
  cb_sound->setObjectName(QStringLiteral("cb_sound"));
  // The stored SoundMode goes with each entry.
  for (const Sound_Mode& mode : Sound_Modes)
    cb_sound->addItem(QString::fromUtf8(mode.Text), mode.Stored_Value);
  cb_sound->setGeometry(sound_list_place);

  btn_play =
      Add_Picture<Click_Label>(*this, Pictures, "btn_play", Play_Button, {116, 340, 107, 30});
  btn_play_disabled =
      Add_Picture(*this, Pictures, "btn_play_disabled", Play_Disabled, {116, 340, 107, 30});
  btn_play_disabled->setToolTip(QStringLiteral("please select sound driver first"));
  btn_play_disabled->hide();
  auto* btn_paypal =
      Add_Picture<Click_Label>(*this, Pictures, "btn_paypal", Donate, {237, 340, 107, 30});

  chb_splashscreen = new QCheckBox(QStringLiteral("Display this splash screen at startup"), this);
  chb_splashscreen->setObjectName(QStringLiteral("chb_splashscreen"));
  QPalette box_palette = chb_splashscreen->palette();
  // Styles differ in which roles a check box paints its text and background with.
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
    box_palette.setColor(role, Qt::white);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
    box_palette.setColor(role, Dialog_Navy);
  chb_splashscreen->setPalette(box_palette);
  chb_splashscreen->setAutoFillBackground(true);
  chb_splashscreen->setGeometry(12, 391, 444, 17);
  chb_splashscreen->setChecked(true);
  QWidget::setTabOrder(cb_sound, chb_splashscreen);

  // Set once the splash is drawn: the shapes come from the pointer's theme, which the first
  // picture need not wait for.
  Pointer_Shapes = {{la_website_2, Qt::PointingHandCursor},
                    {la_email_2, Qt::PointingHandCursor},
                    {btn_play, Qt::PointingHandCursor},
                    {btn_paypal, Qt::PointingHandCursor},
                    {btn_play_disabled, Qt::WhatsThisCursor}};
  const auto open = [this](const QString& target) {
    if (Shell) Shell(target);
  };
  connect(la_website_2, &Click_Label::Clicked, this, [open] { open(Maker_Website); });
  connect(la_email_2, &Click_Label::Clicked, this, [open] { open(Maker_Email); });
  connect(btn_paypal, &Click_Label::Clicked, this, [open] { open(Donation_Page); });
  connect(btn_play, &Click_Label::Clicked, this, [this] { Play(); });
  connect(cb_sound, &QComboBox::currentIndexChanged, this, [this] { Update_Play_Buttons(); });
  Install_Key_Preview(*this, [this](const QKeyEvent& event) { return On_Key_Down(event); });

  // A stored number of no mode selects nothing.
  cb_sound->setCurrentIndex(
      cb_sound->findData(Settings.Read_Integer(Setting::Sound_Mode, Sound_Mode_Unset)));
  chb_splashscreen->setChecked(Prefs.Splash_At_Start());
  // The box shows the one choice of the program, and changes it (kept at play).
  connect(chb_splashscreen, &QCheckBox::toggled, &Prefs, &Preferences::Show_Splash_At_Start);
  connect(&Prefs, &Preferences::Splash_At_Start_Changed, chb_splashscreen, &QCheckBox::setChecked);

  Skip_Path = cb_sound->currentIndex() >= 0 && !chb_splashscreen->isChecked();
  if (Skip_Path) {
    move(-width(), -height());
    Show_On_Activate = false;
    return;
  }
  Centre_On_Screen(*this);
  Update_Play_Buttons();
}

void TSplashForm::Play_If_Skipped() {
  if (Skip_Path) Play();
}

void TSplashForm::Main_Window_Activated() {
  if (!Show_On_Activate) return;
  Show_On_Activate = false;
  show();
  raise();
  activateWindow();
  cb_sound->setFocus();
}

void TSplashForm::showEvent(QShowEvent* event) {
  Pictures.Give(Display_Scale(*this), std::move(Ahead));
  QWidget::showEvent(event);
}

void TSplashForm::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  // The next pass of the loop comes after this picture went to the window system.
  if (!Start_Finished) QTimer::singleShot(0, this, [this] { Finish_Start(); });
}

void TSplashForm::Finish_Start() {
  if (std::exchange(Start_Finished, true)) return;
  for (const auto& [widget, shape] : Pointer_Shapes)
    widget->setCursor(shape);
  if (Host.Finish_Start) Host.Finish_Start();
}

void TSplashForm::changeEvent(QEvent* event) {
  // Whenever the splash becomes the active window, the sound list has the keyboard.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) cb_sound->setFocus();
  QWidget::changeEvent(event);
}

void TSplashForm::closeEvent(QCloseEvent* event) {
  // The window has no close box, but the desktop may close it all the same. Before play, that
  // would leave the program running with nothing on the screen: it is taken as Esc.
  if (!Play_Done && Host.Terminate) Host.Terminate();
  QWidget::closeEvent(event);
}

void TSplashForm::Update_Play_Buttons() {
  const bool chosen = !cb_sound->currentText().isEmpty();
  btn_play->setEnabled(chosen);
  btn_play->setVisible(chosen);
  btn_play_disabled->setVisible(!chosen);
}

bool TSplashForm::On_Key_Down(const QKeyEvent& event) {
  switch (Virtual_Key_Code(event)) {
  case Vk::Escape:
    if (Host.Terminate) Host.Terminate();
    return true;
  case Vk::Return:
  case Vk::Main_1:
    if (!btn_play->isEnabled()) return false;
    Play();
    return true;
  default: return false;
  }
}

void TSplashForm::Play() {
  if (Play_Done || cb_sound->currentIndex() < 0) return;
  Finish_Start();
  Play_Done = true;
  Settings.Write_Integer(Setting::Sound_Mode, cb_sound->currentData().toInt());
  const bool sound_started = !Host.Start_Sound || Host.Start_Sound(cb_sound->currentText());
  if (!sound_started) {
    // The next start shows the splash again with no output chosen.
    Settings.Write_Integer(Setting::Sound_Mode, Sound_Mode_Unset);
    Prefs.Keep_Splash_At_Start(true);
    if (Host.Terminate) Host.Terminate();
    return;
  }
  Prefs.Keep_Splash_At_Start(chb_splashscreen->isChecked());
  if (Host.Centre_Main_Window) Host.Centre_Main_Window();
  if (Host.Start_Demo) Host.Start_Demo();
  hide();
  // The splash is not shown again: its pictures are let go of.
  for (QLabel* picture : findChildren<QLabel*>())
    picture->setPixmap(QPixmap());
}
