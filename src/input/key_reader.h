// Reads one window's key events as strokes of the keys: one press and one release per stroke of
// a physical key, however long it is held and however busy the window is, each release with the
// code its press had.
//
// X repeats a held key. Where the server grants detectable auto-repeat, the repeats are presses
// of a key already down, and those count as nothing. Where it does not, each repeat is a release
// and a press of the same key at the same server time; the toolkit's own repeat flag misses some
// of those when the window is busy. So a release waits until the next key event, or a few
// milliseconds, before it counts, and a press of the same key at the same time cancels it.
#pragma once

#include "input/held_inputs.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;

class Key_Reader : public QObject {
public:
  using Handler = std::function<void(std::uint16_t code)>;
  // Presses and releases are recorded in held (which the window may share with other sources)
  // and reported with their codes; keys the game has no code for are not reported.
  Key_Reader(Held_Inputs& held, Handler press, Handler release, QObject* parent = nullptr);

  void Key_Press(const QKeyEvent& event);
  void Key_Release(const QKeyEvent& event);
  // A release that is waiting counts now; the window calls this before it lets go of
  // everything held.
  void Flush();

  static constexpr int Release_Wait_Ms = 10;

private:
  struct Waiting_Release {
    Physical_Input Input;
    std::uint64_t Time;
  };

  Held_Inputs& Held;
  Handler On_Press;
  Handler On_Release;
  std::optional<Waiting_Release> Waiting;
  QTimer Wait_Timer;
  bool Passed_Once = false; // the wait is over; one more pass of the loop is being given
};
