#include "assets/picture_file.h"

#include "assets/picture_scale.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

bool Is_File(const QString& path) {
  return QFileInfo(path).isFile();
}

// The skin's words: the decoder's words alone do not say which of the skin's files is broken.
QString Skin_Not_Decoded(const QString& path, const QString& decoder_message) {
  return Problem_In(path, decoder_message);
}

QString Skin_Too_Large(const QString& path, qint64 width, qint64 height) {
  return Problem_In(path, QString("Picture too large (%1 x %2 pixels)").arg(width).arg(height));
}

constexpr Picture_Rules Skin_Picture_Rules{Max_Picture_Side, Skin_Not_Decoded, Skin_Too_Large};

} // namespace

std::optional<QImage> Read_Picture(const QString& path, const QByteArray& format,
                                   const Picture_Rules& rules, const Reporter& report,
                                   const Picture_Part& part, int file_scale) {
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  // A top-down bitmap gives its height as negative.
  const auto too_long = [&](int side) { return side > rules.Max_Side || side < -rules.Max_Side; };
  const auto too_large = [&](QSize size) {
    return too_long(size.width()) || too_long(size.height());
  };
  const auto report_too_large = [&](QSize size) {
    if (report)
      report(rules.Too_Large(path, qAbs(qint64(size.width())), qAbs(qint64(size.height()))));
  };
  // The header's size is checked first, so a forged one cannot make us allocate gigabytes.
  const QSize size = reader.size();
  if (too_large(size)) {
    report_too_large(size);
    return std::nullopt;
  }
  if (part && size.isValid()) {
    const QRect wanted = part(size, file_scale) & QRect(QPoint(0, 0), size);
    if (wanted != QRect(QPoint(0, 0), size)) reader.setClipRect(wanted);
  }
  QImage picture;
  if (!reader.read(&picture)) {
    if (report) report(rules.Not_Decoded(path, reader.errorString()));
    return std::nullopt;
  }
  // Not every header tells the size the decoder ends up with.
  if (too_large(picture.size())) {
    report_too_large(picture.size());
    return std::nullopt;
  }
  // The reader takes a name ending in "@2x" for a picture drawn at twice the scale; a file is
  // drawn at its natural size, whatever its name, unless its caller knows better.
  picture.setDevicePixelRatio(1);
  return picture;
}

std::optional<QImage> Load_Picture(const QString& path, const Reporter& report,
                                   const Picture_Part& part, int file_scale) {
  const QString extension = QFileInfo(path).suffix();
  const QString kind = extension.toLower();
  QByteArray format;
  if (kind == "png" || kind == "bmp" || kind == "ico")
    format = kind.toLatin1();
  else if (kind == "jpg" || kind == "jpeg")
    format = "jpeg";
  else if (kind == "wmf" || kind == "emf") {
    if (report) report(QString("Windows metafile pictures (.%1) cannot be shown").arg(extension));
    return std::nullopt;
  } else {
    if (report) report(QString("Unknown picture file extension (.%1)").arg(extension));
    return std::nullopt;
  }
  return Read_Picture(path, format, Skin_Picture_Rules, report, part, file_scale);
}

bool Has_Picture_File(const QString& path, int scale) {
  return Is_File(path) || Is_File(Scaled_File_Name(path, scale));
}

Scaled_File Picture_File_For_Scale(const QString& path, int scale) {
  return Choose_Scaled_File(path, scale, Is_File);
}

namespace {

// The twin chosen for a picture, or the picture itself where the twin cannot be decoded.
std::optional<QImage> Load_Chosen(const QString& path, const Scaled_File& file,
                                  const Reporter& report, const Picture_Part& part) {
  if (file.File_Scale > 1) {
    if (std::optional<QImage> twin = Load_Picture(file.Path, report, part, file.File_Scale)) {
      twin->setDevicePixelRatio(file.File_Scale);
      return twin;
    }
    if (!Is_File(path)) return std::nullopt;
  }
  return Load_Picture(path, report, part);
}

} // namespace

std::optional<QImage> Load_Picture_For_Scale(const QString& path, int scale, const Reporter& report,
                                             const Picture_Part& part) {
  return Load_Chosen(path, Picture_File_For_Scale(path, scale), report, part);
}

bool Has_Picture_File(const QString& path, Frame_Factor factor) {
  return Is_File(Picture_File_For_Factor(path, factor).Path);
}

Scaled_File Picture_File_For_Factor(const QString& path, Frame_Factor factor) {
  return Choose_Twin(path, factor, Is_File);
}

std::optional<QImage> Load_Picture_For_Factor(const QString& path, Frame_Factor factor,
                                              const Reporter& report, const Picture_Part& part) {
  return Load_Chosen(path, Picture_File_For_Factor(path, factor), report, part);
}

QImage Placeholder_Picture() {
  QImage picture(10, 10, QImage::Format_RGB32);
  picture.fill(QColor(255, 0, 0));
  for (int i = 0; i < 10; ++i) {
    picture.setPixel(i, 0, qRgb(0, 0, 0));
    picture.setPixel(i, 9, qRgb(0, 0, 0));
    picture.setPixel(0, i, qRgb(0, 0, 0));
    picture.setPixel(9, i, qRgb(0, 0, 0));
  }
  return picture;
}
