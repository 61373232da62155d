#include "assets/picture_scale.h"

#include "desktop/display_scale.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

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

Scaled_File Choose_Twin(const QString& path, Frame_Factor factor,
                        const std::function<bool(const QString&)>& exists) {
  const int wanted = std::max(1, factor.Ceiling());
  const auto file = [&](int twin) { return twin == 1 ? path : Scaled_File_Name(path, twin); };
  for (int twin = wanted; twin <= std::max(wanted, Max_Twin); ++twin)
    if (exists(file(twin))) return {file(twin), twin};
  const int whole = factor.Whole() ? factor.Ceiling() : 0;
  for (int twin = wanted - 1; twin > 1; --twin)
    if ((whole == 0 || whole % twin == 0) && exists(file(twin))) return {file(twin), twin};
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

QImage For_Factor(const QImage& picture, Frame_Factor factor, QPoint at) {
  if (picture.isNull()) return picture;
  const int drawn_at = Whole_Factor(picture.devicePixelRatio());
  if (factor.Whole() && factor.Ceiling() % drawn_at == 0)
    return Enlarged(picture, factor.Ceiling() / drawn_at);
  const QSize target = factor.Device_Size(Logical_Size(picture), at).expandedTo(QSize(1, 1));
  const auto blocks = [](int want, int have) { return (want + have - 1) / have; };
  const int k = std::max(
      {1, blocks(target.width(), picture.width()), blocks(target.height(), picture.height())});
  QImage large = Enlarged(picture, k);
  if (large.isNull()) return {};
  if (large.size() != target) {
    if (large.hasAlphaChannel()) large.convertTo(QImage::Format_ARGB32_Premultiplied);
    // Qt reduces by averaging areas (its smooth scaler's path for a smaller size).
    large = large.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  large.setDevicePixelRatio(factor.Value());
  return large;
}

int Missing_Factor(const QImage& picture, int scale) {
  return std::max(1, scale / Whole_Factor(picture.devicePixelRatio()));
}

QImage For_Scale(const QImage& picture, int scale) {
  return Enlarged(picture, Missing_Factor(picture, scale));
}

QSize Logical_Size(const QImage& picture) {
  const QSizeF size = picture.deviceIndependentSize();
  return QSize(static_cast<int>(std::ceil(size.width())),
               static_cast<int>(std::ceil(size.height())));
}
