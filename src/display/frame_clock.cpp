#include "display/frame_clock.h"

Frame_Clock::Frame_Clock(std::function<int()> ms_to_next_tick, std::function<void()> draw)
    : Ms_To_Next_Tick(std::move(ms_to_next_tick)), Draw(std::move(draw)) {
  Frames.setTimerType(Qt::PreciseTimer);
  Frames.setInterval(Frame_Ms);
  After_Tick.setTimerType(Qt::PreciseTimer);
  After_Tick.setSingleShot(true);
  connect(&Frames, &QTimer::timeout, this, &Frame_Clock::Frame);
  connect(&After_Tick, &QTimer::timeout, this, [this] { Draw(); });
}

void Frame_Clock::Run(bool running) {
  if (!running) {
    Frames.stop();
    After_Tick.stop();
  } else if (!Frames.isActive()) {
    Frames.start();
  }
}

void Frame_Clock::Frame() {
  // Timers due at once run in the order of their due times: the tick, due first, goes before
  // the frame put off until a millisecond after it.
  const int tick = Ms_To_Next_Tick ? Ms_To_Next_Tick() : -1;
  if (tick >= 0 && tick <= Yield_Ms) {
    After_Tick.start(tick + 1);
    return;
  }
  Draw();
}
