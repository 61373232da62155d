#include "manual_page.h"

#include "art_style.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace Art {

namespace {
const QColor Paper{250, 246, 236};
const QColor Ink_Text{34, 32, 36};
const QColor Title_Red{150, 32, 26};
const QColor Rule{196, 170, 120};
} // namespace

QImage Blank_Page(QColor paper, int scale) {
  QImage page = Canvas(QSize(Manual_Page::Width, Manual_Page::Height), scale, QImage::Format_RGB32);
  page.fill(paper);
  return page;
}

Manual_Page::Manual_Page(int number, const QString& title, int scale)
    : Number(number), Page_Scale(scale), Image(Blank_Page(Paper, scale)), P(&Image) {
  P.setRenderHint(QPainter::Antialiasing);
  P.setRenderHint(QPainter::TextAntialiasing);
  P.setRenderHint(QPainter::SmoothPixmapTransform);
  // Running head.
  QFont head = Sans(9, true);
  head.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  P.setFont(head);
  P.setPen(QColor(150, 140, 120));
  P.drawText(QRectF(Margin, 14, Text_Width, 14), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("GRATHMOOR"));
  P.drawText(QRectF(Margin, 14, Text_Width, 14), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("INSTRUCTIONS"));
  P.setPen(QPen(Rule, 1.0));
  P.drawLine(QPointF(Margin, 31.5), QPointF(Width - Margin, 31.5));
  // Title.
  P.setFont(Serif(23, true));
  P.setPen(Title_Red);
  P.drawText(QRectF(Margin, 38, Text_Width, 32), Qt::AlignLeft | Qt::AlignVCenter, title);
  Y = 78;
}

Manual_Page::~Manual_Page() = default;

qreal Manual_Page::Html(const QString& html, qreal left, qreal top, qreal width, int pixel_size,
                        bool draw) {
  QTextDocument doc;
  doc.setDefaultFont(Serif(pixel_size));
  doc.setDocumentMargin(0);
  doc.setTextWidth(width);
  doc.setDefaultStyleSheet(QStringLiteral("b { color: #5a1410; }"));
  doc.setHtml(QStringLiteral("<div style=\"color:#222024; line-height:118%;\">") + html +
              QStringLiteral("</div>"));
  if (!draw) return doc.size().height();
  P.save();
  P.translate(left, top);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Ink_Text);
  doc.documentLayout()->draw(&P, context);
  P.restore();
  return doc.size().height();
}

void Manual_Page::Text(const QString& html) {
  Y += Html(html, Margin, Y, Text_Width, 13) + 8;
}

void Manual_Page::Heading(const QString& text) {
  P.setFont(Sans(12, true));
  P.setPen(Title_Red);
  P.drawText(QRectF(Margin, Y, Text_Width, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
  Y += 19;
}

void Manual_Page::Picture(const QImage& picture, const QString& caption) {
  Pictures({{picture, caption}});
}

void Manual_Page::Pictures(const std::vector<std::pair<QImage, QString>>& pictures) {
  // Each picture stands in a column as wide as itself or its caption, whichever is wider, so
  // that the captions of narrow pictures side by side never run into each other. A caption
  // wraps within its share of the line.
  constexpr qreal widest_gap = 18;
  const QFont font = Sans(10, false, true);
  const QFontMetricsF metrics(font);
  const auto count = static_cast<qreal>(pictures.size());
  const qreal share = (Text_Width - widest_gap * (count - 1)) / count;
  std::vector<qreal> columns;
  qreal total = 0;
  int tallest = 0;
  for (const auto& [picture, caption] : pictures) {
    const QSize size = Logical_Size(picture);
    // A little room over the measured width, lest the line break at the painter's rounding.
    const qreal text =
        caption.isEmpty() ? 0 : std::min(metrics.horizontalAdvance(caption) + 4, share);
    columns.push_back(std::max<qreal>(size.width(), std::ceil(text)));
    total += columns.back();
    tallest = std::max(tallest, size.height());
  }
  const qreal gap = count > 1 ? std::clamp((Text_Width - total) / (count - 1), 0.0, widest_gap) : 0;
  qreal x = (Width - total - gap * (count - 1)) / 2;
  qreal caption_height = 0;
  P.setFont(font);
  P.setPen(QColor(90, 84, 78));
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const auto& [picture, caption] = pictures[i];
    const QSize size = Logical_Size(picture);
    P.drawImage(QPointF(x + (columns[i] - size.width()) / 2, Y + (tallest - size.height()) / 2.0),
                picture);
    if (!caption.isEmpty()) {
      const QRectF box(x, Y + tallest + 3, columns[i], 40);
      QRectF used;
      P.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption, &used);
      Captions.push_back(used);
      caption_height = std::max(caption_height, used.height() + 3);
    }
    x += columns[i] + gap;
  }
  Y += tallest + caption_height + 10;
}

void Manual_Page::Row(const QImage& left, const QString& html) {
  constexpr qreal column = 84;
  const QSize size = Logical_Size(left);
  const qreal text_height = Html(html, 0, 0, Text_Width - column, 12, false);
  const qreal height = std::max<qreal>(size.height(), text_height);
  Html(html, Margin + column, Y + (height - text_height) / 2, Text_Width - column, 12);
  P.drawImage(QPointF(Margin + (column - 8 - size.width()) / 2.0, Y + (height - size.height()) / 2),
              left);
  Y += height + 7;
}

void Manual_Page::Row(const QString& left, const QString& html) {
  constexpr qreal column = 84;
  const qreal text_height = Html(html, Margin + column, Y, Text_Width - column, 12);
  // The key's name on a little key cap.
  QFont font = Sans(11, true);
  P.setFont(font);
  const qreal cap_width = QFontMetricsF(font).horizontalAdvance(left) + 14;
  const QRectF cap(Margin, Y, cap_width, 19);
  P.setPen(QPen(QColor(120, 116, 110), 1.0));
  P.setBrush(QColor(236, 232, 224));
  P.drawRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  P.setPen(Ink_Text);
  P.drawText(cap, Qt::AlignCenter, left);
  Y += std::max<qreal>(21, text_height) + 7;
}

QImage Manual_Page::Finish(bool& fits) {
  fits = Y <= Bottom;
  P.setPen(QPen(Rule, 1.0));
  P.drawLine(QPointF(Width / 2.0 - 40, Height - 30.5), QPointF(Width / 2.0 + 40, Height - 30.5));
  P.setFont(Serif(12, false, true));
  P.setPen(QColor(120, 110, 96));
  P.drawText(QRectF(0, Height - 28, Width, 18), Qt::AlignCenter, QString::number(Number));
  P.end();
  return Image;
}

} // namespace Art
