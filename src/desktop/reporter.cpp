#include "desktop/reporter.h"

#include <cstdio>

Reporter Or_Standard_Error(Reporter report) {
  if (report) return report;
  return [](const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); };
}
