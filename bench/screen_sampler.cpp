// Samples a rectangle of an X screen every 2 ms and tells what the pixels went through, for the
// figures a screenshot cannot give: how many shades a segment's pixels pass through between
// unlit and lit, and how long a point of the screen shows a given colour.
//
// Usage: screen_sampler shades X Y W H SECONDS
//          the most distinct shades any pixel of the rectangle passed through on one way from
//          its darkest to its lightest or back, ends not counted
//        screen_sampler gap X Y RRGGBB SECONDS
//          the longest time, in ms, that the pixel showed the colour without a break, after it
//          first showed another one
// The display is $DISPLAY. A line "sampling" follows the first sample; the answer is one figure
// line, "<name>: <value> <unit>".
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Grab {
  xcb_connection_t* Connection;
  xcb_window_t Root;
  // The pixels of the rectangle as 0xRRGGBB, row after row; empty when the server refused.
  std::vector<std::uint32_t> Take(int x, int y, int w, int h) const {
    const xcb_get_image_cookie_t cookie = xcb_get_image(
        Connection, XCB_IMAGE_FORMAT_Z_PIXMAP, Root, static_cast<int16_t>(x),
        static_cast<int16_t>(y), static_cast<uint16_t>(w), static_cast<uint16_t>(h), ~0u);
    const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(Connection, cookie, nullptr), &std::free);
    if (!reply || xcb_get_image_data_length(reply.get()) < w * h * 4) return {};
    const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply.get()));
    std::vector<std::uint32_t> pixels(data, data + static_cast<std::ptrdiff_t>(w) * h);
    for (std::uint32_t& p : pixels)
      p &= 0xFFFFFF;
    return pixels;
  }
};

int Luminance(std::uint32_t p) {
  return static_cast<int>(((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11);
}

// The most distinct values strictly inside one monotonic run from the lowest to the highest
// value the series reached, or back.
int Shades_On_The_Way(const std::vector<int>& series) {
  if (series.size() < 3) return 0;
  const auto [low, high] = std::minmax_element(series.begin(), series.end());
  int best = 0;
  for (std::size_t start = 0; start < series.size(); ++start) {
    if (series[start] != *low && series[start] != *high) continue;
    const int direction = series[start] == *low ? 1 : -1;
    const int end_value = series[start] == *low ? *high : *low;
    int between = 0;
    for (std::size_t i = start + 1; i < series.size(); ++i) {
      if ((series[i] - series[i - 1]) * direction < 0) break;
      if (series[i] == end_value) {
        best = std::max(best, between);
        break;
      }
      ++between;
    }
  }
  return best;
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "shades" && argc == 7) || (mode == "gap" && argc == 6))) {
    std::fprintf(stderr, "usage: %s shades X Y W H SECONDS | gap X Y RRGGBB SECONDS\n", argv[0]);
    return 2;
  }
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "screen_sampler: no X display\n");
    return 1;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen_number; ++i)
    xcb_screen_next(&screens);
  const Grab grab{connection, screens.data->root};
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const int w = mode == "shades" ? std::atoi(argv[4]) : 1;
  const int h = mode == "shades" ? std::atoi(argv[5]) : 1;
  const double seconds = std::atof(argv[argc - 1]);
  const std::uint32_t colour =
      mode == "gap" ? static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 16)) : 0;

  std::vector<std::vector<int>> series(static_cast<std::size_t>(w) * h); // per pixel, changes
  bool seen_other = false;
  double run_start = -1, longest = 0;
  const auto start = Clock::now();
  auto next = start;
  for (;;) {
    const auto now = Clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - start).count();
    if (ms > seconds * 1000) break;
    const std::vector<std::uint32_t> pixels = grab.Take(x, y, w, h);
    if (next == start) {
      std::printf("sampling\n"); // whoever brings about the change waits for this line
      std::fflush(stdout);
    }
    if (mode == "shades") {
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int value = Luminance(pixels[i]);
        if (series[i].empty() || series[i].back() != value) series[i].push_back(value);
      }
    } else if (!pixels.empty()) {
      if (pixels[0] != colour) {
        seen_other = true;
        if (run_start >= 0) longest = std::max(longest, ms - run_start);
        run_start = -1;
      } else if (seen_other && run_start < 0) {
        run_start = ms;
      }
    }
    next += std::chrono::milliseconds(2);
    std::this_thread::sleep_until(next);
  }
  if (run_start >= 0) longest = std::max(longest, seconds * 1000 - run_start);
  if (mode == "shades") {
    int best = 0;
    for (const std::vector<int>& s : series)
      best = std::max(best, Shades_On_The_Way(s));
    std::printf("shades between unlit and lit: %d shades\n", best);
  } else {
    std::printf("longest run of the colour: %.1f ms\n", longest);
  }
  xcb_disconnect(connection);
  return 0;
}
