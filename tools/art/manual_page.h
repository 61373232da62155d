// One page of the printed manual, laid out from the top down.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace Art {

class Manual_Page {
public:
  static constexpr int Width = 375, Height = 600;

  Manual_Page(int number, const QString& title, int scale = 1);
  ~Manual_Page();

  // A paragraph; simple HTML (<b>, <i>) is allowed.
  void Text(const QString& html);
  void Heading(const QString& text);
  // A picture centred on the page, with a caption under it. Pictures are laid out by their
  // logical size, so every scale gives the same page.
  void Picture(const QImage& picture, const QString& caption = QString());
  // Pictures side by side, each with its caption.
  void Pictures(const std::vector<std::pair<QImage, QString>>& pictures);
  // A row of a two-column table: a picture or a word on the left, text on the right.
  void Row(const QImage& left, const QString& html);
  void Row(const QString& left, const QString& html);
  void Gap(int pixels) { Y += pixels; }

  // Where the pictures' captions were printed, in logical pixels, in the order drawn.
  const std::vector<QRectF>& Caption_Rects() const { return Captions; }

  QPainter& Painter() { return P; }
  int Scale() const { return Page_Scale; }
  qreal& Cursor_Y() { return Y; }

  // The finished page; false in `fits` when the content ran past the bottom margin.
  QImage Finish(bool& fits);

  static constexpr int Margin = 26;
  static constexpr int Bottom = Height - 42;
  static constexpr int Text_Width = Width - 2 * Margin;

private:
  // Draws simple HTML at a place and returns its height; with `draw` false, only measures.
  qreal Html(const QString& html, qreal left, qreal top, qreal width, int pixel_size,
             bool draw = true);

  int Number;
  int Page_Scale;
  QImage Image;
  QPainter P;
  qreal Y = 0;
  std::vector<QRectF> Captions;
};

// Cover pages are drawn whole; this gives them the page's size and paper, at a scale.
QImage Blank_Page(QColor paper, int scale = 1);

} // namespace Art
