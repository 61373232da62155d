#include "handheld/qt_timer_backend.h"

#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace {
constexpr qint64 Ns_Per_Ms = 1'000'000;
// Ticks this close together are not slept out: the loop would hardly take input between them.
constexpr qint64 Least_Waited_Out_Ns = 10 * Ns_Per_Ms;
} // namespace

Qt_Timer_Backend::Qt_Timer_Backend(Reporter report) : Report(Or_Standard_Error(std::move(report))) {
  Started.start();
}

bool Qt_Timer_Backend::Arm(Period& period) {
  const qint64 left = period.Due_Ns - Started.nsecsElapsed();
  const bool wait_out = period.Interval_Ns >= Least_Waited_Out_Ns;
  const qint64 whole_ms = (left + Ns_Per_Ms - 1) / Ns_Per_Ms;
  const qint64 ms = wait_out ? whole_ms - 1 : whole_ms;
  const int id = startTimer(static_cast<int>(std::clamp<qint64>(ms, 0, INT_MAX)), Qt::PreciseTimer);
  if (id == 0) return false;
  period.Id = id;
  By_Id[id] = period.Timer;
  return true;
}

void Qt_Timer_Backend::Start(Interval_Timer& timer, int interval_ms) {
  Stop(timer);
  const qint64 interval = qint64(interval_ms) * Ns_Per_Ms;
  // The loop refuses a negative interval, as Qt's own timers do.
  if (interval_ms < 0) {
    Report_Failure(timer, interval_ms);
    return;
  }
  Period& period = Periods[&timer] = {&timer, interval, Started.nsecsElapsed() + interval};
  if (!Arm(period)) {
    Periods.erase(&timer);
    Report_Failure(timer, interval_ms);
  }
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
  auto it = Periods.find(&timer);
  if (it == Periods.end()) return;
  killTimer(it->second.Id);
  By_Id.erase(it->second.Id);
  Periods.erase(it);
}

void Qt_Timer_Backend::timerEvent(QTimerEvent* event) {
  auto it = By_Id.find(event->timerId());
  if (it == By_Id.end()) return;
  Interval_Timer& timer = *it->second;
  Period& period = Periods.at(&timer);
  killTimer(period.Id);
  By_Id.erase(it);
  const qint64 now = Started.nsecsElapsed();
  const qint64 due = period.Due_Ns;
  const int interval_ms = static_cast<int>(period.Interval_Ns / Ns_Per_Ms);
  // Early by design, by less than a millisecond: slept out, which costs no processor time
  // where passes of the loop would.
  if (now < due) std::this_thread::sleep_for(std::chrono::nanoseconds(due - now));
  // The next tick keeps to the schedule; a loop held up past a whole period skips what it
  // missed, as Qt's own timers do.
  period.Due_Ns = due + period.Interval_Ns;
  if (const qint64 after = Started.nsecsElapsed(); period.Due_Ns <= after)
    period.Due_Ns = after + period.Interval_Ns;
  if (!Arm(period)) {
    Periods.erase(&timer);
    Report_Failure(timer, interval_ms);
  }
  // The step may stop or restart this timer or any other: nothing of the period is used after.
  Tick(timer, due);
}

int Qt_Timer_Backend::Ms_To_Next_Tick() const {
  if (Periods.empty()) return -1;
  qint64 next = Periods.begin()->second.Due_Ns;
  for (const auto& [timer, period] : Periods)
    next = std::min(next, period.Due_Ns);
  return static_cast<int>(std::max<qint64>(0, (next - Started.nsecsElapsed()) / Ns_Per_Ms));
}
