// Ticks of the handheld's timers from Qt's event loop, with precise (not coarse) timers: coarse
// ones drift by tens of milliseconds at the game's intervals.
#pragma once

#include "desktop/reporter.h"
#include "game/interval_timer.h"

#include <QObject>
#include <unordered_map>

class Qt_Timer_Backend : public QObject, public Timer_Backend {
public:
  // A timer the event loop cannot start is told to `report` (unset, to standard error), once and
  // after the step that asked for it, as every other would fail alike; its sequence would
  // otherwise stand still unseen.
  explicit Qt_Timer_Backend(Reporter report = {}) : Report(Or_Standard_Error(std::move(report))) {}

  void Start(Interval_Timer& timer, int interval_ms) override;
  void Stop(Interval_Timer& timer) override;
  // The milliseconds until the next tick of any running timer (0 when one is due), or -1.
  int Ms_To_Next_Tick() const;

protected:
  void timerEvent(QTimerEvent* event) override;

private:
  void Report_Failure(const Interval_Timer& timer, int interval_ms);

  std::unordered_map<int, Interval_Timer*> By_Id;
  std::unordered_map<const Interval_Timer*, int> Ids;
  Reporter Report;
  bool Failure_Reported = false;
};
