// The handheld's interval timers. Unlike QTimer, setting Enabled or Interval to the value it
// already has changes nothing; a different interval on a running timer restarts its period; an
// interval of 0 gives no ticks. The ticks themselves come from a backend: Qt's event loop in
// the program, a virtual clock in the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class Interval_Timer;

class Timer_Backend {
public:
  virtual ~Timer_Backend() = default;
  // Starts the timer's periodic ticks, or restarts the period if it is already ticking.
  virtual void Start(Interval_Timer& timer, int interval_ms) = 0;
  virtual void Stop(Interval_Timer& timer) = 0;
};

class Interval_Timer {
public:
  Interval_Timer(Timer_Backend& backend, std::string_view name, std::function<void()> on_timer);
  ~Interval_Timer();
  Interval_Timer(const Interval_Timer&) = delete;
  Interval_Timer& operator=(const Interval_Timer&) = delete;

  bool Enabled() const { return Is_Enabled; }
  void Set_Enabled(bool enabled);
  int Interval() const { return Interval_Ms; }
  void Set_Interval(int interval_ms);
  std::string_view Name() const { return Timer_Name; }

  // Called by the backend when a period has passed.
  void Tick();

private:
  void Apply();

  Timer_Backend& Backend;
  std::string_view Timer_Name;
  std::function<void()> On_Timer;
  bool Is_Enabled = false;
  int Interval_Ms = 0;
};

// A clock that only moves when told to. Due timers fire in order of due time; timers due at the
// same millisecond fire in the order they were armed.
class Virtual_Clock : public Timer_Backend {
public:
  void Start(Interval_Timer& timer, int interval_ms) override;
  void Stop(Interval_Timer& timer) override;

  std::int64_t Now() const { return Now_Ms; }
  // Moves the clock forward by `ms`, firing every tick that falls due on the way.
  void Advance(std::int64_t ms) { Run_Until(Now_Ms + ms); }
  void Run_Until(std::int64_t time_ms);
  // Jumps to the next due tick and fires it; false when no timer is running.
  bool Fire_Next();
  // The time of the next due tick, or -1 when no timer is running.
  std::int64_t Next_Due() const;

private:
  struct Entry {
    Interval_Timer* Timer;
    std::int64_t Due;
    int Interval;
    std::uint64_t Armed;
  };
  std::vector<Entry>::const_iterator Earliest() const;

  std::vector<Entry> Entries;
  std::int64_t Now_Ms = 0;
  std::uint64_t Arm_Count = 0;
};
