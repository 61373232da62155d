#include "shape_pen.h"

#include <QPolygonF>

namespace Art {

Shape_Pen::Shape_Pen(QPainter& painter) : P(painter) {
  P.setRenderHint(QPainter::Antialiasing);
  P.setPen(Qt::NoPen);
  P.setBrush(Qt::black);
}

void Shape_Pen::Stroke(const QPainterPath& path, qreal width) {
  P.save();
  P.setBrush(Qt::NoBrush);
  P.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  P.drawPath(path);
  P.restore();
}

void Shape_Pen::Line(QPointF a, QPointF b, qreal width) {
  QPainterPath path(a);
  path.lineTo(b);
  Stroke(path, width);
}

void Shape_Pen::Polyline(std::initializer_list<QPointF> points, qreal width) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& point : points) {
    if (first)
      path.moveTo(point);
    else
      path.lineTo(point);
    first = false;
  }
  Stroke(path, width);
}

void Shape_Pen::Curve(QPointF a, QPointF control, QPointF b, qreal width) {
  QPainterPath path(a);
  path.quadTo(control, b);
  Stroke(path, width);
}

void Shape_Pen::Fill(std::initializer_list<QPointF> polygon) {
  P.drawPolygon(QPolygonF(QList<QPointF>(polygon)));
}

void Shape_Pen::Fill(const QPainterPath& path) {
  P.drawPath(path);
}

void Shape_Pen::Disc(QPointF centre, qreal rx, qreal ry) {
  P.drawEllipse(centre, rx, ry);
}

void Shape_Pen::Ring(QPointF centre, qreal rx, qreal ry, qreal width) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  Stroke(path, width);
}

void Shape_Pen::Set_Cutting(bool cutting) {
  P.setCompositionMode(cutting ? QPainter::CompositionMode_Clear
                               : QPainter::CompositionMode_SourceOver);
}

void Shape_Pen::Hole(QPointF centre, qreal r) {
  P.save();
  P.setCompositionMode(QPainter::CompositionMode_Clear);
  P.drawEllipse(centre, r, r);
  P.restore();
}

} // namespace Art
