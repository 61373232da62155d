#include "desktop/shell_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void Desktop_Shell_Open(const QString& target) {
  const QUrl url =
      target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"))
          ? QUrl(target)
          : QUrl::fromLocalFile(QFileInfo(QDir::current(), target).absoluteFilePath());
  QDesktopServices::openUrl(url);
}
