// The end of a test program that ran the toolkit: it returns only once it is the last thread.
//
// The toolkit's worker threads (the painter blends large pictures on them) are detached. The
// application object's end waits until they have stopped working, not until they are gone, so
// they may still be tearing themselves down as the program exits. The leak checker runs at
// that moment, stops every thread of the process and reads its state; with its thread log on,
// some runs showed a worker still alive at the check, and now and then the checker's tracer
// crashed on one.
#pragma once

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

inline int Return_As_Last_Thread(int status) {
  using namespace std::chrono_literals;
  const auto threads = [] {
    std::error_code error;
    return std::distance(std::filesystem::directory_iterator("/proc/self/task", error),
                         std::filesystem::directory_iterator());
  };
  // Bounded: a thread that never ends is left to the checker rather than hanging the suite.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (threads() > 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  return status;
}
