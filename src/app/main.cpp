// The program: builds the handheld, then creates its five windows once, in order (the main
// window, about, key settings, manual, splash), then runs the event loop. The command line asks for
// help or the version, or how the LCD is drawn.
#include "app/command_line.h"
#include "app/program_end.h"
#include "desktop/display_scale.h"
#include "desktop/shell_open.h"
#include "desktop/text_font.h"
#include "display/main_window.h"
#include "handheld/event_trace.h"
#include "handheld/handheld.h"
#include "input/stale_keys.h"
#include "input/x11_keyboard.h"
#include "settings/settings_key.h"
#include "windows/about_form.h"
#include "windows/drop_down_list.h"
#include "windows/keys_form.h"
#include "windows/manual_form.h"
#include "windows/splash_form.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <iostream>
#include <malloc.h>

namespace {

// Every message box of the program goes through here; the trace records its text, so a run
// can be checked for what the user was told.
const Event_Trace Message_Trace;

// Opens a side window over the handheld, wherever the desktop places it: it names the main
// window as its parent before it is first shown (its native window is made then, not at start).
template <typename Side_Window> void Open_Over(Side_Window& window, QWidget& main_window) {
  window.winId();
  if (!window.windowHandle()->transientParent())
    window.windowHandle()->setTransientParent(main_window.windowHandle());
  window.Open();
}

void Show_Error(const QString& text) {
  Message_Trace.Trace("message " + QString(text).replace('\n', ' ').toStdString());
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
  box.exec();
}

} // namespace

int main(int argc, char** argv) {
  // Pictures of a screen's size come and go (the desk, the frame, the manual's pages): each is
  // given its own mapping, which goes back to the system when the picture goes. Left to itself,
  // the allocator raises this threshold after the first such picture is freed and keeps the
  // next ones in its heap, which then holds on to their memory for good.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  // The threads that decode pictures side by side would each get a heap of their own, which
  // keeps what they freed: they share one (2 MiB less after F12 at 3x).
  mallopt(M_ARENA_MAX, 2);
  Game_Options options;
  if (const auto answered = Answer_Command_Line(argc, argv, std::cout, std::cerr, options))
    return *answered;
  // The splash, when it comes, is the first thing seen: its font and pictures are readied on
  // threads of their own while the windows are made, and what it does not show waits until it
  // is drawn (the handheld's pictures, the manual's check), told in the same order as otherwise.
  // A splash that tells of a bad setting as it is made does so after the start's other reports,
  // as always: then nothing waits for it. Foreseen before the application object, from the
  // settings the handheld then opens.
  const Splash_Foresight splash_start = Foresee_Splash(Settings_Key());
  // The handheld shown at once draws no text before its first frame: the fonts are read once
  // that frame is drawn. The splash's are read beside the application object's start. Waited
  // for before the program ends.
  std::shared_future<void> font_configuration;
  if (!splash_start.Skipped) font_configuration = Read_Font_Configuration_Ahead();
  // The handheld follows the desktop's scale, rounded to a whole factor so that every skin
  // pixel covers whole screen pixels.
  Round_Scale_Overrides();
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QString());
  // One family for every text the program shows, menus and message boxes too: the one the
  // windows are laid out in (Arial, or its metric twin).
  QFont font = QApplication::font();
  font.setFamilies(Text_Families());
  QApplication::setFont(font);
  Use_Plain_Drop_Down_Lists();
  // A held key makes one press and one release.
  const X11_Keyboard keyboard = Set_Up_X11_Keyboard();
  if (keyboard.On_X11)
    Message_Trace.Trace(std::string("keyboard detectable-auto-repeat ") +
                        (keyboard.Detectable_Auto_Repeat ? "on" : "off"));
  // Closing the main window ends the program, whatever side window is still open.
  QApplication::setQuitOnLastWindowClosed(false);

  bool ending = false;
  auto request_end = [&ending] {
    ending = true;
    Request_Event_Loop_End();
  };

  Main_Window_Environment environment;
  environment.Exe_Dir = QCoreApplication::applicationDirPath();
  environment.Open = Desktop_Shell_Open;
  environment.Request_End = request_end;
  Handheld handheld(Show_Error, options.Lcd_Response_On, options.Zoom);
  environment.Skin_After_Splash = !splash_start.Skipped && !splash_start.Tells;
  // The text font is found as the configuration is read; waited for before the application
  // object goes.
  std::future<void> text_font_found;
  const auto find_text_font = [&] {
    if (!font_configuration.valid()) font_configuration = Read_Font_Configuration_Ahead();
    if (!text_font_found.valid()) text_font_found = Find_Text_Font_Ahead(font_configuration);
  };
  if (!splash_start.Skipped) find_text_font();
  environment.First_Frame_Drawn = find_text_font;
  Pictures_Ahead splash_pictures;
  if (environment.Skin_After_Splash)
    splash_pictures = TSplashForm::Decode_Pictures_Ahead(Primary_Screen_Scale());
  // Without the splash the sound starts at once: its library loads beside the handheld's
  // pictures. Behind the splash it loads once the splash is drawn; without sound, for the pads,
  // once the handheld is.
  if (splash_start.Sound_At_Once) handheld.Load_Sound_And_Pads_Ahead();
  // The manual's pages are checked while the handheld's pictures are decoded: the manual window
  // tells what the check found, as it would have found it itself.
  std::future<Manual_Check> manual_check;
  const auto check_manual_ahead = [&] {
    manual_check = Check_Manual_Ahead(environment.Exe_Dir, Primary_Screen_Scale());
  };
  if (!environment.Skin_After_Splash) check_manual_ahead();
  TForm1 form(handheld, environment, Show_Error);
  if (ending) return 0; // Config.ini is missing: reported, and the game is never shown

  TAboutForm about(Desktop_Shell_Open);
  TKeysForm keys(
      handheld.Settings(), handheld.Key_Bindings(), [&handheld] { handheld.Rebuild_Hints(); },
      [&form](bool enabled) { form.setEnabled(enabled); });
  TManualForm manual(environment.Exe_Dir, Show_Error);

  Splash_Host host;
  host.Start_Sound = [&handheld](const QString& output) { return handheld.Start_Sound(output); };
  host.Centre_Main_Window = [&form] { form.Centre(); };
  host.Start_Demo = [&handheld] { handheld.Start_Demo(); };
  host.Finish_Start = [&] {
    if (!manual_check.valid()) check_manual_ahead();
    form.Finish_Skin();
    manual.Check_Pages(std::move(manual_check));
    handheld.Load_Sound_And_Pads_Ahead();
  };
  host.Terminate = request_end;
  TSplashForm splash(handheld.Settings(), handheld.Prefs(), Desktop_Shell_Open, host,
                     std::move(splash_pictures));

  Side_Windows side;
  side.Show_About = [&] { Open_Over(about, form); };
  side.Show_Manual = [&] { Open_Over(manual, form); };
  side.Open_Key_Settings = [&] { Open_Over(keys, form); };
  side.Main_Window_Activated = [&splash] { splash.Main_Window_Activated(); };
  form.Attach_Side_Windows(side);
  splash.Play_If_Skipped();
  if (ending) return 0; // the skip path's sound start-up failed

  // Installed last, so it sees every key before the side windows' own key filters do.
  const Stale_Keys stale_keys(Keys_Down_On_Server);

  QTimer::singleShot(0, &form, [&form] { form.FormActivate(); });
  const int exit_code = QApplication::exec();
  // Every start stores the key bindings, one ended before its splash was drawn too.
  handheld.Store_Key_Bindings();
  return exit_code;
}
