// Ticks of the handheld's timers from Qt's event loop. The loop rounds each wait up to a whole
// millisecond, so a timer set for the tick itself comes up to a millisecond late: each tick's
// timer is set a millisecond early instead, and the rest, less than a millisecond, is slept out.
// Ticks keep to their schedule (the period's start plus k intervals) and never come early.
#pragma once

#include "desktop/reporter.h"
#include "game/interval_timer.h"

#include <QElapsedTimer>
#include <QObject>
#include <unordered_map>

class Qt_Timer_Backend : public QObject, public Timer_Backend {
public:
  // A timer the event loop cannot start is told to `report` (unset, to standard error), once and
  // after the step that asked for it, as every other would fail alike; its sequence would
  // otherwise stand still unseen.
  explicit Qt_Timer_Backend(Reporter report = {});

  void Start(Interval_Timer& timer, int interval_ms) override;
  void Stop(Interval_Timer& timer) override;
  // The milliseconds until the next tick of any running timer (0 when one is due), or -1.
  int Ms_To_Next_Tick() const;

protected:
  void timerEvent(QTimerEvent* event) override;
  // Runs the timer's step; the moment it was due comes with it (nanoseconds of Clock()).
  virtual void Tick(Interval_Timer& timer, qint64 due_ns) {
    (void)due_ns;
    timer.Tick();
  }
  const QElapsedTimer& Clock() const { return Started; }

private:
  struct Period {
    Interval_Timer* Timer;
    qint64 Interval_Ns;
    qint64 Due_Ns;
    int Id = 0;
  };
  // Sets the loop's timer for the next tick of the period; false when the loop refuses one.
  bool Arm(Period& period);
  void Report_Failure(const Interval_Timer& timer, int interval_ms);

  QElapsedTimer Started;
  std::unordered_map<const Interval_Timer*, Period> Periods;
  std::unordered_map<int, Interval_Timer*> By_Id;
  Reporter Report;
  bool Failure_Reported = false;
};
