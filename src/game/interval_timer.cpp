#include "game/interval_timer.h"

#include <algorithm>
#include <utility>

Interval_Timer::Interval_Timer(Timer_Backend& backend, std::string_view name,
                               std::function<void()> on_timer)
    : Backend(backend), Timer_Name(name), On_Timer(std::move(on_timer)) {}

Interval_Timer::~Interval_Timer() {
  Backend.Stop(*this);
}

void Interval_Timer::Set_Enabled(bool enabled) {
  if (enabled == Is_Enabled) return;
  Is_Enabled = enabled;
  Apply();
}

void Interval_Timer::Set_Interval(int interval_ms) {
  if (interval_ms == Interval_Ms) return;
  Interval_Ms = interval_ms;
  if (Is_Enabled) Apply();
}

void Interval_Timer::Apply() {
  if (Is_Enabled && Interval_Ms > 0)
    Backend.Start(*this, Interval_Ms);
  else
    Backend.Stop(*this);
}

void Interval_Timer::Tick() {
  if (Is_Enabled && On_Timer) On_Timer();
}

void Virtual_Clock::Start(Interval_Timer& timer, int interval_ms) {
  Stop(timer);
  Entries.push_back({&timer, Now_Ms + interval_ms, interval_ms, Arm_Count++});
}

void Virtual_Clock::Stop(Interval_Timer& timer) {
  std::erase_if(Entries, [&](const Entry& e) { return e.Timer == &timer; });
}

std::vector<Virtual_Clock::Entry>::const_iterator Virtual_Clock::Earliest() const {
  return std::min_element(Entries.begin(), Entries.end(), [](const Entry& a, const Entry& b) {
    return a.Due != b.Due ? a.Due < b.Due : a.Armed < b.Armed;
  });
}

std::int64_t Virtual_Clock::Next_Due() const {
  auto it = Earliest();
  return it == Entries.end() ? -1 : it->Due;
}

bool Virtual_Clock::Fire_Next() {
  auto earliest = Earliest();
  if (earliest == Entries.end()) return false;
  Entry& it = Entries[static_cast<std::size_t>(earliest - Entries.cbegin())];
  Now_Ms = std::max(Now_Ms, it.Due);
  it.Due += it.Interval; // the next period, unless the handler restarts or stops the timer
  Interval_Timer* timer = it.Timer;
  timer->Tick();
  return true;
}

void Virtual_Clock::Run_Until(std::int64_t time_ms) {
  for (;;) {
    auto it = Earliest();
    if (it == Entries.end() || it->Due > time_ms) break;
    Fire_Next();
  }
  Now_Ms = std::max(Now_Ms, time_ms);
}
