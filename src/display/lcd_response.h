// How the liquid crystal answers: a segment darkens over tens of milliseconds when it is
// switched on and fades over longer still when it is switched off. Each segment's ink follows a
// first-order response towards its target; on, it reaches 90 % of its ink in 60 ms, off, it
// falls to 10 % in 150 ms. The game switches segments at once, as always: only the drawing
// follows the glass.
//
// Times are milliseconds of any steady clock, given by the caller, so that tests can play the
// response on a clock of their own.
#pragma once

#include "lcd/lcd_elements.h"
#include "lcd/lcd_surface.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <array>

class Lcd_Response {
public:
  static constexpr double Rise_Ms = 60;  // to 90 % of the ink
  static constexpr double Fall_Ms = 150; // to 10 % of the ink

  // Switched off, every segment shows its ink at once, as a computer screen would.
  explicit Lcd_Response(bool on = true) : On(on) {}
  bool Enabled() const { return On; }

  // Takes the surface's segments as they are now, settled (after a skin is loaded).
  void Settle(const Lcd_Surface& surface);
  // Notes the segments that changed on the surface since the last call; gives their rectangles.
  QRegion Follow(const Lcd_Surface& surface, double now);

  // The ink (0 to 1) of the segment's picture, shown or not.
  double Ink(Element_Id id, double now) const;
  // A number panel position whose glyph was replaced: the glyph it held before, and its ink.
  // A bar that both glyphs light was never switched off: it has the held ink.
  const QImage& Fading_Picture(Element_Id id) const { return State[Index(id)].Old_Picture; }
  double Fading_Ink(Element_Id id, double now) const;
  double Held_Ink(Element_Id id, double now) const;

  // The rectangles of the segments whose ink is still on its way, empty when all have settled.
  QRegion Changing(double now) const;

private:
  struct Segment {
    bool Shown = false;
    Element_Id Glyph = Element_Count;
    QRect Rect;
    double From = 0;     // the ink when the last switch came
    double Since = -1e9; // when it came
    QImage Old_Picture;  // a panel position's glyph before the last one
    double Old_From = 0;
    double Old_Since = -1e9;
  };
  static std::size_t Index(Element_Id id) { return static_cast<std::size_t>(id); }
  static double Towards(bool on, double from, double elapsed);
  static bool Settled(const Segment& s, double now);

  bool On;
  std::array<Segment, Element_Count> State;
};
