#include "desktop/zoom.h"

#include <algorithm>

namespace {

// Division rounding down, also for negative numerators (a picture may start left of the skin).
qint64 Floor_Div(qint64 a, qint64 b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The largest whole percentage at which `skin` fits `room`, or Max_Zoom for an empty skin.
qint64 Fit_Percent(QSize skin, QSize room) {
  if (skin.width() <= 0 || skin.height() <= 0) return Max_Zoom;
  return std::min(qint64(room.width()) * 100 / skin.width(),
                  qint64(room.height()) * 100 / skin.height());
}

} // namespace

int Frame_Factor::Device(int skin) const {
  return static_cast<int>(Floor_Div(qint64(skin) * Value_100 + 50, 100));
}

QRect Frame_Factor::Device_Rect(const QRect& skin) const {
  const int left = Device(skin.left());
  const int top = Device(skin.top());
  return {left, top, Device(skin.left() + skin.width()) - left,
          Device(skin.top() + skin.height()) - top};
}

QSize Frame_Factor::Device_Size(QSize skin, QPoint at) const {
  return Device_Rect(QRect(at, skin)).size();
}

QPoint Frame_Factor::Skin_Point(QPoint device) const {
  return {static_cast<int>(Floor_Div(qint64(device.x()) * 100 + 49, Value_100)),
          static_cast<int>(Floor_Div(qint64(device.y()) * 100 + 49, Value_100))};
}

bool Is_Whole_Step(int zoom) {
  return zoom >= Unzoomed && zoom % Zoom_Step == 0;
}

int Valid_Zoom(int zoom) {
  return Is_Whole_Step(zoom) ? std::min(zoom, Max_Zoom) : Unzoomed;
}

int Largest_Windowed_Zoom(QSize skin, QSize available) {
  const qint64 fit = Fit_Percent(skin, available) / Zoom_Step * Zoom_Step;
  return static_cast<int>(std::clamp<qint64>(fit, Unzoomed, Max_Zoom));
}

std::vector<int> Windowed_Zooms(QSize skin, QSize available) {
  std::vector<int> zooms;
  for (int zoom = Unzoomed; zoom <= Largest_Windowed_Zoom(skin, available); zoom += Zoom_Step)
    zooms.push_back(zoom);
  return zooms;
}

int Shown_Windowed_Zoom(int chosen, QSize skin, QSize available) {
  const int step = Is_Whole_Step(chosen) ? chosen : Unzoomed;
  return std::min(step, Largest_Windowed_Zoom(skin, available));
}

int Fullscreen_Zoom(QSize skin, QSize screen, QSize corner) {
  const int width = static_cast<int>(qint64(screen.width()) * Fullscreen_Fill / 100);
  const int height = static_cast<int>(qint64(screen.height()) * Fullscreen_Fill / 100);
  qint64 fit = Fit_Percent(skin, {width, height});
  if (!corner.isEmpty()) {
    const QSize between_rows(width, std::min(height, screen.height() - 2 * corner.height()));
    const QSize between_columns(std::min(width, screen.width() - 2 * corner.width()), height);
    fit = std::min(fit, std::max(Fit_Percent(skin, between_rows.expandedTo({0, 0})),
                                 Fit_Percent(skin, between_columns.expandedTo({0, 0}))));
  }
  return static_cast<int>(std::clamp<qint64>(fit, 1, Max_Zoom));
}

QPoint Centred(QSize size, const QRect& area) {
  return area.topLeft() +
         QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
}

QRect Resized_About_Centre(const QRect& old, QSize size, const QRect& area) {
  // The centre counted twice, so that odd sizes keep it to the pixel.
  const QPoint twice_centre(2 * old.left() + old.width(), 2 * old.top() + old.height());
  QRect placed(
      QPoint((twice_centre.x() - size.width()) / 2, (twice_centre.y() - size.height()) / 2), size);
  // Pushed inside the area on each side where it fits there.
  const auto inside = [](int start, int length, int area_start, int area_length) {
    if (length > area_length) return start;
    return std::clamp(start, area_start, area_start + area_length - length);
  };
  placed.moveTo(inside(placed.left(), size.width(), area.left(), area.width()),
                inside(placed.top(), size.height(), area.top(), area.height()));
  return placed;
}
