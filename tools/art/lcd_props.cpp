// The things of the LCD's room: the arrow in flight, the direction cursors, the walls, the pit,
// the hook and the two carried-item indicators.
#include "lcd_art.h"
#include "shape_pen.h"

#include <QLineF>

namespace Art {

namespace {

// An arrow from its feathers to its point.
void Arrow(Shape_Pen& pen, QPointF tail, QPointF tip, qreal head = 4.2, qreal shaft = 1.4) {
  const QLineF line(tail, tip);
  const QPointF dir = (tip - tail) / line.length();
  const QPointF across(-dir.y(), dir.x());
  const QPointF base = tip - dir * head;
  pen.Line(tail, base, shaft);
  pen.Fill(
      {tip, base + across * head * 0.55, base + dir * head * 0.15, base - across * head * 0.55});
  // Two pairs of feathers.
  for (qreal back : {0.0, 2.0}) {
    const QPointF root = tail + dir * (back + 1.2);
    pen.Line(root, root - dir * 2.4 + across * 1.9, 1.0);
    pen.Line(root, root - dir * 2.4 - across * 1.9, 1.0);
  }
}

} // namespace

void Draw_Arrow_Frame(Shape_Pen& pen, int place) {
  switch (place) {
  case 0: // the point of the nocked arrow, just clear of the bow
    pen.Line({0.0, 2.0}, {1.6, 2.0}, 1.2);
    pen.Fill({{4.8, 2.0}, {0.8, 0.0}, {1.6, 2.0}, {0.8, 4.0}});
    return;
  case 1: Arrow(pen, {1.0, 3.0}, {19.6, 3.0}); return;
  case 2: Arrow(pen, {1.0, 2.6}, {18.6, 5.0}); return;
  case 3: Arrow(pen, {1.0, 1.8}, {18.2, 8.4}); return;
  case 4: Arrow(pen, {1.6, 1.6}, {14.6, 14.6}); return;
  case 5: // a miss: the arrow tumbles away, point down
    Arrow(pen, {9.6, 3.2}, {20.4, 28.4}, 4.6);
    pen.Line({5.0, 9.0}, {9.4, 19.2}, 1.0);
    pen.Line({15.6, 2.0}, {20.0, 12.2}, 1.0);
    return;
  default: return;
  }
}

void Draw_Cursor(Shape_Pen& pen, Element_Id cursor, QSizeF size) {
  const qreal w = size.width() - 0.5, h = size.height() - 0.5, m = 0.5;
  switch (cursor) {
  case im_cursor_up: pen.Fill({{m, h}, {size.width() / 2, m}, {w, h}}); return;
  case im_cursor_down: pen.Fill({{m, m}, {w, m}, {size.width() / 2, h}}); return;
  case im_cursor_left: pen.Fill({{m, size.height() / 2}, {w, m}, {w, h}}); return;
  case im_cursor_right: pen.Fill({{w, size.height() / 2}, {m, m}, {m, h}}); return;
  default: return;
  }
}

void Draw_Maze(Shape_Pen& pen) {
  // The room seen from above: the floor in the middle, where the panel names the cell, and the
  // four walls falling away from it, each with its direction cursor.
  constexpr QPointF outer_tl(1.6, 1.6), outer_br(114.4, 86.4);
  constexpr QPointF floor_tl(29.6, 20.6), floor_br(88.4, 61.6);
  QPainterPath outer;
  outer.addRect(QRectF(outer_tl, outer_br));
  pen.Stroke(outer, 2.8);
  QPainterPath floor;
  floor.addRect(QRectF(floor_tl, floor_br));
  pen.Stroke(floor, 2.0);
  pen.Line(outer_tl, floor_tl, 2.0);
  pen.Line({outer_br.x(), outer_tl.y()}, {floor_br.x(), floor_tl.y()}, 2.0);
  pen.Line(outer_br, floor_br, 2.0);
  pen.Line({outer_tl.x(), outer_br.y()}, {floor_tl.x(), floor_br.y()}, 2.0);
}

void Draw_Pit(Shape_Pen& pen) {
  // The pit cut open: the ground on either side and the rough walls down to its floor, hollow so
  // the warrior at the bottom shows.
  constexpr qreal ground = 6.4;
  pen.Line({0.8, ground}, {7.4, ground}, 2.4);
  pen.Line({40.6, ground}, {47.2, ground}, 2.4);
  pen.Polyline({{7.4, ground},
                {5.2, 14.0},
                {7.8, 21.6},
                {5.6, 30.0},
                {9.8, 38.6},
                {16.0, 43.0},
                {24.0, 44.4},
                {32.0, 43.0},
                {38.2, 38.6},
                {42.4, 30.0},
                {40.2, 21.6},
                {42.8, 14.0},
                {40.6, ground}},
               2.4);
  // The earth the pit is dug into, hatched along its walls.
  for (qreal y : {11.0, 17.0, 23.0, 29.0, 35.0}) {
    pen.Line({0.8, y + 3.0}, {3.6, y}, 1.0);
    pen.Line({44.2, y + 3.0}, {47.0, y}, 1.0);
  }
  // Stones on the pit's floor.
  pen.Disc({12.6, 39.4}, 1.6, 1.1);
  pen.Disc({35.8, 39.8}, 1.8, 1.2);
}

namespace {

// A three-pronged grappling hook hanging from its ring at `top`.
void Grapnel(Shape_Pen& pen, QPointF top, qreal length, qreal spread) {
  const QPointF bottom = top + QPointF(0, length);
  pen.Ring(top, 1.5, 1.5, 1.2);
  pen.Line(top + QPointF(0, 1.4), bottom, 2.0);
  for (int side : {-1, 1}) {
    const QPointF tip = bottom + QPointF(side * spread, -spread * 1.1);
    pen.Curve(bottom, bottom + QPointF(side * spread * 1.1, 1.4), tip, 1.8);
    pen.Line(tip, tip + QPointF(-side * 1.4, 1.2), 1.2); // barb
  }
  pen.Line(bottom, bottom + QPointF(0, 1.8), 1.8);
}

} // namespace

void Draw_Hook(Shape_Pen& pen) {
  // Let down on its rope into the pit.
  QPainterPath rope(QPointF(7.4, 0.0));
  rope.quadTo(9.6, 8.0, 7.4, 14.0);
  rope.quadTo(5.4, 20.0, 7.4, 28.0);
  pen.Stroke(rope, 1.3);
  Grapnel(pen, {7.4, 29.2}, 10.8, 5.8);
}

namespace {

// The carried-item indicators are dark tiles with the item left clear, so they read at a
// glance even where they lie over the room's walls.
void Tile(Shape_Pen& pen, QSizeF size) {
  QPainterPath tile;
  tile.addRoundedRect(QRectF(0.6, 0.6, size.width() - 1.2, size.height() - 1.2), 3.2, 3.2);
  pen.Fill(tile);
  pen.Set_Cutting(true);
}

} // namespace

void Draw_Arrow_Icon(Shape_Pen& pen, QSizeF size) {
  const qreal w = size.width(), h = size.height();
  Tile(pen, size);
  Arrow(pen, {4.2, h - 4.2}, {w - 3.8, 3.8}, 5.4, 1.7);
  pen.Set_Cutting(false);
}

void Draw_Hook_Icon(Shape_Pen& pen, QSizeF size) {
  const qreal w = size.width(), h = size.height();
  Tile(pen, size);
  Grapnel(pen, {w / 2, 4.6}, h - 11.2, 5.0);
  pen.Set_Cutting(false);
}

} // namespace Art
