// The living things of the LCD: the warrior in his eight places, the bats and the dragon.
#include "lcd_art.h"
#include "shape_pen.h"

#include <QLineF>
#include <array>
#include <cmath>

namespace Art {

namespace {

// A warrior figure as joints; the body is drawn from these with fixed limb widths, so every
// pose reads as the same man.
struct Figure {
  QPointF Head;
  QPointF Neck, Hip;
  QPointF Back_Elbow, Back_Hand, Front_Elbow, Front_Hand;
  QPointF Back_Knee, Back_Foot, Front_Knee, Front_Foot;
  qreal Scale = 1.0;
  bool Feet_Forward = true; // walking figures point their toes ahead
};

void Draw_Figure(Shape_Pen& pen, const Figure& f) {
  const qreal s = f.Scale;
  // Legs and back arm first, so the torso overlaps their roots.
  pen.Polyline({f.Hip, f.Back_Knee, f.Back_Foot}, 2.7 * s);
  pen.Polyline({f.Hip, f.Front_Knee, f.Front_Foot}, 2.7 * s);
  if (f.Feet_Forward) {
    pen.Line(f.Back_Foot, f.Back_Foot + QPointF(2.2 * s, 0), 2.0 * s);
    pen.Line(f.Front_Foot, f.Front_Foot + QPointF(2.2 * s, 0), 2.0 * s);
  }
  const QPointF shoulder = f.Neck + (f.Hip - f.Neck) * 0.18;
  pen.Polyline({shoulder, f.Back_Elbow, f.Back_Hand}, 2.2 * s);
  // The torso: a wedge, broad at the shoulders.
  const QLineF spine(f.Neck, f.Hip);
  const QPointF across = QPointF(-spine.dy(), spine.dx()) / std::max<qreal>(spine.length(), 0.01);
  pen.Fill({f.Neck + across * 2.6 * s, f.Neck - across * 2.6 * s, f.Hip - across * 1.9 * s,
            f.Hip + across * 1.9 * s});
  pen.Line(f.Neck, f.Hip, 3.0 * s);
  pen.Polyline({shoulder, f.Front_Elbow, f.Front_Hand}, 2.2 * s);
  // Head with a crested helmet.
  const qreal r = 3.3 * s;
  pen.Disc(f.Head, r);
  const QPointF up = (f.Head - f.Neck) / std::max<qreal>(QLineF(f.Neck, f.Head).length(), 0.01);
  pen.Curve(f.Head + up * r * 0.7, f.Head + up * (r + 2.2 * s) - QPointF(1.2 * s, 0),
            f.Head + up * (r * 0.4) - QPointF(r + 1.6 * s, -0.6 * s), 1.5 * s);
}

void Draw_Sword(Shape_Pen& pen, QPointF hand, QPointF point) {
  const QLineF blade(hand, point);
  const QPointF dir = (point - hand) / blade.length();
  const QPointF across(-dir.y(), dir.x());
  pen.Line(hand - dir * 0.8, point, 1.5);
  pen.Line(hand + dir * 1.2 + across * 2.0, hand + dir * 1.2 - across * 2.0, 1.4); // cross-guard
}

void Draw_Shield(Shape_Pen& pen, QPointF centre) {
  pen.Fill({centre + QPointF(-2.6, -3.4), centre + QPointF(2.4, -3.4), centre + QPointF(2.4, 0.8),
            centre + QPointF(-0.1, 3.8), centre + QPointF(-2.6, 0.8)});
}

void Draw_Bow(Shape_Pen& pen, QPointF top, QPointF grip, QPointF bottom, QPointF string_hand) {
  QPainterPath bow(top);
  bow.quadTo(grip + (grip - (top + bottom) / 2), bottom);
  pen.Stroke(bow, 1.7);
  pen.Polyline({top, string_hand, bottom}, 0.8);
}

} // namespace

void Draw_Warrior(Shape_Pen& pen, int place) {
  switch (place) {
  case 0: { // drawing the bow, facing the room
    Figure f{{6.5, 4.6},   {6.5, 8.6},  {6.2, 18.5}, {3.4, 12.0}, {8.6, 10.6}, {12.0, 10.8},
             {16.2, 10.6}, {4.2, 23.5}, {2.2, 28.3}, {9.2, 23.5}, {11.8, 28.3}};
    Draw_Figure(pen, f);
    Draw_Bow(pen, {14.6, 1.0}, {17.6, 10.6}, {14.6, 20.2}, {8.6, 10.6});
    return;
  }
  case 1: { // setting off: long stride
    Figure f{{14.5, 4.4},  {14.5, 8.5},  {13.8, 17.0}, {10.8, 12.6}, {8.8, 15.0}, {17.8, 12.2},
             {21.0, 10.2}, {10.8, 21.6}, {7.4, 26.0},  {17.2, 21.4}, {19.6, 26.0}};
    Draw_Figure(pen, f);
    Draw_Shield(pen, {8.4, 14.2});
    Draw_Sword(pen, {21.0, 10.2}, {28.6, 3.0});
    return;
  }
  case 2: { // legs passing
    Figure f{{14.0, 4.6},  {14.0, 8.6},  {14.2, 17.2}, {11.6, 12.8}, {10.2, 15.6}, {17.4, 12.4},
             {20.4, 11.0}, {13.2, 22.0}, {11.6, 26.0}, {16.4, 21.6}, {16.0, 26.0}};
    Draw_Figure(pen, f);
    Draw_Shield(pen, {9.6, 14.8});
    Draw_Sword(pen, {20.4, 11.0}, {28.0, 4.2});
    return;
  }
  case 3: { // striding in
    Figure f{{16.0, 4.6}, {15.8, 8.7},  {15.2, 17.6}, {12.0, 13.0}, {10.0, 15.8}, {19.4, 12.2},
             {23.2, 9.6}, {11.6, 22.4}, {8.0, 26.8},  {19.4, 22.0}, {22.6, 26.8}};
    Draw_Figure(pen, f);
    Draw_Shield(pen, {9.4, 15.0});
    Draw_Sword(pen, {23.2, 9.6}, {30.6, 2.4});
    return;
  }
  case 4: { // carried off: hanging from the bat's claws, legs kicking back
    Figure f{{11.4, 6.2}, {11.6, 9.6}, {10.0, 15.6}, {14.8, 5.2},  {17.0, 1.4}, {15.6, 6.2},
             {19.0, 2.0}, {7.0, 18.0}, {3.6, 18.6},  {11.6, 18.4}, {9.6, 20.4}};
    f.Scale = 0.95;
    f.Feet_Forward = false;
    Draw_Figure(pen, f);
    return;
  }
  case 5: { // carried off, the other swing of the legs
    Figure f{{11.8, 6.2}, {12.0, 9.4}, {11.0, 15.0}, {15.0, 5.2},  {17.4, 1.4}, {16.0, 6.2},
             {19.4, 2.0}, {8.6, 17.2}, {6.0, 18.8},  {13.6, 16.8}, {14.6, 18.8}};
    f.Scale = 0.95;
    f.Feet_Forward = false;
    Draw_Figure(pen, f);
    return;
  }
  case 6: { // losing his footing at the hazard, arms thrown up
    Figure f{{16.2, 8.2}, {15.4, 12.0}, {12.8, 19.6}, {10.0, 9.6},  {6.2, 5.0},  {19.6, 9.4},
             {23.4, 4.6}, {10.4, 23.6}, {12.2, 27.6}, {17.4, 22.4}, {22.4, 25.4}};
    f.Feet_Forward = false;
    Draw_Figure(pen, f);
    // Lines of the fall beside him.
    pen.Line({26.0, 12.0}, {27.0, 17.0}, 1.0);
    pen.Line({3.4, 14.0}, {2.6, 19.0}, 1.0);
    return;
  }
  case 7: { // sitting at the bottom of the pit, arms up, calling for help
    Figure f{{8.6, 5.8},  {8.8, 9.2},   {8.2, 15.4},  {6.0, 6.4},   {3.8, 1.8},  {12.0, 6.6},
             {14.6, 2.0}, {13.4, 13.6}, {17.8, 17.0}, {14.0, 15.8}, {19.0, 17.6}};
    f.Scale = 0.92;
    Draw_Figure(pen, f);
    return;
  }
  default: return;
  }
}

void Draw_Bat(Shape_Pen& pen, int place, QSizeF size) {
  // The wings beat as the bat crosses the screen: up, level and down in turn.
  static constexpr std::array<qreal, 6> Wing_Lift = {0, 1.0, 0.0, -1.0, 0.0, 1.0};
  const qreal lift = Wing_Lift[static_cast<std::size_t>(place)];
  const qreal cx = size.width() / 2.0;
  const qreal h = size.height();
  const qreal body_y = h * 0.46;
  const qreal span = cx - 0.8;
  const qreal rise = h * 0.40;

  for (int side : {-1, 1}) {
    // f runs from the body (0) to the wing tip (1).
    const auto Upper = [&](qreal f) {
      return QPointF(cx + side * (1.4 + (span - 1.4) * f),
                     body_y - 2.0 - lift * rise * f - 1.4 * std::sin(f * 3.14159));
    };
    const auto Lower = [&](qreal f, qreal depth) {
      const QPointF u = Upper(f);
      return QPointF(u.x(), u.y() + depth * (1.4 + 5.2 * (1.0 - f)));
    };
    QPainterPath wing(Upper(0.0));
    for (qreal f : {0.25, 0.5, 0.75, 1.0})
      wing.lineTo(Upper(f));
    // The trailing edge in scallops between the wing's fingers.
    wing.quadTo(Lower(0.9, 0.5), Lower(0.82, 1.0));
    wing.quadTo(Lower(0.7, 0.45), Lower(0.58, 1.0));
    wing.quadTo(Lower(0.46, 0.5), Lower(0.33, 1.0));
    wing.quadTo(Lower(0.2, 0.6), Lower(0.0, 0.9));
    wing.closeSubpath();
    pen.Fill(wing);
    // Ears.
    pen.Fill({QPointF(cx + side * 0.4, body_y - 3.6), QPointF(cx + side * 1.9, body_y - 6.6),
              QPointF(cx + side * 2.4, body_y - 3.0)});
    // Claws.
    pen.Line(QPointF(cx + side * 0.9, body_y + 3.0), QPointF(cx + side * 1.6, h - 0.8), 1.0);
  }
  pen.Disc({cx, body_y}, 2.5, 3.6);
  pen.Disc({cx, body_y - 2.6}, 2.2, 1.9);
  pen.Hole({cx - 0.9, body_y - 2.8}, 0.45);
  pen.Hole({cx + 0.9, body_y - 2.8}, 0.45);
}

namespace {

// The dragon's head facing left with the jaws open; `at` is the back of the skull.
void Draw_Dragon_Head(Shape_Pen& pen, QPointF at, qreal droop) {
  const auto P = [&](qreal dx, qreal dy) { return at + QPointF(dx, dy + droop * dx / 10.0); };
  pen.Fill({P(0, -3.2), P(-4, -4.4), P(-9.6, -2.2), P(-10.4, 0.0), P(-5.0, 0.2), P(0, 1.2)});
  pen.Fill({P(-1, 1.4), P(-4.6, 2.0), P(-9.0, 3.6), P(-8.6, 4.8), P(-3.4, 4.6), P(0.6, 3.6)});
  pen.Line(P(-1.6, -3.6), P(1.4, -7.0), 1.4); // horn
  pen.Disc(P(0.4, 0.4), 3.2, 3.6);
  pen.Hole(P(-3.8, -1.8), 0.7);
}

} // namespace

void Draw_Dragon(Shape_Pen& pen) {
  // Rearing up and facing the warrior on the left.
  Draw_Dragon_Head(pen, {11.6, 9.0}, 0.0);
  pen.Curve({11.0, 11.0}, {16.6, 12.6}, {16.4, 19.0}, 5.0); // neck
  // Spines along the neck.
  pen.Fill({{13.6, 8.6}, {15.8, 6.8}, {15.6, 10.4}});
  pen.Fill({{16.2, 11.4}, {18.8, 10.2}, {17.8, 13.6}});
  // Wing raised from the back.
  QPainterPath wing(QPointF(19.0, 18.6));
  wing.lineTo(22.4, 4.0);
  wing.quadTo(24.8, 7.4, 26.4, 6.2);
  wing.lineTo(30.2, 2.4);
  wing.quadTo(29.0, 10.0, 31.6, 13.0);
  wing.quadTo(28.0, 14.0, 25.8, 20.8);
  wing.closeSubpath();
  pen.Fill(wing);
  pen.Disc({20.6, 24.6}, 7.8, 6.6);                             // body
  pen.Polyline({{15.2, 23.2}, {11.4, 25.4}, {8.8, 24.2}}, 2.2); // fore claw
  pen.Line({8.8, 24.2}, {7.4, 22.8}, 1.0);
  pen.Polyline({{16.2, 29.0}, {15.2, 33.8}, {12.0, 34.6}}, 2.6); // legs
  pen.Polyline({{23.2, 29.6}, {24.0, 33.8}, {20.8, 34.6}}, 2.6);
  QPainterPath tail(QPointF(26.4, 27.6));
  tail.quadTo(32.4, 28.4, 30.0, 33.6);
  pen.Stroke(tail, 2.6);
  pen.Fill({{29.4, 33.0}, {31.8, 35.2}, {27.0, 35.2}}); // tail spade
}

void Draw_Slain_Dragon(Shape_Pen& pen) {
  // The dragon lies on its side, legs in the air, with the arrow standing in it.
  pen.Disc({22.4, 25.4}, 11.0, 5.2);
  Draw_Dragon_Head(pen, {10.6, 26.8}, 3.0);
  pen.Line({7.0, 30.2}, {5.4, 31.8}, 1.0); // tongue
  pen.Polyline({{17.6, 21.2}, {16.6, 16.4}, {14.4, 15.6}}, 2.2);
  pen.Polyline({{25.4, 21.0}, {26.8, 16.2}, {24.6, 15.0}}, 2.2);
  QPainterPath tail(QPointF(32.0, 26.6));
  tail.quadTo(37.0, 25.0, 39.4, 29.6);
  pen.Stroke(tail, 2.4);
  pen.Fill({{38.0, 29.0}, {40.0, 31.8}, {36.4, 31.2}});
  pen.Hole({9.8, 25.0}, 0.9);
  // The arrow: driven in from the upper left, its feathers sticking out.
  pen.Line({21.0, 22.2}, {10.4, 3.4}, 1.5);
  pen.Line({10.4, 3.4}, {8.0, 4.4}, 1.2);
  pen.Line({10.4, 3.4}, {10.4, 0.8}, 1.2);
  pen.Line({11.8, 5.8}, {9.4, 6.8}, 1.2);
  pen.Line({11.8, 5.8}, {11.8, 3.2}, 1.2);
}

} // namespace Art
