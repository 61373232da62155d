#include "handheld/event_trace.h"

#include "game/unit1.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

std::string Glyph_Label(Element_Id glyph) {
  if (glyph == Element_Count) return "-";
  constexpr std::string_view prefix = "im_panel_number_";
  std::string_view name = Element_Name(glyph);
  if (name.starts_with(prefix)) name.remove_prefix(prefix.size());
  return std::string(name);
}

// Started with the program's static objects, before main runs.
const QElapsedTimer Program_Clock = [] {
  QElapsedTimer clock;
  clock.start();
  return clock;
}();

} // namespace

Event_Trace::Event_Trace()
    : Is_Enabled(qEnvironmentVariable("GRATHMOOR_TRACE") == QLatin1String("1")) {}

void Event_Trace::Trace(const std::string& text) const {
  if (!Is_Enabled) return;
  std::fprintf(stderr, "%lld %s\n", static_cast<long long>(Program_Clock.elapsed()), text.c_str());
  std::fflush(stderr);
}

void Event_Trace::Attach(Lcd_Surface& surface, Game_Core& game) {
  if (!Is_Enabled) return;
  surface.On_Shown_Changed = [this](Element_Id id, bool shown) {
    Trace(std::string(shown ? "show " : "hide ") + std::string(Element_Name(id)));
  };
  surface.On_Panel_Changed = [this, &surface] {
    Trace("panel " + Glyph_Label(surface[im_panel_digit_pos_1].Glyph) + " " +
          Glyph_Label(surface[im_panel_digit_pos_2].Glyph));
  };
  game.Trace = [this](const std::string& line) { Trace(line); };
}
