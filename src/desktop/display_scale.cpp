#include "desktop/display_scale.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// Half up, as 1.5 and 2.5 become 2 and 3; never below 1.
int Whole_Factor(double factor) {
  return std::max(1, static_cast<int>(std::floor(factor + 0.5)));
}

std::optional<double> Factor_Of(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

} // namespace

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

QString Scaled_File_Name(const QString& path, int scale) {
  if (scale <= 1) return path;
  const QFileInfo file(path);
  const QString folder = path.left(path.size() - file.fileName().size());
  const QString suffix = file.suffix();
  const QString base = suffix.isEmpty() ? file.fileName() : file.completeBaseName();
  return folder + base + QStringLiteral("@%1x").arg(scale) +
         (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

Scaled_File Choose_Scaled_File(const QString& path, int scale,
                               const std::function<bool(const QString&)>& exists) {
  if (scale > 1) {
    const QString twin = Scaled_File_Name(path, scale);
    if (exists(twin)) return {twin, scale};
  }
  return {path, 1};
}

QImage Enlarged(const QImage& picture, int factor) {
  if (factor <= 1 || picture.isNull()) return picture;
  const QImage source = picture.depth() == 32 ? picture
                                              : picture.convertToFormat(picture.hasAlphaChannel()
                                                                            ? QImage::Format_ARGB32
                                                                            : QImage::Format_RGB32);
  QImage out(source.width() * factor, source.height() * factor, source.format());
  if (out.isNull()) return {}; // too large to hold
  for (int y = 0; y < source.height(); ++y) {
    const auto* from = reinterpret_cast<const quint32*>(source.constScanLine(y));
    auto* first = reinterpret_cast<quint32*>(out.scanLine(y * factor));
    for (int x = 0; x < source.width(); ++x)
      std::fill_n(first + x * factor, factor, from[x]);
    for (int k = 1; k < factor; ++k)
      std::memcpy(out.scanLine(y * factor + k), first,
                  static_cast<std::size_t>(out.bytesPerLine()));
  }
  out.setDevicePixelRatio(picture.devicePixelRatio() * factor);
  return out;
}

int Missing_Factor(const QImage& picture, int scale) {
  return std::max(1, scale / Whole_Factor(picture.devicePixelRatio()));
}

QImage For_Scale(const QImage& picture, int scale) {
  return Enlarged(picture, Missing_Factor(picture, scale));
}

QRect Device_Rect(const QRect& logical, int scale) {
  return {logical.topLeft() * scale, logical.size() * scale};
}

QRegion Device_Region(const QRegion& logical, int scale) {
  return scale <= 1 ? logical : QTransform::fromScale(scale, scale).map(logical);
}

QSize Logical_Size(const QImage& picture) {
  const QSizeF size = picture.deviceIndependentSize();
  return QSize(static_cast<int>(std::ceil(size.width())),
               static_cast<int>(std::ceil(size.height())));
}
