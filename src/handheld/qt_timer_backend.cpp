#include "handheld/qt_timer_backend.h"

#include <QAbstractEventDispatcher>
#include <QTimerEvent>

void Qt_Timer_Backend::Start(Interval_Timer& timer, int interval_ms) {
  Stop(timer);
  const int id = startTimer(interval_ms, Qt::PreciseTimer);
  if (id == 0) {
    Report_Failure(timer, interval_ms);
    return;
  }
  By_Id[id] = &timer;
  Ids[&timer] = id;
}

void Qt_Timer_Backend::Report_Failure(const Interval_Timer& timer, int interval_ms) {
  if (Failure_Reported) return;
  Failure_Reported = true;
  const std::string_view name = timer.Name();
  const QString message = QStringLiteral("%1 could not be started (%2 ms)")
                              .arg(QString::fromUtf8(name.data(), qsizetype(name.size())))
                              .arg(interval_ms);
  // Told once the game's step is over: a message box runs an event loop of its own.
  QMetaObject::invokeMethod(
      this, [this, message] { Report(message); }, Qt::QueuedConnection);
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

int Qt_Timer_Backend::Ms_To_Next_Tick() const {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread());
  int next = -1;
  if (!dispatcher) return next;
  for (const auto& [id, timer] : By_Id) {
    const int left = dispatcher->remainingTime(id);
    if (left >= 0 && (next < 0 || left < next)) next = left;
  }
  return next;
}
