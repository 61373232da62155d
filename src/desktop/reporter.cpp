#include "desktop/reporter.h"

#include <QDir>
#include <cstdio>

QString Problem_In(const QString& path, const QString& words) {
  return QDir::toNativeSeparators(path) + QStringLiteral(": ") + words;
}

Reporter Or_Standard_Error(Reporter report) {
  if (report) return report;
  return [](const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); };
}
