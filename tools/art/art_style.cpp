#include "art_style.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace Art {

namespace {
QFont Liberation(const char* family, int pixel_size, bool bold, bool italic) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

bool Make_Folder_For(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  if (QDir().mkpath(folder)) return true;
  std::fprintf(stderr, "cannot create folder %s\n", qPrintable(folder));
  return false;
}
} // namespace

QImage Canvas(QSize logical, int scale, QImage::Format format) {
  QImage image(logical * scale, format);
  image.setDevicePixelRatio(scale);
  return image;
}

int Scale_Of(const QImage& image) {
  return qRound(image.devicePixelRatio());
}

int Scale_Of(const QPainter& painter) {
  return qRound(painter.device()->devicePixelRatio());
}

QImage Logical_Copy(const QImage& image, const QRect& logical) {
  const int scale = Scale_Of(image);
  QImage part = image.copy(QRect(logical.topLeft() * scale, logical.size() * scale));
  part.setDevicePixelRatio(scale);
  return part;
}

QFont Sans(int pixel_size, bool bold, bool italic) {
  return Liberation("Liberation Sans", pixel_size, bold, italic);
}

QFont Serif(int pixel_size, bool bold, bool italic) {
  return Liberation("Liberation Serif", pixel_size, bold, italic);
}

bool Save(const QImage& image, const QString& path, const char* format, int quality) {
  if (!Make_Folder_For(path)) return false;
  if (image.save(path, format, quality)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

Picture_Files At_Scale_Only(const Picture_Files& files, int scale) {
  Picture_Files chosen;
  for (const Picture_File& file : files)
    if (Scale_Of(file.Image) == scale) chosen.push_back(file);
  return chosen;
}

bool Save_All(const Picture_Files& files, const QString& root) {
  bool ok = true;
  for (const Picture_File& file : files)
    ok &= Save(file.Image, root + QLatin1Char('/') + file.Path, file.Format, file.Quality);
  return ok;
}

bool Save_Text(const QString& text, const QString& path) {
  if (!Make_Folder_For(path)) return false;
  QFile file(path);
  const QByteArray bytes = text.toUtf8();
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
    return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

// Three passes of a box blur on an 8-bit mask: close to a Gaussian.
void Blur(QImage& mask, int radius) {
  const int w = mask.width(), h = mask.height();
  std::vector<int> line(static_cast<std::size_t>(std::max(w, h)));
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      uchar* row = mask.scanLine(y);
      for (int x = 0; x < w; ++x)
        line[static_cast<std::size_t>(x)] = row[x];
      for (int x = 0; x < w; ++x) {
        int sum = 0, n = 0;
        for (int k = std::max(0, x - radius); k <= std::min(w - 1, x + radius); ++k, ++n)
          sum += line[static_cast<std::size_t>(k)];
        row[x] = static_cast<uchar>(sum / n);
      }
    }
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y)
        line[static_cast<std::size_t>(y)] = mask.scanLine(y)[x];
      for (int y = 0; y < h; ++y) {
        int sum = 0, n = 0;
        for (int k = std::max(0, y - radius); k <= std::min(h - 1, y + radius); ++k, ++n)
          sum += line[static_cast<std::size_t>(k)];
        mask.scanLine(y)[x] = static_cast<uchar>(sum / n);
      }
    }
  }
}

} // namespace Art
