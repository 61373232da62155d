// The main window: the handheld on the desktop, as a shaped window floating over it or filling
// the whole screen with a backdrop. It owns the game, its LCD surface, timers and settings, draws
// the surface and turns mouse and keys into the handheld's button actions.
#pragma once

#include "desktop/reporter.h"
#include "desktop/shell_open.h"
#include "display/event_trace.h"
#include "display/gfxinit.h"
#include "display/lcd_painter.h"
#include "display/lcd_response.h"
#include "display/qt_timer_backend.h"
#include "game/random_source.h"
#include "game/unit1.h"
#include "input/game_controllers.h"
#include "input/held_inputs.h"
#include "input/key_reader.h"
#include "lcd/lcd_surface.h"
#include "settings/key_choices.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QAction;
class Settings_Key;
class Sound_System;

// What the main window needs from the program around it.
struct Main_Window_Environment {
  QString Exe_Dir;                      // where Config.ini lies
  Shell_Open Open = Desktop_Shell_Open; // the desktop's "open"
  Reporter Show_Error;                  // a modal message box with one OK button
  std::function<void()> Request_End;    // asks the event loop to end the program
  std::optional<bool> Lcd_Response_On;  // segments fade as liquid crystal does; unset: settings
};

// The commands of the side windows, reached from the menus.
struct Side_Windows {
  std::function<void()> Show_About;
  std::function<void()> Show_Manual;
  std::function<void()> Open_Key_Settings;
  std::function<bool()> Splash_Check_Default;  // the splash check box's current tick
  std::function<void()> Main_Window_Activated; // brings up the splash screen the first time
};

class TForm1 : public QWidget {
  Q_OBJECT

public:
  explicit TForm1(Main_Window_Environment environment);
  ~TForm1() override;

  // Runs at the main window's activation; the first brings up the splash screen unless it was
  // skipped. The window itself stays hidden until it is centred, so the program calls this
  // once its event loop runs.
  void FormActivate();

  // Places the window at the centre of the screen and shows it.
  void Centre();
  // Toggles full-screen mode and re-applies the skin; a running game goes on untouched.
  void Mode_Switch();
  void Rebuild_Hints();
  void Attach_Side_Windows(Side_Windows windows) { Side = std::move(windows); }

  Game_Core& Game() { return Core; }
  Lcd_Surface& Surface() { return LCD; }
  Settings_Key& Settings() { return *Settings_Store; }
  Sound_System& Sound() { return *Sounds; }
  Key_Binding_Table& Key_Bindings() { return Core.Key_Bindings; }
  Game_Controllers& Controllers() { return Pads; }
  bool Fullscreen_Mode() const { return Is_Fullscreen; }
  // The settings stay open until the window's close steps release them.
  bool Settings_Open() const { return Settings_Store != nullptr; }
  const QImage& Frame() const { return Painter.Frame(); }

  // The pop-up menu and its twelve items in menu order (separators included).
  QMenu& Popup_Menu() { return *pm_0_menu; }
  std::array<QAction*, 12> Popup_Items{};
  QAction* pm_10_fullscreen = nullptr;
  QAction* pm_11_splashscreen = nullptr;
  bool Game_Menu_Open = false;
  void Vid_Display_Game_Menu(bool open);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  void FormCreate();
  void FormClose();
  // Shows the player a problem, where the program shows them.
  void Report(const QString& message) const {
    if (Env.Show_Error) Env.Show_Error(message);
  }
  // Loads the skin for the screen's size, or for the size full screen really got.
  void Apply_Skin(std::optional<QSize> screen_size = std::nullopt);
  QRect Screen_Geometry() const;
  // Gives the window the size and outline of the skin's mode.
  void Fit_Window();
  void Refresh();
  // Recomposes what changed on the surface and what the liquid crystal is still changing.
  void Draw_Changes(QRegion region);
  double Now() const { return static_cast<double>(Clock.nsecsElapsed()) / 1e6; }
  void Update_Shape();
  void Update_Pointer(QPoint position);
  void Build_Menus();
  void pm_0_menuPopup();
  void btn_game_menu_topClick();
  void Run_Menu_Row(int row);
  void Highlight_Menu_Row(std::optional<Element_Id> row);
  void Key_Down(std::uint16_t code);
  void Key_Up(std::uint16_t code);
  // The window no longer has the keyboard: every key and pad button still down is released,
  // and a button held with the mouse.
  void Release_Held_Inputs();
  // The window has the keyboard: it is the active window, enabled, and no menu is open.
  bool Has_Keyboard() const;
  // The release action of a button's click area; false for any other element.
  bool Release_Button_Area(Element_Id area);
  // The in-game menu's panel, drawn for the scale.
  static QImage Game_Menu_Panel(int scale);

  Main_Window_Environment Env;
  Side_Windows Side;
  Event_Trace Events;
  Lcd_Surface LCD;
  Lcd_Painter Painter;
  Lcd_Response Response;
  QElapsedTimer Clock;
  QTimer Frame_Timer;     // runs only while some segment's ink is on its way
  QRegion Still_Changing; // the segments drawn on the way at the last frame
  Qt_Timer_Backend Timers{[this](const QString& message) { Report(message); }};
  Seeded_Random Random_Generator;
  std::unique_ptr<Sound_System> Sounds;
  Game_Core Core;
  std::unique_ptr<Settings_Key> Settings_Store;
  Key_Word_Table Words;
  QMenu* pm_0_menu = nullptr;
  // What is held on the keyboard and the game controllers, with the codes of the presses.
  Held_Inputs Held;
  Key_Reader Keys{Held, [this](std::uint16_t code) { Key_Down(code); },
                  [this](std::uint16_t code) { Key_Up(code); }};
  Game_Controllers Pads{Held, [this](std::uint16_t code) { Key_Down(code); },
                        [this](std::uint16_t code) { Key_Up(code); },
                        [this] { return Has_Keyboard(); }};

  bool Is_Fullscreen = true;
  bool Had_Windowed_Size = false; // the window system has seen the windowed size
  bool Ending = false;
  const bool Composited; // the desktop composites windows with alpha
  // Before the skin is applied: white, see-through white.
  Skin_Window Window{QSize(527, 348), Qt::white, true, Qt::white, 0, 0};
  QRegion Shape;           // the windowed outline, in device pixels
  bool Shape_Sent = false; // the outline went to the window system while the window showed

  std::optional<Element_Id> Pressed; // the element that took the last left-button press
  std::optional<Element_Id> Highlighted_Row;
  int Drag_X = 0;
  int Drag_Y = 0;
  bool Refresh_Pending = false;
};
