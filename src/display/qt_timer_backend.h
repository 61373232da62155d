// Ticks of the handheld's timers from Qt's event loop, with precise (not coarse) timers: coarse
// ones drift by tens of milliseconds at the game's intervals.
#pragma once

#include "game/interval_timer.h"

#include <QObject>
#include <unordered_map>

class Qt_Timer_Backend : public QObject, public Timer_Backend {
public:
  void Start(Interval_Timer& timer, int interval_ms) override;
  void Stop(Interval_Timer& timer) override;

protected:
  void timerEvent(QTimerEvent* event) override;

private:
  std::unordered_map<int, Interval_Timer*> By_Id;
  std::unordered_map<const Interval_Timer*, int> Ids;
};
