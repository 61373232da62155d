#include "contact_sheet.h"

#include "lcd_art.h"
#include "skin_files.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

namespace Art {

namespace {

// Wide enough for the handheld at 1x, 2x and 3x side by side, pixel for pixel.
constexpr int Sheet_Width = 3260, Margin = 24, Gap = 18, Caption_Height = 16;
const QColor Sheet_Ground{54, 58, 64};

void Draw_Checker(QPainter& p, const QRect& r) {
  p.save();
  p.setClipRect(r);
  for (int y = r.top(); y < r.bottom(); y += 8)
    for (int x = r.left(); x < r.right(); x += 8)
      p.fillRect(x, y, 8, 8,
                 ((x - r.left()) / 8 + (y - r.top()) / 8) % 2 ? QColor(200, 200, 200)
                                                              : QColor(236, 236, 236));
  p.restore();
}

QSize Shown_Size(const QImage& image, qreal scale) {
  return QSize(std::max(1, qRound(image.width() * scale)),
               std::max(1, qRound(image.height() * scale)));
}

} // namespace

QImage Lit_Handheld(int scale, Surface surface) {
  QImage out = Canvas(Built_In_Rect(im_background).size(), scale);
  out.fill(Qt::transparent);
  QPainter p(&out);
  // In stacking order, as the window composes it with everything lit.
  for (int i = im_background; i <= im_background_screen_top; ++i) {
    const auto id = static_cast<Element_Id>(i);
    const QPoint at = Built_In_Rect(id).topLeft();
    if (id == im_background)
      p.drawImage(at, Draw_Handheld(Button_State::Up, scale, surface));
    else if (id == im_panel_digit_pos_1)
      p.drawImage(at, Lit_Segment(Panel_1_Digits[8], scale));
    else if (id == im_panel_digit_pos_2)
      p.drawImage(at, Lit_Segment(Panel_2_Digits[8], scale));
    else if (id == im_background_screen_top || (Is_Lcd_Segment(id) && !Is_Glyph(id)))
      p.drawImage(at, Skin_Picture(id, scale));
  }
  p.end();
  return out.convertToFormat(QImage::Format_ARGB32);
}

QImage Contact_Sheet(const std::vector<Sheet_Section>& sections) {
  std::vector<Sheet_Section> all;
  all.push_back(
      {QStringLiteral("The handheld, every segment lit, at 1x, 2x and 3x (pixel for pixel)"),
       {{QStringLiteral("1x"), Lit_Handheld(1)},
        {QStringLiteral("2x"), Lit_Handheld(2)},
        {QStringLiteral("3x"), Lit_Handheld(3)}},
       1.0});
  all.insert(all.end(), sections.begin(), sections.end());

  // Lay out first to learn the height, then paint.
  struct Placed {
    QRect Box;
    const Picture_File* File;
    qreal Scale;
  };
  std::vector<Placed> placed;
  std::vector<std::pair<int, QString>> titles;
  int y = Margin;
  for (const Sheet_Section& section : all) {
    titles.emplace_back(y, section.Title);
    y += 26;
    int x = Margin, row_height = 0;
    for (const Picture_File& file : section.Pictures) {
      const QSize size = Shown_Size(file.Image, section.Scale);
      const int cell_width = std::max(size.width(), 60);
      if (x + cell_width > Sheet_Width - Margin && x > Margin) {
        x = Margin;
        y += row_height + Gap;
        row_height = 0;
      }
      placed.push_back({QRect(QPoint(x, y), size), &file, section.Scale});
      x += cell_width + Gap;
      row_height = std::max(row_height, size.height() + Caption_Height);
    }
    y += row_height + Gap + 10;
  }

  QImage sheet(Sheet_Width, y + Margin, QImage::Format_RGB32);
  sheet.fill(Sheet_Ground);
  QPainter p(&sheet);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (const auto& [title_y, title] : titles) {
    p.setPen(QColor(240, 240, 240));
    p.setFont(Sans(16, true));
    p.drawText(QPoint(Margin, title_y + 17), title);
  }
  for (const Placed& item : placed) {
    Draw_Checker(p, item.Box);
    p.drawImage(item.Box, item.File->Image);
    p.setPen(QColor(200, 204, 210));
    p.setFont(Sans(10));
    const QString caption = QFileInfo(item.File->Path).completeBaseName();
    p.drawText(QRect(item.Box.left(), item.Box.bottom() + 2, std::max(item.Box.width(), 60) + Gap,
                     Caption_Height),
               Qt::AlignLeft | Qt::AlignTop, caption);
  }
  p.end();
  return sheet;
}

} // namespace Art
