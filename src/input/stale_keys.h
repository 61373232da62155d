// The keys that were already down when a window of the program got the keyboard. Such a key
// does nothing until it is released: neither its auto-repeats nor a menu shortcut it is bound
// to reach any window (a held Esc that closed a side window must not go on to the main window's
// Exit, a key held while another program had the keyboard must not press its button again).
//
// Watches every key event of the application before any window or shortcut sees it. Keys are
// known by their native key code; events made by the program itself carry none and pass.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

class QKeyEvent;

class Stale_Keys : public QObject {
public:
  // The window system's own list of keys down, where it keeps one for anybody to ask (X11);
  // none where only the window with the keyboard hears of them.
  using Server_Keys = std::function<std::optional<std::vector<std::uint32_t>>()>;

  // Installs itself on the application, in front of every filter installed before it.
  explicit Stale_Keys(Server_Keys server_keys, QObject* parent = nullptr);

  // The keyboard went to a window of the program, or to another program.
  void Keyboard_Moved(bool to_program);
  // True when the event must go no further.
  bool Swallow(QKeyEvent& event);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  Server_Keys Keys_On_Server;
  std::set<std::uint32_t> Down; // pressed since the window got the keyboard, not yet released
  // Stale keys, with the time of a release seen since: a press at that same time is the
  // server's auto-repeat, which sends a held key as release and press pairs.
  std::map<std::uint32_t, std::optional<std::uint64_t>> Stale;
};
