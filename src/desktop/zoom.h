// The handheld's own zoom, on top of the desktop's scale. A zoom is a percentage of the skin's
// size: whole steps of 100 % in a window, any whole percentage in full screen. The frame is
// composed at (desktop scale x zoom) device pixels per skin pixel.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

inline constexpr int Unzoomed = 100;
inline constexpr int Zoom_Step = 100;
// No screen is this many times larger than the skin; the cap keeps every product in range.
inline constexpr int Max_Zoom = 10000;
// The share of each side of the screen the handheld may take in full screen, in percent: the
// rest is a margin around it.
inline constexpr int Fullscreen_Fill = 95;

// Device pixels per skin pixel, held in hundredths so that every edge is exact: desktop scale 2
// at zoom 150 % is 300. A skin coordinate becomes a device coordinate by one rounding, so two
// pictures that meet in the skin meet in the frame, without a seam or an overlap.
class Frame_Factor {
public:
  constexpr Frame_Factor() = default;
  constexpr Frame_Factor(int desktop_scale, int zoom)
      : Value_100((desktop_scale < 1 ? 1 : desktop_scale) * (zoom < 1 ? 1 : zoom)) {}

  constexpr int Hundredths() const { return Value_100; }
  constexpr bool Whole() const { return Value_100 % 100 == 0; }
  // The factor rounded up: the smallest whole factor at least as large.
  constexpr int Ceiling() const { return (Value_100 + 99) / 100; }
  constexpr double Value() const { return Value_100 / 100.0; }
  friend constexpr bool operator==(Frame_Factor, Frame_Factor) = default;

  int Device(int skin) const;
  QRect Device_Rect(const QRect& skin) const;
  // The device size of a picture placed with its top-left corner at a skin point: the rounding
  // of its edges depends on where it lies.
  QSize Device_Size(QSize skin, QPoint at = {}) const;
  // The skin pixel a device pixel shows.
  QPoint Skin_Point(QPoint device) const;

private:
  int Value_100 = 100;
};

// A stored or asked-for zoom: a whole step of at least 100 %; anything else is 100 %. A step
// past Max_Zoom is Max_Zoom.
int Valid_Zoom(int zoom);
bool Is_Whole_Step(int zoom);

// The largest whole step at which a skin of `skin` logical pixels fits the available area
// (logical pixels); at least 100 %.
int Largest_Windowed_Zoom(QSize skin, QSize available);
// The steps a player may choose in a window: 100 % up to the largest that fits.
std::vector<int> Windowed_Zooms(QSize skin, QSize available);
// The step a window shows for the chosen zoom: the chosen one where it fits, else the largest
// that does. The choice itself is kept for a larger screen.
int Shown_Windowed_Zoom(int chosen, QSize skin, QSize available);

// Full screen: the largest whole percentage at which the skin fits Fullscreen_Fill percent of
// each side of the screen (logical pixels). A picture kept in a corner of the screen (the logo)
// is left clear: the skin then fits between its rows at the top and bottom or between its
// columns left and right, whichever lets it be larger. It may be below 100 % on a screen smaller
// than the skin.
int Fullscreen_Zoom(QSize skin, QSize screen, QSize corner = {});

// A size centred in an area.
QPoint Centred(QSize size, const QRect& area);
// A window of a new size with the centre of the old one, moved inside the area where it fits.
QRect Resized_About_Centre(const QRect& old, QSize size, const QRect& area);
