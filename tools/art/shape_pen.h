// Draws the solid shapes that LCD segments are made of. Everything is painted opaque black;
// the segment style later turns that coverage into ink, shadow or a ghost.
#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <initializer_list>

namespace Art {

class Shape_Pen {
public:
  explicit Shape_Pen(QPainter& painter);

  // A stroke with round caps and joins.
  void Line(QPointF a, QPointF b, qreal width);
  void Polyline(std::initializer_list<QPointF> points, qreal width);
  // A quadratic curve from a to b bent towards control.
  void Curve(QPointF a, QPointF control, QPointF b, qreal width);
  void Stroke(const QPainterPath& path, qreal width);

  void Fill(std::initializer_list<QPointF> polygon);
  void Fill(const QPainterPath& path);
  void Disc(QPointF centre, qreal rx, qreal ry);
  void Disc(QPointF centre, qreal r) { Disc(centre, r, r); }
  void Ring(QPointF centre, qreal rx, qreal ry, qreal width);

  // While cutting, everything drawn clears what lies beneath instead of covering it.
  void Set_Cutting(bool cutting);

  // Clears a small round hole (an eye) out of what has been drawn.
  void Hole(QPointF centre, qreal r);

  QPainter& Painter() { return P; }

private:
  QPainter& P;
};

} // namespace Art
