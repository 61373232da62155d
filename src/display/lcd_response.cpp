#include "display/lcd_response.h"

#include <cmath>
#include <numbers>

namespace {
// Time constants: 1 - e^(-60/tau) = 0.9 on, e^(-150/tau) = 0.1 off.
const double Rise_Tau = Lcd_Response::Rise_Ms / std::numbers::ln10;
const double Fall_Tau = Lcd_Response::Fall_Ms / std::numbers::ln10;
// Within half a step of the 256 a pixel has, the ink has arrived.
constexpr double Arrived = 0.5 / 255;
} // namespace

double Lcd_Response::Towards(bool on, double from, double elapsed) {
  if (elapsed <= 0) return from;
  const double target = on ? 1.0 : 0.0;
  const double ink = target + (from - target) * std::exp(-elapsed / (on ? Rise_Tau : Fall_Tau));
  return std::abs(ink - target) < Arrived ? target : ink;
}

void Lcd_Response::Settle(const Lcd_Surface& surface) {
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    Segment& s = State[Index(id)];
    s = Segment();
    s.Shown = surface.Shown(id);
    s.Glyph = surface[id].Glyph;
    s.Rect = surface[id].Rect;
    s.From = s.Shown ? 1.0 : 0.0;
  }
}

QRegion Lcd_Response::Follow(const Lcd_Surface& surface, double now) {
  QRegion changed;
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    if (!Is_Liquid_Crystal(id)) continue;
    Segment& s = State[Index(id)];
    const Lcd_Element& e = surface[id];
    const bool new_glyph = e.Glyph != s.Glyph;
    if (e.Shown == s.Shown && !new_glyph) continue;
    if (!On) {
      // The ink is where it is going at once.
      s.Shown = e.Shown;
      s.Glyph = e.Glyph;
      s.From = s.Shown ? 1.0 : 0.0;
      continue;
    }
    if (new_glyph) {
      // The glyph held before fades out as the new one darkens.
      s.Old_From = Ink(id, now);
      s.Old_Since = now;
      s.Old_Picture = s.Glyph != Element_Count ? surface[s.Glyph].Picture : QImage();
      s.From = 0;
    } else {
      s.From = Ink(id, now);
    }
    s.Since = now;
    s.Shown = e.Shown;
    s.Glyph = e.Glyph;
    changed += s.Rect | e.Rect;
    s.Rect = e.Rect;
  }
  return changed;
}

double Lcd_Response::Ink(Element_Id id, double now) const {
  const Segment& s = State[Index(id)];
  return Towards(s.Shown, s.From, now - s.Since);
}

double Lcd_Response::Fading_Ink(Element_Id id, double now) const {
  const Segment& s = State[Index(id)];
  if (!On || s.Old_Picture.isNull()) return 0;
  return Towards(false, s.Old_From, now - s.Old_Since);
}

double Lcd_Response::Held_Ink(Element_Id id, double now) const {
  const Segment& s = State[Index(id)];
  return Towards(true, s.Old_From, now - s.Old_Since);
}

bool Lcd_Response::Settled(const Segment& s, double now) {
  return Towards(s.Shown, s.From, now - s.Since) == (s.Shown ? 1.0 : 0.0) &&
         (s.Old_Picture.isNull() || Towards(false, s.Old_From, now - s.Old_Since) == 0.0);
}

QRegion Lcd_Response::Changing(double now) const {
  QRegion changing;
  if (!On) return changing;
  for (int i = 0; i < Element_Count; ++i)
    if (Is_Liquid_Crystal(static_cast<Element_Id>(i)) &&
        !Settled(State[static_cast<std::size_t>(i)], now))
      changing += State[static_cast<std::size_t>(i)].Rect;
  return changing;
}
