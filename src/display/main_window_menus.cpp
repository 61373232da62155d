// The main window's pop-up menu, its shortcut keys, and the in-game menu that offers the same
// commands inside the full-screen window.
#include "display/main_window.h"

#include "desktop/text_font.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

// The in-game menu's panel: an opaque title row with the menu symbol, then black at 80 %. The
// title lies beside the symbol, where the closed menu does not show it.
QImage TForm1::Game_Menu_Panel(int scale, bool titled) {
  QImage panel(QSize(256, 512) * scale, QImage::Format_ARGB32_Premultiplied);
  panel.setDevicePixelRatio(scale);
  panel.fill(QColor(0, 0, 0, 204));
  QPainter p(&panel);
  p.fillRect(0, 0, 256, 32, Qt::black);
  for (int y : {10, 15, 20})
    p.fillRect(8, y - 1, 20, 2, Qt::white);
  if (!titled) return panel;
  QFont font = Text_Font(14);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(36, 0, 100, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Game menu"));
  return panel;
}

void TForm1::Set_Game_Menu_Panel(Frame_Factor factor, bool titled) {
  LCD.Set_Picture(btn_game_menu_background,
                  For_Factor(Game_Menu_Panel(factor.Ceiling(), titled), factor));
  Game_Menu_Factor = factor;
  Game_Menu_Titled = titled;
}

void TForm1::Build_Menus() {
  pm_0_menu = new QMenu(this);

  // Every command checks that the window is enabled: while the key settings are open the
  // main window takes no input, shortcuts included.
  auto item = [this](const QString& caption, QKeySequence shortcut, std::function<void()> command) {
    QAction* action = pm_0_menu->addAction(caption);
    if (!shortcut.isEmpty()) {
      action->setShortcut(shortcut);
      action->setShortcutContext(Qt::WindowShortcut);
      addAction(action); // shortcuts work without opening the menu
    }
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
      if (isEnabled()) command();
    });
    return action;
  };
  auto open = [this](const QString& document) {
    return [this, document] {
      if (Env.Open) Env.Open(document);
    };
  };

  QAction* pm_1_about = item(QStringLiteral("About..."), Qt::Key_F1, [this] {
    if (Side.Show_About) Side.Show_About();
  });
  QFont bold = pm_1_about->font();
  bold.setBold(true);
  pm_1_about->setFont(bold);
  pm_0_menu->setDefaultAction(pm_1_about);
  QAction* pm_2_readme =
      item(QStringLiteral("View 'Readme.txt'"), Qt::Key_F2, open(QStringLiteral("Readme.txt")));
  QAction* pm_3_whatsnew =
      item(QStringLiteral("View 'Whatsnew.txt'"), Qt::Key_F3, open(QStringLiteral("Whatsnew.txt")));
  QAction* pm_4_manual = item(QStringLiteral("View manual"), Qt::Key_F4, [this] {
    if (Side.Show_Manual) Side.Show_Manual();
  });
  QAction* pm_5_n1 = pm_0_menu->addSeparator();
  QAction* pm_6_config =
      item(QStringLiteral("Edit configuration file"), {}, open(QStringLiteral("Config.ini")));
  QAction* pm_7_keys = item(QStringLiteral("Key settings"), {}, [this] {
    if (Side.Open_Key_Settings) Side.Open_Key_Settings();
  });
  QAction* pm_9_n2 = pm_0_menu->addSeparator();
  pm_10_fullscreen =
      item(QStringLiteral("Display in fullscreen mode"), Qt::Key_F12, [this] { Mode_Switch(); });
  pm_10_fullscreen->setCheckable(true);
  // Not among the in-game menu's rows: full screen fills the screen whatever the size.
  pm_size = pm_0_menu->addMenu(QStringLiteral("Size"));
  pm_11_splashscreen = item(QStringLiteral("Display splash screen at startup"), {}, [this] {
    Prefs.Keep_Splash_At_Start(pm_11_splashscreen->isChecked());
  });
  pm_11_splashscreen->setCheckable(true); // a checkable action toggles its own mark
  QAction* pm_13_n3 = pm_0_menu->addSeparator();
  QAction* pm_14_exit = item(QStringLiteral("Exit"), Qt::Key_Escape, [this] {
    if (Env.Request_End) Env.Request_End();
  });

  Popup_Items = {pm_1_about,       pm_2_readme,        pm_3_whatsnew, pm_4_manual,
                 pm_5_n1,          pm_6_config,        pm_7_keys,     pm_9_n2,
                 pm_10_fullscreen, pm_11_splashscreen, pm_13_n3,      pm_14_exit};
}

void TForm1::pm_0_menuPopup() {
  // The stored choice, with what the splash's check box shows as its default.
  Prefs.Reread_Splash_At_Start();
  pm_11_splashscreen->setChecked(Prefs.Splash_At_Start());
  // The steps that fit the screen the handheld is on now.
  pm_size->clear();
  const int shown =
      Shown_Windowed_Zoom(Prefs.Zoom(), Window.Skin_Size, Available_Geometry().size());
  for (int zoom : Zoom_Steps()) {
    QAction* step = pm_size->addAction(QStringLiteral("%1 %").arg(zoom));
    step->setCheckable(true);
    step->setChecked(zoom == shown);
    connect(step, &QAction::triggered, this, [this, zoom] {
      if (isEnabled()) Prefs.Set_Zoom(zoom);
    });
  }
  if (Prefs.Fullscreen() && Game_Menu_Open) {
    Game_Menu_Open = false;
    Vid_Display_Game_Menu(false);
  }
}

void TForm1::btn_game_menu_topClick() {
  Game_Menu_Open = !Game_Menu_Open;
  Vid_Display_Game_Menu(Game_Menu_Open);
}

void TForm1::Vid_Display_Game_Menu(bool open) {
  if (!open) {
    Highlight_Menu_Row(std::nullopt);
    for (Element_Id row : Game_Menu_Labels) {
      LCD.Hide(row);
      LCD.Set_Text(row, QString());
      LCD.Set_Hand_Pointer(row, false);
    }
    LCD.Set_Rect(btn_game_menu_background,
                 QRect(LCD[btn_game_menu_background].Rect.topLeft(), Closed_Game_Menu_Size()));
    return;
  }
  // The title is drawn as the menu first opens: the closed menu, at the start, needs no text.
  if (!Game_Menu_Titled && Game_Menu_Factor) Set_Game_Menu_Panel(*Game_Menu_Factor, true);
  for (int i = 1; i <= 12; ++i) {
    const Element_Id row = Game_Menu_Labels[static_cast<std::size_t>(i - 1)];
    const QAction* action = Popup_Items[static_cast<std::size_t>(i - 1)];
    LCD.Set_Rect(row, QRect(0, 32 * i, 256, 32));
    QString text;
    if (!action->isSeparator()) {
      text = QStringLiteral("   ") + action->text();
      if (action->isChecked()) text += QStringLiteral(" [V]");
    }
    LCD.Set_Text(row, text);
    LCD.Set_Hand_Pointer(row, !action->isSeparator() && action->isEnabled());
    LCD.Show(row);
  }
  LCD.Set_Rect(btn_game_menu_background,
               QRect(LCD[btn_game_menu_background].Rect.topLeft(), Open_Game_Menu_Size));
}

void TForm1::Run_Menu_Row(int row) {
  const Element_Id label = Game_Menu_Labels[static_cast<std::size_t>(row - 1)];
  if (!LCD.Shown(label) || !LCD[label].Hand_Pointer) return; // separators do nothing
  Popup_Items[static_cast<std::size_t>(row - 1)]->trigger();
  // The command may have closed the menu already (the mode switch does); close it once.
  if (Game_Menu_Open) {
    Game_Menu_Open = false;
    Vid_Display_Game_Menu(false);
  }
}

void TForm1::Highlight_Menu_Row(std::optional<Element_Id> row) {
  if (Highlighted_Row == row) return;
  if (Highlighted_Row) LCD.Set_Paint_Background(*Highlighted_Row, false);
  Highlighted_Row = row;
  if (row) LCD.Set_Paint_Background(*row, true);
}
