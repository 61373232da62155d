#include "display/main_window.h"

#include "assets/picture_scale.h"
#include "desktop/display_scale.h"
#include "desktop/window_system.h"
#include "display/gfxinit.h"
#include "display/window_shape.h"
#include "game/program_facts.h"
#include "handheld/event_trace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>
#include <utility>

namespace {

// What the window asks of the window system, in the program's trace.
const Event_Trace Window_Trace;

const QString Title = QString::fromUtf8(Program_Title);

bool Is_Menu_Row(Element_Id id) {
  return id >= la_menu_item_1 && id <= la_menu_item_12;
}

} // namespace

QRect TForm1::Screen_Geometry() const {
  const QScreen* shown_on = screen() ? screen() : QGuiApplication::primaryScreen();
  return shown_on ? shown_on->geometry() : QRect(0, 0, 1024, 768);
}

QRect TForm1::Available_Geometry() const {
  const QScreen* shown_on = screen() ? screen() : QGuiApplication::primaryScreen();
  return shown_on ? shown_on->availableGeometry() : QRect(0, 0, 1024, 768);
}

std::vector<int> TForm1::Zoom_Steps() const {
  return Windowed_Zooms(Window.Skin_Size, Available_Geometry().size());
}

void TForm1::Apply_Zoom() {
  if (Prefs.Fullscreen()) return; // full screen fills the screen whatever the choice
  const QRect before = geometry();
  // The new picture is made while the old one stays on the screen, and the window is resized
  // and moved in one step: the desktop does not show through between the two.
  Apply_Skin();
  const QSize size = Window.Client_Size.expandedTo(QSize(1, 1));
  // The new outline goes first: the old one would cut the larger picture down to the old
  // handheld's size while the window grows.
  Update_Shape();
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  // X11 lets the program place the window: its centre stays where it was.
  if (!On_Wayland() && isVisible())
    setGeometry(Resized_About_Centre(before, size, Available_Geometry()));
  setFixedSize(size);
  update();
}

TForm1::TForm1(Handheld& handheld, Main_Window_Environment environment, Reporter report)
    : Hand(handheld), LCD(handheld.Surface()), Prefs(handheld.Prefs()), Env(std::move(environment)),
      Report(Or_Standard_Error(std::move(report))) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  FormCreate();
}

TForm1::~TForm1() {
  // The handheld may outlive the window: its pads no longer ask it for the keyboard.
  Hand.Set_Input_Gate({});
}

void TForm1::FormCreate() {
  // 1. The title on the task bar. 2. The window stays hidden until it is centred, so none of
  // the building steps is seen. 3. The element tables are fixed tables of the surface.
  QGuiApplication::setApplicationDisplayName(Title);
  setWindowTitle(Title);
  LCD.On_Dirty = [this] {
    if (Refresh_Pending) return;
    Refresh_Pending = true;
    QMetaObject::invokeMethod(this, &TForm1::Refresh, Qt::QueuedConnection);
  };
  LCD.Measure_Text = [](Element_Id id, const QString& text) {
    return Lcd_Painter::Text_Size(id, text);
  };

  // 4. The settings were opened with the handheld, and the display mode read from them.
  Response = Lcd_Response(Prefs.Lcd_Response());
  Clock.start();
  Build_Menus();
  pm_10_fullscreen->setChecked(Prefs.Fullscreen());
  connect(&Prefs, &Preferences::Fullscreen_Changed, pm_10_fullscreen, &QAction::setChecked);
  connect(&Prefs, &Preferences::Splash_At_Start_Changed, pm_11_splashscreen, &QAction::setChecked);
  connect(&Prefs, &Preferences::Zoom_Changed, this, [this] { Apply_Zoom(); });

  // 5. The skin; a missing Config.ini has been reported and ends the program. Behind the
  // splash, the window is not seen before it is centred: its pictures wait (Finish_Skin).
  if (Env.Skin_After_Splash) Config_Read = Read_Config_Ini(Env.Exe_Dir);
  if (!Config_Read) Apply_Skin();

  // 6.-9. The in-game menu is closed; the bindings and their hints. They are written back at
  // once, or with the skin behind the splash: what the write tells follows what the skin tells,
  // and the splash does not wait for the disk.
  Game_Menu_Open = false;
  Hand.Load_Key_Bindings();
  if (!Config_Read) Hand.Store_Key_Bindings();
  // The game controllers play only while this window has the keyboard.
  Hand.Set_Input_Gate([this] { return Has_Keyboard(); });
}

void TForm1::FormActivate() {
  if (Side.Main_Window_Activated) Side.Main_Window_Activated();
}

void TForm1::Apply_Skin(std::optional<QSize> screen_size) {
  // Where the desktop composites, the handheld's outline is see-through by its alpha, which the
  // window must have from its making: the desktop is asked before the first skin makes it.
  if (!Composited) {
    Composited = Window_System_Composites();
    if (*Composited) setAttribute(Qt::WA_TranslucentBackground);
  }
  Skin_Environment environment;
  environment.Exe_Dir = Env.Exe_Dir;
  environment.Fullscreen_Mode = Prefs.Fullscreen();
  environment.Screen_Size = screen_size.value_or(Screen_Geometry().size());
  environment.Scale = Display_Scale(*this);
  environment.Zoom = Prefs.Zoom();
  environment.Available_Size = Available_Geometry().size();
  std::optional<Config_Ini> ini = std::exchange(Config_Read, std::nullopt);
  if (!ini) ini = Read_Config_Ini(Env.Exe_Dir);
  // Once the program is ending for a missing Config.ini, which was told, nothing more is.
  const Skin_Result skin = gfxinit(LCD, Window, environment, ini, [this](const QString& message) {
    if (!Ending) Report(message);
  });
  Window = skin.Window;
  // The in-game menu's panel, drawn at the next whole factor and reduced to the menu's. The
  // menu is there in full screen only, and its title waits until it opens.
  const Frame_Factor menu = Window.Layout.Menu;
  if (Prefs.Fullscreen() && Game_Menu_Factor != menu) Set_Game_Menu_Panel(menu, Game_Menu_Open);
  if (!skin.Config_Found && !Ending) {
    Ending = true;
    if (Env.Request_End) Env.Request_End();
  }
  const QSize client = Window.Client_Size.expandedTo(QSize(1, 1));
  const Frame_Look look = !Window.Key_Colour_On ? Frame_Look::Opaque
                          : *Composited         ? Frame_Look::Translucent
                                                : Frame_Look::Keyed;
  Painter.Reset(client, Window.Colour, LCD, Window.Layout, look);
  Response.Settle(LCD);
  Still_Changing = QRegion();
  LCD.Take_Dirty();
  // A window on the screen keeps its old picture until it is placed anew (Centre).
  if (!isVisible()) Fit_Window();
  update();
}

void TForm1::Fit_Window() {
  const QSize client = Window.Client_Size.expandedTo(QSize(1, 1));
  if (Prefs.Fullscreen()) {
    // Full screen takes the size the window system gives it.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!isVisible()) resize(client);
  } else {
    setFixedSize(client);
    Had_Windowed_Size = true;
  }
  Update_Shape();
}

void TForm1::Finish_Skin() {
  // The Config.ini read at creation is taken by the first skin.
  if (Config_Read) Apply_Skin();
  Hand.Store_Key_Bindings();
}

void TForm1::Centre() {
  Finish_Skin();
  const QRect screen = Screen_Geometry();
  if (Prefs.Fullscreen()) {
    Fit_Window();
    // A window manager makes the window cover the screen; on bare X the window does it. A
    // Wayland compositor sizes and places a full-screen window in its reply to the request: a
    // size the window takes first is a resize of the window where it stands, and a compositor
    // may then keep it there, at the output's size, off the screen's origin.
    if (!On_Wayland()) setGeometry(screen);
    showFullScreen();
  } else {
    const bool leaving_full_screen = isFullScreen();
    if (leaving_full_screen) showNormal();
    // The same holds for leaving full screen: the compositor gives the window back the size
    // and place it had, unless the window resizes itself first at the output's origin. Then
    // the window's limits follow the size it gets (resizeEvent).
    if (!leaving_full_screen || !On_Wayland() || !Had_Windowed_Size) Fit_Window();
    // A Wayland compositor places top-level windows itself; X11 lets the program do it.
    if (!On_Wayland())
      move(screen.left() + (screen.width() - width()) / 2,
           screen.top() + (screen.height() - height()) / 2);
    showNormal();
  }
  update();
  raise();
  activateWindow();
}

void TForm1::Mode_Switch() {
  Game_Menu_Open = false;
  Vid_Display_Game_Menu(false);
  Prefs.Set_Fullscreen(!Prefs.Fullscreen());
  // The new mode's picture is made while the old one stays on the screen, and the window
  // changes in place: the desktop does not show between the two.
  Apply_Skin();
  Centre();
}

void TForm1::Refresh() {
  Refresh_Pending = false;
  Draw_Changes(LCD.Take_Dirty());
}

void TForm1::Draw_Changes(QRegion region) {
  const double now = Now();
  region += Response.Follow(LCD, now);
  // A segment that arrived since the last frame is drawn once more, at its final ink.
  const QRegion changing = Response.Changing(now);
  region += std::exchange(Still_Changing, changing) | changing;
  Frames.Run(!changing.isEmpty());
  if (region.isEmpty()) return;
  const bool see_through = Painter.Compose(region, LCD, &Response, now);
  // The shape changes only where the key colour was or is: a segment lit inside the handheld
  // leaves it as it was.
  if (Window.Key_Colour_On &&
      (!(Painter.Device_Region(region, LCD) - Shape).isEmpty() || see_through))
    Update_Shape();
  update(Painter.Logical_Region(region, LCD));
}

void TForm1::Update_Shape() {
  if (!Window.Key_Colour_On) {
    if (!Shape.isEmpty()) Clear_Window_Shape(*this);
    Shape = QRegion();
    return;
  }
  // The whole frame is recomposed after a skin change, so the shape is rebuilt from scratch.
  QRegion visible = Painter.Visible_Region();
  // A window wholly of the key colour would have an empty mask, which X11 reads as "no shape";
  // keep one pixel so the window stays see-through.
  if (visible.isEmpty()) visible = QRegion(0, 0, 1, 1);
  if (visible == Shape && Shape_Sent) return;
  Shape = visible;
  Shape_Sent = isVisible();
  if (Composited.value_or(false))
    Set_Input_Region(*this, Shape, Painter.Scale());
  else
    Set_Window_Shape(*this, Shape, Painter.Scale());
}

void TForm1::paintEvent(QPaintEvent* event) {
  // A window manager reads the outline when it takes the window on; one that reads only the
  // drawn outline there (openbox) hears of the input region only from a change made after.
  if (!Shape_Sent && Window.Key_Colour_On) Update_Shape();
  QPainter painter(this);
  // The frame's alpha goes to the window as it is.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  // The frame holds the window's device pixels: each logical rectangle comes from its device
  // pixels, one for one.
  const int scale = Painter.Scale();
  for (const QRect& r : event->region())
    painter.drawImage(r, Painter.Frame(), Device_Rect(r, scale));
  // The game controllers are looked for once the first frame is on its way to the screen.
  if (!std::exchange(First_Frame_Drawn, true))
    QTimer::singleShot(0, this, [this] {
      Hand.Start_Pads();
      if (Env.First_Frame_Drawn) Env.First_Frame_Drawn();
    });
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  Keys.Key_Press(*event);
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  Keys.Key_Release(*event);
}

void TForm1::Release_Held_Inputs() {
  Keys.Flush();
  Hand.Release_Held();
  // A button held with the mouse, too: its release may go to whoever took the pointer.
  if (Pressed && Is_Button_Area(*Pressed)) {
    const Element_Id area = *Pressed;
    Pressed.reset();
    Hand.Release_Button(area);
  }
}

bool TForm1::Has_Keyboard() const {
  return isActiveWindow() && isEnabled() && !QApplication::activePopupWidget();
}

void TForm1::focusOutEvent(QFocusEvent* event) {
  // A menu or another window takes the keyboard: the releases will not come here.
  Release_Held_Inputs();
  QWidget::focusOutEvent(event);
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    Release_Held_Inputs(); // the menu takes the keyboard and the pointer
    pm_0_menuPopup();
    pm_0_menu->popup(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  Pressed = Painter.Hit_Test(LCD, event->position());
  if (!Pressed || Hand.Press_Button(*Pressed)) return;
  switch (*Pressed) {
  case im_background:
  case im_background_screen_top:
    if (Prefs.Fullscreen()) break;
    // The window system moves the window where it can (a window manager, Wayland); the
    // window moves itself only where it declines (bare X).
    if (windowHandle() && windowHandle()->startSystemMove()) {
      // Traced: the window system starts the move where the pointer is by then.
      Window_Trace.Trace("window move asked");
      Pressed.reset();
      break;
    }
    Drag_X = pos.x() - LCD[*Pressed].Rect.left();
    Drag_Y = pos.y() - LCD[*Pressed].Rect.top();
    break;
  default: break;
  }
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if ((event->buttons() & Qt::LeftButton) && Pressed &&
      (*Pressed == im_background || *Pressed == im_background_screen_top) && !Prefs.Fullscreen()) {
    const QRect rect = LCD[*Pressed].Rect;
    move(x() + (pos.x() - rect.left() - Drag_X), y() + (pos.y() - rect.top() - Drag_Y));
    return;
  }
  Update_Pointer(pos);
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Pressed) return;
  const Element_Id pressed = *Pressed;
  Pressed.reset();
  if (Hand.Release_Button(pressed)) return;
  const std::optional<Element_Id> over = Painter.Hit_Test(LCD, event->position());
  switch (pressed) {
  case btn_game_menu_top:
    if (over == btn_game_menu_top) btn_game_menu_topClick();
    break;
  default:
    if (Is_Menu_Row(pressed) && over == pressed)
      Run_Menu_Row(static_cast<int>(pressed - la_menu_item_1) + 1);
    break;
  }
}

void TForm1::wheelEvent(QWheelEvent* event) {
  // A turn of the wheel over the windowed handheld makes it a step larger or smaller; a wheel
  // that turns in small pieces makes a step every notch's worth (120 eighths of a degree).
  event->accept();
  if (Prefs.Fullscreen()) return;
  Wheel_Angle += event->angleDelta().y();
  const int steps = Wheel_Angle / 120;
  if (steps == 0) return;
  Wheel_Angle -= steps * 120;
  const std::vector<int> zooms = Zoom_Steps();
  const int zoom = std::clamp(Window.Zoom + steps * Zoom_Step, zooms.front(), zooms.back());
  if (zoom != Window.Zoom) Prefs.Set_Zoom(zoom);
}

void TForm1::Update_Pointer(QPoint position) {
  const std::optional<Element_Id> over = Painter.Hit_Test(LCD, position);
  const bool row = over && Is_Menu_Row(*over) && LCD[*over].Hand_Pointer;
  const bool hand = over && (Is_Button_Area(*over) || *over == btn_game_menu_top || row);
  setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
  Highlight_Menu_Row(row ? over : std::nullopt);
}

void TForm1::leaveEvent(QEvent*) {
  Highlight_Menu_Row(std::nullopt);
}

bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide)
    Release_Held_Inputs();
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<Element_Id> over = Painter.Hit_Test(LCD, help->pos());
    if (over && Is_Button_Area(*over) && !LCD[*over].Hint.isEmpty())
      QToolTip::showText(help->globalPos(), LCD[*over].Hint, this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
  Shape_Sent = false;
  QWidget::showEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Full screen, the desk and the handheld are laid out for the size the window really got.
  if (Prefs.Fullscreen() && isVisible() && size() != Window.Client_Size) {
    Apply_Skin(size());
    Update_Shape();
  }
  // Back from full screen, the window takes its fixed size once the compositor has placed it.
  if (!Prefs.Fullscreen() && !isFullScreen() && minimumSize() != Window.Client_Size) Fit_Window();
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  // Closing the main window ends the program, whatever side window is still open.
  QCoreApplication::exit(0);
}

void TForm1::FormClose() {
  Hand.Close();
}
