#include "lcd_art.h"

#include "art_style.h"
#include "shape_pen.h"

#include <algorithm>

namespace Art {

namespace {

const QColor Ink{16, 22, 18, 240};
const QColor Shadow{52, 64, 44, 72};
const QColor Ghost{20, 30, 20, 12};

int Index_In(Element_Id id, Element_Id first) {
  return static_cast<int>(id - first);
}

// Tiny shapes get a one-pixel shadow, the rest two: the gap between the liquid crystal and the
// reflector.
int Shadow_Offset(QSize size) {
  return std::min(size.width(), size.height()) < 10 ? 1 : 2;
}

QImage Tinted(const QImage& coverage, QColor colour) {
  QImage out = coverage;
  QPainter p(&out);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(out.rect(), colour);
  return out;
}

void Draw_Shape(Shape_Pen& pen, Element_Id id, QSizeF size) {
  if (Is_Glyph(id)) return Draw_Glyph(pen, Glyph_Char(id), size);
  if (id >= im_bat_1 && id <= im_bat_5) return Draw_Bat(pen, Index_In(id, im_bat_1) + 1, size);
  switch (id) {
  case im_warrior_0: return Draw_Warrior(pen, 0);
  case im_warrior_1: return Draw_Warrior(pen, 1);
  case im_warrior_2: return Draw_Warrior(pen, 2);
  case im_warrior_3: return Draw_Warrior(pen, 3);
  case im_warrior_4: return Draw_Warrior(pen, 4);
  case im_warrior_5: return Draw_Warrior(pen, 5);
  case im_warrior_6: return Draw_Warrior(pen, 6);
  case im_warrior_7: return Draw_Warrior(pen, 7);
  case im_arrow_0: return Draw_Arrow_Frame(pen, 0);
  case im_arrow_1: return Draw_Arrow_Frame(pen, 1);
  case im_arrow_2: return Draw_Arrow_Frame(pen, 2);
  case im_arrow_3: return Draw_Arrow_Frame(pen, 3);
  case im_arrow_4: return Draw_Arrow_Frame(pen, 4);
  case im_arrow_5: return Draw_Arrow_Frame(pen, 5);
  case im_arrow_6: return Draw_Slain_Dragon(pen);
  case im_cursor_up:
  case im_cursor_left:
  case im_cursor_right:
  case im_cursor_down: return Draw_Cursor(pen, id, size);
  case im_maze: return Draw_Maze(pen);
  case im_pit: return Draw_Pit(pen);
  case im_hook: return Draw_Hook(pen);
  case im_dragon: return Draw_Dragon(pen);
  case im_icon_arrow: return Draw_Arrow_Icon(pen, size);
  case im_icon_hook: return Draw_Hook_Icon(pen, size);
  default: return;
  }
}

} // namespace

bool Is_Glyph(Element_Id id) {
  return id >= im_panel_number_1_0 && id <= im_panel_number_2_9;
}

bool Is_Lcd_Segment(Element_Id id) {
  return Is_Glyph(id) || (id >= im_bat_1 && id <= im_dragon) || id == im_arrow_6 ||
         id == im_icon_arrow || id == im_icon_hook || id == im_pit;
}

QRect Built_In_Rect(Element_Id id) {
  const Element_Info& info = Element_Table[static_cast<std::size_t>(id)];
  return {info.Left, info.Top, info.Width, info.Height};
}

QImage Segment_Coverage(Element_Id id, int scale) {
  const QSize size = Built_In_Rect(id).size();
  QImage image = Canvas(size, scale);
  image.fill(Qt::transparent);
  QPainter p(&image);
  Shape_Pen pen(p);
  // Shapes leave room at the right and bottom for the shadow.
  const int room = Shadow_Offset(size);
  Draw_Shape(pen, id, QSizeF(size.width() - room, size.height() - room));
  return image;
}

QImage Lit_Segment(Element_Id id, int scale) {
  const QImage coverage = Segment_Coverage(id, scale);
  const QSize size = Built_In_Rect(id).size();
  QImage out = Canvas(size, scale);
  out.fill(Qt::transparent);
  QPainter p(&out);
  const int offset = Shadow_Offset(size);
  p.drawImage(QPoint(offset, offset), Tinted(coverage, Shadow));
  p.drawImage(QPoint(0, 0), Tinted(coverage, Ink));
  p.end();
  return out.convertToFormat(QImage::Format_ARGB32);
}

QImage Segment_Shape(Element_Id id, qreal zoom, QColor colour, int scale) {
  const QSize size = Built_In_Rect(id).size();
  QImage image = Canvas((QSizeF(size) * zoom).toSize(), scale);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(zoom, zoom);
  Shape_Pen pen(p);
  const int room = Shadow_Offset(size);
  Draw_Shape(pen, id, QSizeF(size.width() - room, size.height() - room));
  p.end();
  return Tinted(image, colour);
}

void Paint_Ghost(QPainter& painter, Element_Id id, QPoint at) {
  painter.drawImage(at, Tinted(Segment_Coverage(id, Scale_Of(painter)), Ghost));
}

void Paint_Lit(QPainter& painter, Element_Id id, QPoint at) {
  painter.drawImage(at, Lit_Segment(id, Scale_Of(painter)));
}

} // namespace Art
