#include "assets/picture_file.h"

#include "assets/picture_scale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <array>
#include <limits>

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

// The header's size held to the rules' limit; false, after the rules' message, past it. A
// top-down bitmap gives its height as negative.
bool Within_Limit(const QString& path, QSize size, const Picture_Rules& rules,
                  const Reporter& report) {
  const auto too_long = [&](int side) { return side > rules.Max_Side || side < -rules.Max_Side; };
  if (!too_long(size.width()) && !too_long(size.height())) return true;
  if (report)
    report(rules.Too_Large(path, qAbs(qint64(size.width())), qAbs(qint64(size.height()))));
  return false;
}

// The checksum PNG chunks carry (CRC-32, as zlib's).
quint32 Crc32(const char* data, qsizetype length) {
  static const auto table = [] {
    std::array<quint32, 256> t{};
    for (quint32 n = 0; n < 256; ++n) {
      quint32 c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  quint32 crc = 0xFFFFFFFFu;
  for (qsizetype i = 0; i < length; ++i)
    crc = table[(crc ^ static_cast<uchar>(data[i])) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// From the header chunk to the end chunk, with image data between; a critical chunk (its type
// begins with a capital) whose checksum is wrong stops the decoder, an ancillary one is skipped.
bool Png_Holds_Together(const QByteArray& bytes) {
  if (!bytes.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8))) return false;
  qsizetype at = 8;
  bool data = false;
  while (bytes.size() - at >= 12) {
    const char* chunk = bytes.constData() + at;
    const quint32 length = qFromBigEndian<quint32>(chunk);
    if (length > quint64(bytes.size() - at - 12)) return false;
    const QByteArrayView type(chunk + 4, 4);
    const bool critical = type[0] >= 'A' && type[0] <= 'Z';
    if (critical && Crc32(chunk + 4, 4 + length) != qFromBigEndian<quint32>(chunk + 8 + length))
      return false;
    if (at == 8 && type != "IHDR") return false;
    if (type == "IDAT") data = true;
    if (type == "IEND") return data;
    at += 12 + qsizetype(length);
  }
  return false;
}

// The start of image, then whole marker segments up to the first scan, with a frame header
// before it: what the decoder needs before it reads pixels. The scan itself it takes as it comes.
bool Jpeg_Holds_Together(const QByteArray& bytes) {
  const auto byte = [&bytes](qsizetype i) { return static_cast<uchar>(bytes[i]); };
  if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return false;
  qsizetype at = 2;
  bool frame = false;
  while (bytes.size() - at >= 4) {
    if (byte(at) != 0xFF) return false;
    const uchar marker = byte(at + 1);
    if (marker == 0xFF) { // a fill byte
      ++at;
      continue;
    }
    const quint16 length = qFromBigEndian<quint16>(bytes.constData() + at + 2);
    if (length < 2 || length > bytes.size() - at - 2) return false;
    // SOF0..SOF15, less DHT, JPG and DAC, which share the range.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      frame = true;
    if (marker == 0xDA) return frame && bytes.size() - at - 2 > length;
    at += 2 + length;
  }
  return false;
}

// A plain bitmap: the usual header, one plane of 24 or 32 bits a pixel, uncompressed, and every
// row there. The decoder reads such a file through; any other kind is decoded to be sure.
bool Plain_Bmp_Holds_Together(const QByteArray& header, qint64 file_size) {
  constexpr qsizetype Header_Size = 14 + 40;
  if (header.size() < Header_Size || !header.startsWith("BM")) return false;
  const char* at = header.constData();
  const quint32 pixels_at = qFromLittleEndian<quint32>(at + 10);
  const qint32 width = qFromLittleEndian<qint32>(at + 18);
  const qint32 height = qFromLittleEndian<qint32>(at + 22);
  const quint16 bits = qFromLittleEndian<quint16>(at + 28);
  if (qFromLittleEndian<quint32>(at + 14) != 40 || qFromLittleEndian<quint16>(at + 26) != 1 ||
      (bits != 24 && bits != 32) || qFromLittleEndian<quint32>(at + 30) != 0 || width <= 0 ||
      height == 0 || height == std::numeric_limits<qint32>::min() || pixels_at < Header_Size)
    return false;
  const qint64 row = (qint64(width) * bits + 31) / 32 * 4;
  return pixels_at + row * qAbs(qint64(height)) <= file_size;
}

} // namespace

bool Check_Picture(const QString& path, const QByteArray& format, const Picture_Rules& rules,
                   const Reporter& report) {
  const bool png = format == "png";
  const bool bmp = format == "bmp";
  if (!png && !bmp && format != "jpeg")
    return Read_Picture(path, format, rules, report).has_value();
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  if (!Within_Limit(path, reader.size(), rules, report)) return false;
  QFile file(path);
  if (bmp) {
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(54) : QByteArray();
    return Plain_Bmp_Holds_Together(header, file.size()) ||
           Read_Picture(path, format, rules, report).has_value();
  }
  const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  if (png ? Png_Holds_Together(bytes) : Jpeg_Holds_Together(bytes)) return true;
  if (report)
    report(rules.Not_Decoded(path, reader.canRead() ? QStringLiteral("Unable to read image data")
                                                    : reader.errorString()));
  return false;
}

std::optional<QImage> Read_Picture(const QString& path, const QByteArray& format,
                                   const Picture_Rules& rules, const Reporter& report,
                                   const Picture_Part& part, int file_scale) {
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  // The header's size is checked first, so a forged one cannot make us allocate gigabytes.
  const QSize size = reader.size();
  if (!Within_Limit(path, size, rules, report)) return std::nullopt;
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
  if (!Within_Limit(path, picture.size(), rules, report)) return std::nullopt;
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
