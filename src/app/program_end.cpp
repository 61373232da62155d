#include "app/program_end.h"

#include <QCoreApplication>

void Request_Event_Loop_End() {
  // QCoreApplication::quit() would first close every window, running the main window's close
  // steps; exit() only ends the loop.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}
