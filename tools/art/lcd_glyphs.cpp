// The number panel's characters: slanted seven-segment glyphs, as on the handheld.
#include "lcd_art.h"
#include "shape_pen.h"

#include <QTransform>
#include <string_view>

namespace Art {

namespace {

// Which of the segments a (top), b (top right), c (bottom right), d (bottom), e (bottom left),
// f (top left) and g (middle) a character lights.
std::string_view Segments_Of(char c) {
  switch (c) {
  case '0': return "abcdef";
  case '1': return "bc";
  case '2': return "abdeg";
  case '3': return "abcdg";
  case '4': return "bcfg";
  case '5': return "acdfg";
  case '6': return "acdefg";
  case '7': return "abc";
  case '8': return "abcdefg";
  case '9': return "abcdfg";
  case 'A': return "abcefg";
  case 'B': return "cdefg";
  case 'C': return "adef";
  case 'D': return "bcdeg";
  case 'E': return "adefg";
  case 'F': return "aefg";
  case 'H': return "bcefg";
  case 'J': return "bcde";
  case 'L': return "def";
  default: return "";
  }
}

// A bar with pointed ends between two points on its centre line.
QPolygonF Bar(QPointF a, QPointF b, qreal thickness, qreal gap) {
  const QPointF dir = (b - a) / QLineF(a, b).length();
  const QPointF across(-dir.y(), dir.x());
  const QPointF from = a + dir * gap, to = b - dir * gap;
  const qreal half = thickness / 2;
  return QPolygonF({from, from + dir * half + across * half, to - dir * half + across * half, to,
                    to - dir * half - across * half, from + dir * half - across * half});
}

} // namespace

void Draw_Glyph(Shape_Pen& pen, char c, QSizeF size) {
  constexpr qreal slant = 0.09, thickness = 3.9, gap = 0.9;
  const qreal top = thickness / 2 + 0.4, bottom = size.height() - thickness / 2 - 0.4;
  const qreal left = thickness / 2 + 0.6;
  const qreal right = size.width() - thickness / 2 - (bottom - top) * slant - 0.4;
  const qreal middle = (top + bottom) / 2;
  // Lean the glyph forward: the bottom stays, the top moves right.
  const QTransform lean(1, 0, -slant, 1, bottom * slant, 0);

  const QPointF tl(left, top), tr(right, top), ml(left, middle), mr(right, middle),
      bl(left, bottom), br(right, bottom);
  for (char segment : Segments_Of(c)) {
    QPolygonF bar;
    switch (segment) {
    case 'a': bar = Bar(tl, tr, thickness, gap); break;
    case 'b': bar = Bar(tr, mr, thickness, gap); break;
    case 'c': bar = Bar(mr, br, thickness, gap); break;
    case 'd': bar = Bar(bl, br, thickness, gap); break;
    case 'e': bar = Bar(ml, bl, thickness, gap); break;
    case 'f': bar = Bar(tl, ml, thickness, gap); break;
    case 'g': bar = Bar(ml, mr, thickness, gap); break;
    default: continue;
    }
    QPainterPath path;
    path.addPolygon(lean.map(bar));
    path.closeSubpath();
    pen.Fill(path);
  }
}

} // namespace Art
