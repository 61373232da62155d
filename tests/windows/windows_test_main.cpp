// The side windows' tests run without a display server, and never near the real user's
// settings: both are arranged before the application object exists.
#include "last_thread.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config_home;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_home.path()));
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  return Return_As_Last_Thread(status);
}
