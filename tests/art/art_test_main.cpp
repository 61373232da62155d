#include "last_thread.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int status = 0;
  {
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  return Return_As_Last_Thread(status);
}
