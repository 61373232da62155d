// The debugging trace: with GRATHMOOR_TRACE=1 the program writes one line per event of the
// handheld to standard error, stamped with the milliseconds since the program started, so that
// a run can be checked against the game's schedule and replayed.
#pragma once

#include <string>

class Lcd_Surface;
class Game_Core;

class Event_Trace {
public:
  // Reads GRATHMOOR_TRACE. Every trace of the program stamps its lines from one clock, started
  // when the program starts, so lines from different traces read in one time line.
  Event_Trace();
  bool Enabled() const { return Is_Enabled; }
  // Connects to the surface's and the game's observers; does nothing when the trace is off.
  void Attach(Lcd_Surface& surface, Game_Core& game);
  // Writes one line, stamped with the time, when the trace is on.
  void Trace(const std::string& text) const;

private:
  bool Is_Enabled = false;
};
