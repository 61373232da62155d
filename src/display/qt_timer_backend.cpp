#include "display/qt_timer_backend.h"

#include <QTimerEvent>

void Qt_Timer_Backend::Start(Interval_Timer& timer, int interval_ms) {
  Stop(timer);
  const int id = startTimer(interval_ms, Qt::PreciseTimer);
  if (id == 0) return;
  By_Id[id] = &timer;
  Ids[&timer] = id;
}

void Qt_Timer_Backend::Stop(Interval_Timer& timer) {
  auto it = Ids.find(&timer);
  if (it == Ids.end()) return;
  killTimer(it->second);
  By_Id.erase(it->second);
  Ids.erase(it);
}

void Qt_Timer_Backend::timerEvent(QTimerEvent* event) {
  auto it = By_Id.find(event->timerId());
  if (it != By_Id.end()) it->second->Tick();
}
