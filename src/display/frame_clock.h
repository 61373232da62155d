// The frames that follow the LCD's response, 30 a second while some segment's ink is on its way.
// A frame never delays the handheld's own timing: one that comes when a tick of the game is due
// within a frame's drawing waits until just after that tick.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class Frame_Clock : public QObject {
public:
  static constexpr int Frame_Ms = 33;
  // How long a frame may take to draw, at most, on a large screen: a tick due sooner goes first.
  static constexpr int Yield_Ms = 4;

  // `ms_to_next_tick`: the milliseconds until the game's next tick, negative when none is due.
  Frame_Clock(std::function<int()> ms_to_next_tick, std::function<void()> draw);

  // Runs the frames while the ink moves, stops them once it has settled.
  void Run(bool running);

private:
  void Frame();

  std::function<int()> Ms_To_Next_Tick;
  std::function<void()> Draw;
  QTimer Frames;
  QTimer After_Tick; // a frame put off until the tick it would have delayed has run
};
