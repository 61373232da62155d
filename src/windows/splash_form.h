// The splash screen: the game's title, the box picture, links to the maker, the choice of sound
// output and whether to show this screen at the next start. Its play command starts the sound,
// stores the choices, brings the main window into view and starts the demo.
#pragma once

#include "desktop/shell_open.h"
#include "windows/window_look.h"

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class Click_Label;
class QCheckBox;
class QComboBox;
class QLabel;
class Preferences;
class Settings_Key;

// What the play command and Esc need from the rest of the program.
struct Splash_Host {
  // Starts the sound output named by the list text and loads the samples; false, once the
  // player has been told, when the Arrow sound could not be loaded.
  std::function<bool(const QString& sound_output)> Start_Sound;
  std::function<void()> Centre_Main_Window;
  // Puts the handheld into demo mode.
  std::function<void()> Start_Demo;
  // The rest of the program's start, which the splash does not show: run once, in the pass of
  // the loop after the splash is first drawn, or at play when it never was.
  std::function<void()> Finish_Start;
  // Requests the end of the event loop. May be called before the loop runs (the skip path),
  // so it must not rely on a running loop (a queued quit does it).
  std::function<void()> Terminate;
};

// What the splash will find as it is made, foreseen without a word.
struct Splash_Foresight {
  bool Skipped = false;       // an output is stored and the splash is switched off (its skip path)
  bool Tells = false;         // a setting it reads is not text, which it will tell
  bool Sound_At_Once = false; // skipped, and the stored output plays sound: it starts at once
};
Splash_Foresight Foresee_Splash(const Settings_Key& settings);

class TSplashForm : public QWidget {
  Q_OBJECT
public:
  // Reads the stored sound output, then the splash choice, which its check box shows and
  // changes. When an output is stored and the splash is switched off, the window is never
  // seen: the skip path.
  // Its pictures are decoded when it first shows, or taken from `pictures` begun ahead.
  TSplashForm(Settings_Key& settings, Preferences& preferences, Shell_Open shell_open,
              Splash_Host host, Pictures_Ahead pictures = {}, QWidget* parent = nullptr);
  // The splash's pictures for a scale, on a thread of their own while the program starts.
  static Pictures_Ahead Decode_Pictures_Ahead(int scale);
  // On the skip path, the play command, at once; else nothing. The program calls it once it has
  // built its windows.
  void Play_If_Skipped();

  // The main window's activation: the first one shows the splash in front, unless it was
  // skipped.
  void Main_Window_Activated();

protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void Update_Play_Buttons();
  void Play();
  void Finish_Start();
  bool On_Key_Down(const QKeyEvent& event);

  Settings_Key& Settings;
  Preferences& Prefs;
  Shell_Open Shell;
  Splash_Host Host;
  Pictures_Ahead Ahead;
  Label_Pictures Pictures;
  bool Show_On_Activate = true;
  bool Skip_Path = false;
  bool Start_Finished = false;
  std::vector<std::pair<QWidget*, Qt::CursorShape>> Pointer_Shapes;
  // Set once the play command has run to its end, success or failure: it never runs twice.
  bool Play_Done = false;

  QComboBox* cb_sound = nullptr;
  Click_Label* btn_play = nullptr;
  QLabel* btn_play_disabled = nullptr;
  QCheckBox* chb_splashscreen = nullptr;
};
