// The one main() of the test programs that need an application object or a sound driver. They
// run without a display server (Qt's offscreen platform, at scale 1), without a sound card
// (SDL's silent driver) and never near the real user's settings: all arranged before the
// application object exists.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

// The end of a test program that ran the toolkit: it returns only once it is the last thread.
//
// The toolkit's worker threads (the painter blends large pictures on them) are detached. The
// application object's end waits until they have stopped working, not until they are gone, so
// they may still be tearing themselves down as the program exits. The leak checker runs at
// that moment, stops every thread of the process and reads its state; with its thread log on,
// some runs showed a worker still alive at the check, and now and then the checker's tracer
// crashed on one.
int Return_As_Last_Thread(int status) {
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

} // namespace

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  QTemporaryDir config_home;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_home.path()));
  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  return Return_As_Last_Thread(status);
}
