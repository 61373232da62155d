// The main window: the handheld on the desktop, as a shaped window floating over it or filling
// the whole screen with a backdrop. It draws the handheld's surface with the skin, keeps the
// window's outline and the menus, and turns mouse and keys into the handheld's button actions.
#pragma once

#include "desktop/reporter.h"
#include "desktop/shell_open.h"
#include "display/frame_clock.h"
#include "display/gfxinit.h"
#include "display/lcd_painter.h"
#include "display/lcd_response.h"
#include "handheld/handheld.h"
#include "input/key_reader.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QAction;

// What the main window needs from the program around it.
struct Main_Window_Environment {
  QString Exe_Dir;                      // where Config.ini lies
  Shell_Open Open = Desktop_Shell_Open; // the desktop's "open"
  std::function<void()> Request_End;    // asks the event loop to end the program
  // The splash comes first: the handheld's pictures wait for Finish_Skin, as nothing shows them
  // before the window is centred. Config.ini is read, and a missing one told, at creation all
  // the same.
  bool Skin_After_Splash = false;
  // The handheld's first frame is on its way to the screen: what waited for it may start.
  std::function<void()> First_Frame_Drawn;
};

// The commands of the side windows, reached from the menus.
struct Side_Windows {
  std::function<void()> Show_About;
  std::function<void()> Show_Manual;
  std::function<void()> Open_Key_Settings;
  std::function<void()> Main_Window_Activated; // brings up the splash screen the first time
};

class TForm1 : public QWidget {
  Q_OBJECT

public:
  // Problems go to `report` (the program shows a modal message box with one OK button).
  TForm1(Handheld& handheld, Main_Window_Environment environment, Reporter report);
  ~TForm1() override;

  // Runs at the main window's activation; the first brings up the splash screen unless it was
  // skipped. The window itself stays hidden until it is centred, so the program calls this
  // once its event loop runs.
  void FormActivate();

  // Applies the skin that waited for the splash, once, and writes the key bindings back after
  // it; the window does it at the latest when it is centred.
  void Finish_Skin();
  // Places the window at the centre of the screen and shows it.
  void Centre();
  // Toggles full-screen mode and re-applies the skin; a running game goes on untouched.
  void Mode_Switch();
  void Attach_Side_Windows(Side_Windows windows) { Side = std::move(windows); }

  // The picture the window shows, composed in device pixels.
  const QImage& Frame() const { return Painter.Frame(); }
  // Where the elements lie in it.
  const Frame_Layout& Layout() const { return Painter.Layout_Of_Frame(); }

  // The pop-up menu and its twelve items in menu order (separators included).
  QMenu& Popup_Menu() { return *pm_0_menu; }
  std::array<QAction*, 12> Popup_Items{};
  QAction* pm_10_fullscreen = nullptr;
  QAction* pm_11_splashscreen = nullptr;
  QMenu* pm_size = nullptr; // the windowed handheld's size, the steps that fit the screen
  bool Game_Menu_Open = false;
  void Vid_Display_Game_Menu(bool open);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  void FormCreate();
  void FormClose();
  // Loads the skin for the screen's size, or for the size full screen really got.
  void Apply_Skin(std::optional<QSize> screen_size = std::nullopt);
  QRect Screen_Geometry() const;
  // The screen's area free of panels, where the windowed handheld must fit.
  QRect Available_Geometry() const;
  // Shows the windowed handheld at the size the preferences now ask for, its centre kept.
  void Apply_Zoom();
  // The sizes the windowed handheld can take on its screen, 100 % first.
  std::vector<int> Zoom_Steps() const;
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
  // The window no longer has the keyboard: every key and pad button still down is released,
  // and a button held with the mouse.
  void Release_Held_Inputs();
  // The window has the keyboard: it is the active window, enabled, and no menu is open.
  bool Has_Keyboard() const;
  // The in-game menu's panel, drawn for the scale; its title only when `titled`.
  static QImage Game_Menu_Panel(int scale, bool titled);
  // Gives the in-game menu its panel, made for the factor.
  void Set_Game_Menu_Panel(Frame_Factor factor, bool titled);

  Handheld& Hand;
  Lcd_Surface& LCD;
  Preferences& Prefs;
  Main_Window_Environment Env;
  Reporter Report;
  Side_Windows Side;
  Lcd_Painter Painter;
  Lcd_Response Response;
  QElapsedTimer Clock;
  // The glass answers over tens of milliseconds: a frame of a 30 Hz screen follows it.
  Frame_Clock Frames{[this] { return Hand.Ms_To_Next_Tick(); },
                     [this] { Draw_Changes(QRegion()); }};
  QRegion Still_Changing; // the segments drawn on the way at the last frame
  QMenu* pm_0_menu = nullptr;
  Key_Reader Keys{Hand.Held(), [this](std::uint16_t code) { Hand.Key_Down(code); },
                  [this](std::uint16_t code) { Hand.Key_Up(code); }};

  std::optional<Config_Ini> Config_Read; // read at creation: the skin waits for Finish_Skin
  bool Had_Windowed_Size = false;        // the window system has seen the windowed size
  bool Ending = false;
  std::optional<bool> Composited; // the desktop composites windows with alpha; asked once
  // Before the skin is applied: white, see-through white.
  Skin_Window Window{Default_Client_Size(), Qt::white, true, Qt::white, 0, 0, {},
                     Default_Client_Size(), Unzoomed};
  std::optional<Frame_Factor> Game_Menu_Factor; // the in-game menu's panel is drawn for it
  bool Game_Menu_Titled = false;                // and has its title
  QRegion Shape;                                // the windowed outline, in device pixels
  bool Shape_Sent = false; // the outline went to the window system while the window showed

  std::optional<Element_Id> Pressed; // the element that took the last left-button press
  std::optional<Element_Id> Highlighted_Row;
  int Drag_X = 0;
  int Drag_Y = 0;
  int Wheel_Angle = 0; // the wheel's turn not yet taken as a step, in eighths of a degree
  bool Refresh_Pending = false;
  bool First_Frame_Drawn = false;
};
