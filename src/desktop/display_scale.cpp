#include "desktop/display_scale.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

std::optional<double> Factor_Of(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

} // namespace

int Whole_Factor(double factor) {
  return std::max(1, static_cast<int>(std::floor(factor + 0.5)));
}

QString Rounded_Scale_Factors(const QString& factors) {
  QStringList entries = factors.split(QLatin1Char(';'));
  for (QString& entry : entries) {
    const auto equals = entry.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? QString() : entry.left(equals + 1);
    if (const auto factor = Factor_Of(entry.mid(equals + 1)))
      entry = name + QString::number(Whole_Factor(*factor));
  }
  return entries.join(QLatin1Char(';'));
}

void Round_Scale_Overrides() {
  if (const auto factor = Factor_Of(qEnvironmentVariable("QT_SCALE_FACTOR")))
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Whole_Factor(*factor)));
  if (qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"))
    qputenv("QT_SCREEN_SCALE_FACTORS",
            Rounded_Scale_Factors(qEnvironmentVariable("QT_SCREEN_SCALE_FACTORS")).toLocal8Bit());
}

int Display_Scale(const QPaintDevice& device) {
  return Whole_Factor(device.devicePixelRatioF());
}

int Primary_Screen_Scale() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? Whole_Factor(screen->devicePixelRatio()) : 1;
}

QRect Device_Rect(const QRect& logical, int scale) {
  return {logical.topLeft() * scale, logical.size() * scale};
}

QRegion Device_Region(const QRegion& logical, int scale) {
  return scale <= 1 ? logical : QTransform::fromScale(scale, scale).map(logical);
}
