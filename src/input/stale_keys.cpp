#include "input/stale_keys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <algorithm>

Stale_Keys::Stale_Keys(Server_Keys server_keys, QObject* parent)
    : QObject(parent), Keys_On_Server(std::move(server_keys)) {
  QCoreApplication::instance()->installEventFilter(this);
  // A program without windows (a test) has no keyboard to follow.
  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(gui, &QGuiApplication::focusWindowChanged, this,
            [this](const QWindow* window) { Keyboard_Moved(window != nullptr); });
}

void Stale_Keys::Keyboard_Moved(bool to_program) {
  // What was down goes stale with the keyboard's move; what the server has down came from
  // before, from another program's time.
  for (std::uint32_t keycode : Down)
    Stale.try_emplace(keycode);
  Down.clear();
  const std::optional<std::vector<std::uint32_t>> on_server =
      Keys_On_Server ? Keys_On_Server() : std::nullopt;
  if (on_server) {
    // Keys let go of while the program did not listen are stale no more.
    std::erase_if(Stale, [&](const auto& entry) {
      return std::find(on_server->begin(), on_server->end(), entry.first) == on_server->end();
    });
    if (to_program)
      for (std::uint32_t keycode : *on_server)
        Stale.try_emplace(keycode);
  } else if (!to_program) {
    // Their releases go to another program: the program will not hear of them again, and the
    // window system repeats no key into a window that did not see its press.
    Stale.clear();
  }
}

bool Stale_Keys::Swallow(QKeyEvent& event) {
  const std::uint32_t keycode = event.nativeScanCode();
  if (keycode == 0) return false;
  const auto stale = Stale.find(keycode);
  if (event.type() == QEvent::KeyRelease) {
    if (stale == Stale.end()) {
      Down.erase(keycode);
      return false;
    }
    stale->second = event.timestamp();
    return true;
  }
  // A press, or the check for a shortcut that comes before it with the press's time.
  if (stale != Stale.end()) {
    const bool pressed_anew = stale->second && *stale->second != event.timestamp();
    if (!pressed_anew) {
      // The press itself settles a release and press pair; the check before it leaves that.
      if (event.type() == QEvent::KeyPress) stale->second.reset();
      return true;
    }
    Stale.erase(stale);
  }
  if (event.type() == QEvent::KeyPress) Down.insert(keycode);
  return false;
}

bool Stale_Keys::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
  case QEvent::KeyPress:
  case QEvent::KeyRelease:
  case QEvent::ShortcutOverride:
    if (!Swallow(*static_cast<QKeyEvent*>(event))) return false;
    // An accepted shortcut check keeps the key from every shortcut.
    event->accept();
    return true;
  default: return false;
  }
}
