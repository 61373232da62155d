// The key settings window: one list of key choices per handheld button. Duplicate choices turn
// their labels red and cannot be accepted; accept stores the bindings and Esc leaves them alone.
#pragma once

#include "game/key_bindings.h"

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class Settings_Key;

class TKeysForm : public QWidget {
  Q_OBJECT
public:
  // Created hidden, with the lists showing the live bindings. rebuild_hints renews the
  // handheld's button hints after an accept; set_main_window_enabled gives the main window its
  // input back (true) or takes it away while this window is open (false).
  TKeysForm(Settings_Key& settings, Key_Binding_Table& bindings,
            std::function<void()> rebuild_hints,
            std::function<void(bool enabled)> set_main_window_enabled, QWidget* parent = nullptr);

  // Centres the window on the screen, shows it and disables the main window.
  void Open();

  // Paints the labels of lists sharing a choice red (the others white); true when any do.
  bool CheckKeys();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void Build_Contents();
  void Change_Check();
  void Accept();
  void Close_Without_Storing();

  Settings_Key& Settings;
  Key_Binding_Table& Bindings;
  std::function<void()> Rebuild_Hints;
  std::function<void(bool)> Set_Main_Window_Enabled;

  // Index i - 1 belongs to binding i.
  std::array<QLabel*, 4> Key_Labels{};
  std::array<QComboBox*, 4> Key_Lists{};
  QPushButton* btn_accept = nullptr;
};
