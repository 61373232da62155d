// The main window on Qt's offscreen platform: display modes, keys, pointer, menus.
#include "app/program_end.h"
#include "display/main_window.h"
#include "display/window_shape.h"
#include "input/native_keys.h"
#include "input/virtual_pad.h"
#include "settings/settings_key.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace {

class Main_Window : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Config_Home.isValid() && Game_Dir.isValid());
    qputenv("XDG_CONFIG_HOME", Config_Home.path().toUtf8());
    // QSettings finds the user's folder once per process: start every test from no settings.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelvamor", "Tov50").clear();
    // Segments switch at once, as the settings file can ask: a frame shows what the surface
    // holds without waiting for the liquid crystal.
    Store("LcdResponse", "0");
    Write_Config("");
  }

  void Write_Config(const QByteArray& text) {
    QFile file(Game_Dir.filePath("Config.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  // The built-in layout of every skin element, without pictures.
  void Write_Layout_Config() {
    QByteArray text;
    for (int n = 1; n <= Skin_Element_Count; ++n) {
      const Element_Info& e = Element_Table[static_cast<std::size_t>(Skin_Elements[n - 1])];
      text += QStringLiteral("[Image%1]\nLeft=%2\nTop=%3\nWidth=%4\nHeight=%5\n")
                  .arg(n)
                  .arg(e.Left)
                  .arg(e.Top)
                  .arg(e.Width)
                  .arg(e.Height)
                  .toUtf8();
    }
    Write_Config(text);
  }

  void Store(const QString& name, const QString& value) {
    Settings_Key settings;
    settings.Write_Integer(name, value.toInt());
  }

  std::unique_ptr<TForm1> Create(const QString& exe_dir = {}, bool skin_after_splash = false) {
    Main_Window_Environment env;
    env.Exe_Dir = exe_dir.isEmpty() ? Game_Dir.path() : exe_dir;
    env.Skin_After_Splash = skin_after_splash;
    env.Open = [this](const QString& target) { Opened.push_back(target); };
    env.Request_End = [this] { ++End_Requests; };
    env.First_Frame_Drawn = [this] { ++First_Frames; };
    const Reporter report = [this](const QString& message) { Errors.push_back(message); };
    Hand = std::make_unique<Handheld>(report);
    auto form = std::make_unique<TForm1>(*Hand, env, report);
    Side_Windows side;
    side.Open_Key_Settings = [this, f = form.get()] {
      ++Key_Settings_Opened;
      f->setEnabled(false);
    };
    form->Attach_Side_Windows(side);
    return form;
  }

  // The handheld in its demo, as after the splash's play command.
  Game_Core& Start_Demo() {
    Game_Core& game = Hand->Game();
    game.Set_Game_Mode(Mode_Demo);
    game.Gam_Set_Mode();
    return game;
  }

  static QAction* Item(TForm1& form, const QString& caption) {
    for (QAction* a : form.Popup_Items)
      if (a->text() == caption) return a;
    return nullptr;
  }

  std::unique_ptr<Handheld> Hand;
  QTemporaryDir Config_Home;
  QTemporaryDir Game_Dir;
  std::vector<QString> Opened;
  std::vector<QString> Errors;
  int End_Requests = 0;
  int Key_Settings_Opened = 0;
  int First_Frames = 0;
};

TEST_F(Main_Window, MenuHasTwelveItemsInOrderWithTheirShortcuts) {
  auto form = Create();
  const QStringList captions = {"About...",
                                "View 'Readme.txt'",
                                "View 'Whatsnew.txt'",
                                "View manual",
                                "",
                                "Edit configuration file",
                                "Key settings",
                                "",
                                "Display in fullscreen mode",
                                "Display splash screen at startup",
                                "",
                                "Exit"};
  const QStringList shortcuts = {"F1", "F2", "F3", "F4", "", "", "", "", "F12", "", "", "Esc"};
  for (int i = 0; i < 12; ++i) {
    QAction* item = form->Popup_Items[static_cast<std::size_t>(i)];
    EXPECT_EQ(item->isSeparator() ? QString() : item->text(), captions[i]);
    EXPECT_EQ(item->shortcut().toString(), shortcuts[i]);
  }
  EXPECT_EQ(form->Popup_Menu().defaultAction(), form->Popup_Items[0]);
  EXPECT_TRUE(form->Popup_Items[0]->font().bold());
}

TEST_F(Main_Window, FirstStartIsFullScreenWithTheMenuButton) {
  auto form = Create();
  EXPECT_TRUE(Hand->Prefs().Fullscreen());
  EXPECT_TRUE(form->pm_10_fullscreen->isChecked());
  EXPECT_TRUE(Hand->Surface().Shown(btn_game_menu_top));
  EXPECT_EQ(Hand->Surface()[btn_game_menu_background].Rect.size(), QSize(36, 32));
}

TEST_F(Main_Window, WindowedModeSizesToTheGameAndShapesByTheKeyColour) {
  Store("FullscreenMode", "0");
  Store("Zoom", "9900"); // larger than the screen: shown at the largest step, and kept
  auto form = Create();
  EXPECT_FALSE(Hand->Prefs().Fullscreen());
  const int largest = Largest_Windowed_Zoom(
      {527, 348}, QGuiApplication::primaryScreen()->availableGeometry().size());
  EXPECT_EQ(form->size(), QSize(527, 348) * largest / 100);
  EXPECT_EQ(Settings_Key().Read_Integer("Zoom", 0), 9900);
  // The Size submenu offers the steps that fit, the one shown checked; a choice is kept.
  QMetaObject::invokeMethod(
      &form->Popup_Menu(), [&] { form->Popup_Menu().close(); }, Qt::QueuedConnection);
  QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(300, 300));
  const QList<QAction*> steps = form->pm_size->actions();
  ASSERT_EQ(steps.size(), largest / 100);
  EXPECT_EQ(steps.back()->text(), QStringLiteral("%1 %").arg(largest));
  EXPECT_TRUE(steps.back()->isChecked());
  steps.front()->trigger();
  EXPECT_EQ(Settings_Key().Read_Integer("Zoom", 0), 100);
  EXPECT_EQ(form->size(), QSize(527, 348));
  // An empty Config.ini leaves everything in the key colour magenta.
  EXPECT_EQ(form->Frame().pixel(10, 10), qRgb(255, 0, 255));
  EXPECT_FALSE(Hand->Surface().Shown(btn_game_menu_top));
}

TEST_F(Main_Window, TheModeSwitchKeepsARunningGameAndStoresTheMode) {
  Store("FullscreenMode", "0");
  auto form = Create();
  Game_Core& game = Start_Demo();
  game.Inp_attack_press(); // "L1"
  const QString panel = Hand->Surface().Panel_Text();
  // The in-game menu's panel is drawn once full screen has the menu.
  EXPECT_TRUE(Hand->Surface()[btn_game_menu_background].Picture.isNull());
  form->Mode_Switch();
  EXPECT_TRUE(Hand->Prefs().Fullscreen());
  EXPECT_FALSE(Hand->Surface()[btn_game_menu_background].Picture.isNull());
  EXPECT_EQ(Hand->Surface().Panel_Text(), panel);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_1);
  EXPECT_EQ(Settings_Key().Read_Bool("FullscreenMode", false), true);
  form->Mode_Switch();
  EXPECT_EQ(Settings_Key().Read_Bool("FullscreenMode", true), false);
}

TEST_F(Main_Window, TheModeSwitchKeepsThePaintedPanelWithTheShippedSkin) {
  // The shipped skin's folders are relative to the game folder, as when the game runs.
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(GAME_DIR));
  Store("FullscreenMode", "0");
  auto form = Create(GAME_DIR);
  ASSERT_TRUE(Errors.empty());
  Game_Core& game = Start_Demo();
  game.Inp_attack_press(); // "L1"
  const auto panel = [&] {
    QCoreApplication::processEvents();
    const Lcd_Surface& s = Hand->Surface();
    const QRect both = s[im_panel_digit_pos_1].Rect.united(s[im_panel_digit_pos_2].Rect);
    const QRect device = form->Layout().Device_Rect(im_panel_digit_pos_1, both);
    return form->Frame().copy(device).convertToFormat(QImage::Format_RGB32);
  };
  const QImage windowed = panel();
  form->Mode_Switch();
  EXPECT_TRUE(Hand->Prefs().Fullscreen());
  const QImage full = panel();
  form->Mode_Switch();
  EXPECT_TRUE(panel() == windowed) << "windowed again";
  form->Mode_Switch();
  EXPECT_TRUE(panel() == full) << "full screen again";
  // The panel does show something: blanking it changes the picture.
  Hand->Surface().Blank_Position(0);
  EXPECT_FALSE(panel() == full);
  QDir::setCurrent(previous);
}

TEST_F(Main_Window, InGameMenuRowsCarryCaptionsMarksAndSeparators) {
  auto form = Create();
  const Lcd_Surface& s = Hand->Surface();
  const QImage untitled = s[btn_game_menu_background].Picture; // the title comes as it opens
  form->Game_Menu_Open = true;
  form->Vid_Display_Game_Menu(true);
  EXPECT_NE(s[btn_game_menu_background].Picture, untitled);
  EXPECT_EQ(s[la_menu_item_9].Text, "   Display in fullscreen mode [V]");
  EXPECT_EQ(s[la_menu_item_1].Text, "   About...");
  // Arial of a 16-pixel cell: the line is 16 pixels high, leading included.
  EXPECT_EQ(Lcd_Painter::Text_Size(la_menu_item_1, s[la_menu_item_1].Text).height(), 16);
  for (Element_Id separator : {la_menu_item_5, la_menu_item_8, la_menu_item_11}) {
    EXPECT_TRUE(s[separator].Text.isEmpty());
    EXPECT_FALSE(s[separator].Hand_Pointer);
  }
  EXPECT_EQ(s[la_menu_item_5].Rect.top(), 160);
  EXPECT_EQ(s[la_menu_item_8].Rect.top(), 256);
  EXPECT_EQ(s[la_menu_item_11].Rect.top(), 352);
  EXPECT_EQ(s[btn_game_menu_background].Rect.size(), QSize(256, 416));

  // A click on a separator does nothing; the menu stays open. The menu is as large as it fits.
  const auto menu = [&](QPoint p) {
    return form->Layout().Menu.Device_Rect({p, QSize(1, 1)}).topLeft() / form->Layout().Scale;
  };
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, menu({100, 170}));
  EXPECT_TRUE(form->Game_Menu_Open);

  // Choosing the full-screen row switches to windowed mode and leaves no rows.
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, menu({100, 32 * 9 + 10}));
  EXPECT_FALSE(Hand->Prefs().Fullscreen());
  EXPECT_FALSE(form->Game_Menu_Open);
  for (Element_Id row : Game_Menu_Labels)
    EXPECT_FALSE(s.Shown(row));
  EXPECT_FALSE(s.Shown(btn_game_menu_top));
}

TEST_F(Main_Window, MenuButtonOpensAndClosesAndTheShortcutsCloseIt) {
  auto form = Create();
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(form->Game_Menu_Open);
  EXPECT_TRUE(Hand->Surface().Shown(la_menu_item_1));
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(form->Game_Menu_Open);

  // F12 with the menu open switches modes and leaves no rows behind.
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(10, 10));
  form->show();
  form->activateWindow();
  form->pm_10_fullscreen->trigger();
  EXPECT_FALSE(Hand->Prefs().Fullscreen());
  EXPECT_FALSE(form->Game_Menu_Open);
  for (Element_Id row : Game_Menu_Labels)
    EXPECT_FALSE(Hand->Surface().Shown(row));
}

TEST_F(Main_Window, OpeningThePopupMenuClosesTheInGameMenuAndReadsTheSplashMark) {
  Store("SplashScreen", "0");
  auto form = Create();
  QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_TRUE(form->Game_Menu_Open);
  QMetaObject::invokeMethod(
      &form->Popup_Menu(), [&] { form->Popup_Menu().close(); }, Qt::QueuedConnection);
  QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(300, 300));
  EXPECT_FALSE(form->Game_Menu_Open);
  EXPECT_FALSE(form->pm_11_splashscreen->isChecked());
  form->Popup_Menu().close();
}

TEST_F(Main_Window, CommandsOpenDocumentsAndDisabledWindowIgnoresThem) {
  auto form = Create();
  Item(*form, "View 'Readme.txt'")->trigger();
  Item(*form, "Edit configuration file")->trigger();
  EXPECT_EQ(Opened, (std::vector<QString>{"Readme.txt", "Config.ini"}));

  Item(*form, "Key settings")->trigger();
  EXPECT_EQ(Key_Settings_Opened, 1);
  ASSERT_FALSE(form->isEnabled());
  form->pm_10_fullscreen->trigger();
  Item(*form, "Exit")->trigger();
  Item(*form, "View 'Whatsnew.txt'")->trigger();
  EXPECT_TRUE(Hand->Prefs().Fullscreen());
  EXPECT_EQ(End_Requests, 0);
  EXPECT_EQ(Opened.size(), 2u);
}

TEST_F(Main_Window, ExitEndsTheLoopWithoutTheCloseStepsAndTheDesktopCloseRunsThem) {
  Main_Window_Environment env;
  env.Exe_Dir = Game_Dir.path();
  env.Request_End = Request_Event_Loop_End;
  Handheld handheld({});
  TForm1 form(handheld, env, {});
  form.show();
  const auto run_loop_after = [](const std::function<void()>& step) {
    QTimer::singleShot(0, step);
    QTimer stuck;
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(5000);
    return QApplication::exec();
  };
  EXPECT_EQ(run_loop_after([&] { Item(form, "Exit")->trigger(); }), 0);
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(handheld.Settings_Open());

  EXPECT_EQ(run_loop_after([&] { form.close(); }), 0);
  EXPECT_FALSE(handheld.Settings_Open());
}

TEST_F(Main_Window, BehindTheSplashTheKeysAreStoredWithTheSkinOrAtTheLatestByTheCloseSteps) {
  for (const bool splash_drawn : {true, false}) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelvamor", "Tov50").clear();
    auto form = Create({}, true);
    EXPECT_FALSE(Settings_Key().Peek_Integer("Key1"));
    if (splash_drawn)
      form->Finish_Skin();
    else
      form->close();
    EXPECT_EQ(Settings_Key().Peek_Integer("Key1"), 6);
  }
}

TEST_F(Main_Window, SplashMenuItemTogglesAndStoresItsMark) {
  auto form = Create();
  form->pm_11_splashscreen->setChecked(true);
  form->pm_11_splashscreen->trigger();
  EXPECT_FALSE(Settings_Key().Read_Bool("SplashScreen", true));
  form->pm_11_splashscreen->trigger();
  EXPECT_TRUE(Settings_Key().Read_Bool("SplashScreen", false));
}

TEST_F(Main_Window, AHeldKeyIsOnePressAndOneReleaseAndLosingTheKeyboardReleasesIt) {
  Store("FullscreenMode", "0");
  Write_Layout_Config();
  auto form = Create();
  Game_Core& game = Start_Demo();
  const Native_Keys keys("us");
  ASSERT_TRUE(keys.Valid());
  const auto send = [&](QEvent::Type type, const char* key, std::uint64_t time) {
    QApplication::sendEvent(form.get(), keys.Event(type, key, {}, time).get());
  };

  // Ctrl (Start game/Attack) selects level 1. Alt (Select game/Move) held on a server that
  // repeats by release and press pairs at one time, unflagged, moves the selection once.
  send(QEvent::KeyPress, "LCTL", 100);
  send(QEvent::KeyRelease, "LCTL", 180);
  send(QEvent::KeyPress, "LALT", 300);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_2);
  for (std::uint64_t time = 960; time < 1280; time += 40) {
    send(QEvent::KeyRelease, "LALT", time);
    send(QEvent::KeyPress, "LALT", time);
  }
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_2);
  send(QEvent::KeyRelease, "LALT", 1310);
  send(QEvent::KeyPress, "LALT", 1500);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_3);

  // Alt and Shift held when another window takes the keyboard: both are released there and
  // then, and Alt's next press moves again.
  send(QEvent::KeyPress, "LFSH", 1600);
  EXPECT_TRUE(Hand->Surface().Shown(btn_cursor_down));
  QFocusEvent focus_out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(form.get(), &focus_out);
  EXPECT_FALSE(game.Move_Held || game.Cursor_Held);
  EXPECT_FALSE(Hand->Surface().Shown(btn_move_down) || Hand->Surface().Shown(btn_cursor_down));
  send(QEvent::KeyRelease, "LALT", 1700);
  send(QEvent::KeyPress, "LALT", 1800);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_1);

  // A button held with the mouse is let go of too.
  QTest::mousePress(form.get(), Qt::LeftButton, {}, Hand->Surface()[btn_cursor_top].Rect.center());
  ASSERT_TRUE(game.Cursor_Held);
  QApplication::sendEvent(form.get(), &focus_out);
  EXPECT_FALSE(game.Cursor_Held || Hand->Surface().Shown(btn_cursor_down));
}

TEST_F(Main_Window, ThePadsAndThenTheFontsWaitForTheFirstFrame) {
  auto form = Create();
  EXPECT_FALSE(Hand->Controllers().Watching());
  form->Centre();
  EXPECT_TRUE(
      QTest::qWaitFor([this] { return First_Frames == 1 && Hand->Controllers().Watching(); }));
}

TEST_F(Main_Window, APadActsOnlyWhileTheWindowHasTheKeyboard) {
  Store("FullscreenMode", "0");
  auto form = Create();
  Game_Core& game = Start_Demo();
  Game_Controllers& pads = Hand->Controllers();
  ASSERT_TRUE(pads.Start()); // here before the first frame, as a test may
  SDL_Joystick* pad = Plug_Virtual_Pad(pads);
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  ASSERT_EQ(pads.Count(), 1);
  const auto tap = [&](SDL_GameControllerButton button) {
    Set_Pad_Button(pads, pad, button, true);
    Set_Pad_Button(pads, pad, button, false);
  };

  // Not yet shown, as while the splash screen is up.
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(game.Game_Mode, Mode_Demo);

  form->Centre();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  Set_Pad_Button(pads, pad, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_1);
  EXPECT_TRUE(game.Attack_Held);

  // The key settings window disables the main window: what the pad held is let go of, and
  // its buttons do nothing until the window is enabled again.
  Item(*form, "Key settings")->trigger();
  ASSERT_EQ(Key_Settings_Opened, 1);
  EXPECT_FALSE(game.Attack_Held);
  EXPECT_FALSE(Hand->Surface().Shown(btn_attack_down));
  Set_Pad_Button(pads, pad, SDL_CONTROLLER_BUTTON_A, false);
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_1);
  form->setEnabled(true);
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_2);

  // Another window active: nothing; the main window active again: the pad plays.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_2);
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(game.Game_Mode, Mode_Select_Level_3);
  Unplug_Virtual_Pad(pads);
}

TEST_F(Main_Window, ButtonAreasPressAndReleaseAndShowTheirHints) {
  Store("FullscreenMode", "0");
  Write_Layout_Config();
  auto form = Create();
  Game_Core& game = Hand->Game();
  const Lcd_Surface& s = Hand->Surface();
  EXPECT_EQ(s[btn_attack_top].Hint, "click or press 'ctrl' key to start game/attack");
  EXPECT_EQ(s[btn_acl_top].Hint, "click or press '5' to reset the game");
  const QPoint acl = s[btn_acl_top].Rect.center();
  QTest::mousePress(form.get(), Qt::LeftButton, {}, acl);
  EXPECT_EQ(game.Game_Mode, Mode_Reset);
  EXPECT_TRUE(s.Shown(btn_acl_down));
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, acl);
  EXPECT_EQ(game.Game_Mode, Mode_Demo);
  EXPECT_FALSE(s.Shown(btn_acl_down));
}

TEST_F(Main_Window, DraggingTheBackgroundMovesTheWindowOnlyInWindowedMode) {
  Store("FullscreenMode", "0");
  Write_Layout_Config();
  auto form = Create();
  form->move(100, 100);
  const QPoint before = form->pos();
  QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(300, 20));
  QMouseEvent move(QEvent::MouseMove, QPointF(330, 45), form->mapToGlobal(QPointF(330, 45)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form.get(), &move);
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(330, 45));
  EXPECT_EQ(form->pos(), before + QPoint(30, 25));

  // A right-button drag does not move it.
  const QPoint now = form->pos();
  QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(300, 20));
  form->Popup_Menu().close();
  QMouseEvent right(QEvent::MouseMove, QPointF(350, 60), form->mapToGlobal(QPointF(350, 60)),
                    Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(form.get(), &right);
  EXPECT_EQ(form->pos(), now);
}

TEST_F(Main_Window, ASegmentChangeReachesTheFrameOnTheNextPass) {
  Store("FullscreenMode", "0");
  Write_Layout_Config();
  auto form = Create();
  QImage red(50, 47, QImage::Format_ARGB32);
  red.fill(Qt::red);
  Hand->Surface().Set_Picture(im_pit, red);
  QCoreApplication::processEvents();
  const QPoint inside = Hand->Surface()[im_pit].Rect.center();
  EXPECT_NE(form->Frame().pixel(inside), qRgb(255, 0, 0));
  Hand->Surface().Show(im_pit);
  QCoreApplication::processEvents();
  EXPECT_EQ(form->Frame().pixel(inside), qRgb(255, 0, 0));
  Hand->Surface().Hide(im_pit);
  QCoreApplication::processEvents();
  EXPECT_NE(form->Frame().pixel(inside), qRgb(255, 0, 0));
}

TEST(Lcd_Painter, WindowedFramesKeyOrHardenWhatIsSeeThrough) {
  // Opaque red, blue covering 200/255, green covering 60/255, the key colour; nothing beyond.
  const QRgb key = qRgb(255, 0, 255);
  QImage picture(4, 1, QImage::Format_ARGB32_Premultiplied);
  for (int x = 0;
       const QRgb colour : {qRgb(255, 0, 0), qRgba(0, 0, 255, 200), qRgba(0, 255, 0, 60), key})
    picture.setPixel(x++, 0, qPremultiply(colour));
  Lcd_Surface surface;
  surface.Set_Picture(im_pit, picture);
  surface.Set_Rect(im_pit, QRect(0, 0, 4, 1));
  surface.Show(im_pit);
  struct Row {
    Frame_Look Look;
    std::array<QRgb, 5> Pixels;
  };
  for (const Row& row :
       {Row{Frame_Look::Keyed, {qRgb(255, 0, 0), qRgb(0, 0, 255), key, key, key}},
        Row{Frame_Look::Translucent,
            {qRgb(255, 0, 0), qRgba(0, 0, 255, 200), qRgba(0, 255, 0, 60), 0, 0}}}) {
    Lcd_Painter painter;
    painter.Reset(QSize(5, 1), key, surface, 1, row.Look);
    const auto* frame = reinterpret_cast<const QRgb*>(painter.Frame().constScanLine(0));
    for (std::size_t x = 0; x < 5; ++x)
      EXPECT_EQ(frame[x], qPremultiply(row.Pixels[x])) << x;
    EXPECT_EQ(painter.Visible_Region(), QRegion(0, 0, 2, 1));
    EXPECT_TRUE(painter.Compose(QRegion(2, 0, 1, 1), surface));
    EXPECT_FALSE(painter.Compose(QRegion(0, 0, 2, 1), surface));
  }
}

TEST(Window_Shape, WithoutAnXShapeTheMaskHoldsEveryDevicePixelInLogicalPixels) {
  // Off X11 the toolkit's mask, in logical pixels, is the input region: a logical pixel that
  // holds part of the outline takes the pointer, whichever side of it the edge falls.
  QWidget window;
  struct Row {
    QRegion Device;
    int Scale;
    QRegion Logical;
  };
  for (const Row& row : {Row{QRegion(0, 0, 5, 3), 1, QRegion(0, 0, 5, 3)},
                         Row{QRegion(0, 0, 5, 3), 2, QRegion(0, 0, 3, 2)},
                         Row{QRegion(3, 1, 4, 2), 2, QRegion(1, 0, 3, 2)},
                         Row{QRegion(1, 0, 4, 4), 3, QRegion(0, 0, 2, 2)}}) {
    Set_Input_Region(window, row.Device, row.Scale);
    EXPECT_EQ(window.mask(), row.Logical) << row.Device.boundingRect().x() << " at " << row.Scale;
  }
}

TEST(Lcd_Response, TheInkFollowsTheGlassOnAClockOfItsOwn) {
  Lcd_Surface surface;
  QImage ink(2, 1, QImage::Format_ARGB32_Premultiplied);
  ink.fill(Qt::black);
  surface.Set_Rect(im_pit, QRect(0, 0, 2, 1));
  surface.Set_Picture(im_pit, ink);
  // Position 1 of the panel: glyph 8 gives way to 0, which lights all but the middle bar.
  surface.Set_Rect(im_panel_digit_pos_1, QRect(2, 0, 2, 1));
  QImage eight = ink, zero = ink;
  zero.setPixel(1, 0, 0);
  surface.Set_Picture(im_panel_number_1_8, eight);
  surface.Set_Picture(im_panel_number_1_0, zero);
  surface.Show_Glyph(0, im_panel_number_1_8);
  surface.Show(im_panel_digit_pos_1);
  Lcd_Response response;
  response.Settle(surface);
  Lcd_Painter painter;
  const QRgb glass = qRgb(200, 210, 190);
  painter.Reset(QSize(4, 1), glass, surface, 1, Frame_Look::Opaque);

  surface.Show(im_pit);
  surface.Show_Glyph(0, im_panel_number_1_0);
  EXPECT_EQ(response.Follow(surface, 1000), QRegion(0, 0, 4, 1));
  // ms after the switch, the pit's ink; on to 90 % in 60 ms, then off to 10 % in 150 ms.
  // clang-format off
  const std::pair<double, double> Rise[] = {{0, 0}, {10, 0.32}, {30, 0.68}, {60, 0.9}, {200, 1}};
  // clang-format on
  std::set<QRgb> shades;
  for (const auto& [ms, expected] : Rise) {
    EXPECT_NEAR(response.Ink(im_pit, 1000 + ms), expected, 0.01) << ms;
    painter.Compose(QRegion(0, 0, 4, 1), surface, &response, 1000 + ms);
    shades.insert(painter.Frame().pixel(0, 0));
    // The bar both glyphs light stays dark all the way; the middle bar fades.
    EXPECT_EQ(painter.Frame().pixel(2, 0), qRgb(0, 0, 0)) << ms;
  }
  EXPECT_EQ(shades.size(), 5u);
  painter.Compose(QRegion(0, 0, 4, 1), surface, &response, 1500);
  EXPECT_EQ(painter.Frame().pixel(3, 0), glass);
  EXPECT_TRUE(response.Changing(1150).intersects(QRect(0, 0, 1, 1)));
  EXPECT_TRUE(response.Changing(1500).isEmpty());
  surface.Hide(im_pit);
  response.Follow(surface, 2000);
  EXPECT_NEAR(response.Ink(im_pit, 2150), 0.1, 0.01);
  surface.Show(im_pit); // again before it faded: it darkens from where it was
  response.Follow(surface, 2150);
  EXPECT_NEAR(response.Ink(im_pit, 2150), 0.1, 0.01);

  // Switched off, the ink jumps.
  Lcd_Response at_once(false);
  at_once.Settle(surface);
  surface.Hide(im_pit);
  EXPECT_TRUE(at_once.Follow(surface, 3000).isEmpty());
  EXPECT_EQ(at_once.Ink(im_pit, 3000), 0.0);
  EXPECT_TRUE(at_once.Changing(3000).isEmpty());
}

TEST(Qt_Timers, ATimerTheEventLoopCannotStartIsToldOnceAfterTheStep) {
  QStringList told;
  Qt_Timer_Backend timers([&told](const QString& message) { told << message; });
  Interval_Timer timer(timers, "Timer_Test", [] {});
  timers.Start(timer, -1); // Qt refuses a negative interval
  timers.Start(timer, -1);
  EXPECT_TRUE(told.isEmpty());
  QCoreApplication::processEvents();
  EXPECT_EQ(told, QStringList{"Timer_Test could not be started (-1 ms)"});
}

} // namespace
