#include "manual_pages.h"

#include "contact_sheet.h"
#include "handheld.h"
#include "lcd_art.h"
#include "lcd_scene.h"
#include "manual_page.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <map>

namespace Art {

namespace {

using Ids = std::vector<Element_Id>;

QPoint Glass_Origin() {
  return Built_In_Rect(im_background_screen_top).topLeft();
}

// A picture enlarged or reduced by `zoom`, smoothly, keeping its scale: its logical size is the
// same at every scale, so the pages are laid out alike.
QImage Scaled(const QImage& image, qreal zoom) {
  const int scale = Scale_Of(image);
  const QSize logical = (QSizeF(Logical_Size(image)) * zoom).toSize();
  QImage out = image.scaled(logical * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  out.setDevicePixelRatio(scale);
  return out;
}

// The LCD at a moment of the game, optionally cut to an area given in window coordinates, at
// the page's scale.
QImage Scene(const Manual_Page& page, const Ids& lit, const QString& panel = QString(),
             qreal zoom = 1.0, QRect area = QRect()) {
  QImage scene = Lcd_Scene(lit, panel, page.Scale(), Surface::Printed);
  if (!area.isNull())
    scene = Logical_Copy(
        scene,
        area.translated(-Glass_Origin()).intersected(QRect(QPoint(0, 0), Logical_Size(scene))));
  return Scaled(scene, zoom);
}

// One segment lit on its patch of LCD.
QImage Segment_Tile(const Manual_Page& page, Element_Id id, qreal zoom) {
  return Scene(page, {id}, QString(), zoom, Built_In_Rect(id).adjusted(-4, -4, 4, 4));
}

// A button of the handheld with its printed name.
QImage Button_Picture(const Manual_Page& page, Element_Id area, qreal zoom) {
  static std::map<int, QImage> handhelds;
  QImage& handheld = handhelds[page.Scale()];
  if (handheld.isNull()) handheld = Draw_Handheld(Button_State::Up, page.Scale(), Surface::Printed);
  const QRect r = Built_In_Rect(area);
  const int width = std::max(r.width() + 8, 64);
  return Scaled(Logical_Copy(handheld, QRect(r.center().x() - width / 2, r.top() - 22, width,
                                             r.height() + 26)),
                zoom);
}

const Ids Game_View = {im_maze, im_cursor_up};

QImage Cover(int scale) {
  QImage page = Blank_Page(Navy, scale);
  QPainter p(&page);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QSize size = Logical_Size(page);
  const qreal w = size.width(), h = size.height();
  QLinearGradient night(0, 0, 0, h);
  night.setColorAt(0, QColor(10, 30, 66));
  night.setColorAt(1, QColor(40, 12, 18));
  p.fillRect(QRect(QPoint(0, 0), size), night);
  // The dragon's shadow over the whole cover.
  const QImage dragon = Segment_Shape(im_dragon, 9.0, QColor(150, 40, 24, 70), scale);
  p.drawImage(QPointF(w - Logical_Size(dragon).width() + 40, 120), dragon);
  p.setPen(QPen(Print_Gold, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(12, 12, w - 24, h - 24));
  p.setPen(QPen(Print_Gold, 0.8));
  p.drawRect(QRectF(17, 17, w - 34, h - 34));

  const auto centred = [&](const QString& text, qreal y, const QFont& font, QColor colour) {
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, y, w, 40), Qt::AlignHCenter | Qt::AlignTop, text);
  };
  QFont brand = Sans(13, true);
  brand.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  centred(QStringLiteral("BRENNICOR"), 50, brand, Print_Silver);
  QPainterPath title;
  const QFont title_font = Serif(58, true, true);
  const QString name = QStringLiteral("Grathmoor");
  title.addText(QPointF((w - QFontMetricsF(title_font).horizontalAdvance(name)) / 2, 128),
                title_font, name);
  QLinearGradient gold(0, 80, 0, 132);
  gold.setColorAt(0, QColor(255, 232, 156));
  gold.setColorAt(0.5, Print_Gold);
  gold.setColorAt(0.56, QColor(178, 114, 36));
  gold.setColorAt(1, QColor(240, 194, 100));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawPath(title.translated(2, 3));
  p.setBrush(gold);
  p.setPen(QPen(QColor(80, 46, 8), 1.0));
  p.drawPath(title);
  QFont series = Sans(11, true);
  series.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
  centred(QStringLiteral("ZEPHYRINE SERIES"), 142, series, Print_Gold);

  const QImage hand = Scaled(Lit_Handheld(scale, Surface::Printed), 0.62);
  p.drawImage(QPointF((w - Logical_Size(hand).width()) / 2, 200), hand);

  centred(QStringLiteral("Electronic Dungeon Adventure"), 440, Serif(20, false, true),
          QColor(240, 234, 220));
  QFont manual = Sans(14, true);
  manual.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  centred(QStringLiteral("INSTRUCTION MANUAL"), 476, manual, Print_Gold);
  centred(QStringLiteral("1 player  \u00b7  3 levels  \u00b7  demonstration"), 530, Sans(11),
          Print_Silver);
  p.end();
  return page;
}

void Story(Manual_Page& page) {
  page.Text(QStringLiteral(
      "Far beneath the moors of Grathmoor lies a dungeon of a hundred rooms. Its doors lead "
      "north, east, south and west, and whoever walks out of its last room on one side finds "
      "himself in its first room on the other: the dungeon has no end."));
  page.Text(QStringLiteral(
      "Somewhere in the dark sleeps the <b>dragon</b>. Twelve <b>pits</b> open in the floors, and "
      "four giant <b>bats</b> hang under the ceilings, ready to seize anyone who disturbs them."));
  page.Text(QStringLiteral(
      "You are the warrior sent to slay the dragon. Its scales turn every blade: only the one "
      "enchanted <b>arrow</b>, hidden in the dungeon, can pierce them. Find it, creep up to the "
      "dragon's room, and shoot it from the doorway. A grappling <b>hook</b> may save you from "
      "a pit, once."));
  page.Picture(
      Scene(page, {im_warrior_0, im_arrow_3, im_dragon}, QString(), 1.3, QRect(80, 84, 200, 100)),
      QStringLiteral("The warrior draws his bow."));
  page.Text(QStringLiteral(
      "You cannot see the dungeon: the handheld shows only the room you stand in and what "
      "your senses tell you of the rooms next to it. Keep notes on the map beside the screen, "
      "and good hunting!"));
}

void Parts(Manual_Page& page) {
  const qreal scale = 0.613;
  QImage hand = Scaled(Lit_Handheld(page.Scale(), Surface::Printed), scale);
  {
    QPainter p(&hand);
    p.setRenderHint(QPainter::Antialiasing);
    const auto mark = [&](int n, QPointF at) {
      p.setPen(QPen(Qt::white, 1.2));
      p.setBrush(QColor(198, 38, 34));
      p.drawEllipse(at * scale, 7.5, 7.5);
      p.setFont(Sans(10, true));
      p.drawText(QRectF(at.x() * scale - 8, at.y() * scale - 8, 16, 16), Qt::AlignCenter,
                 QString::number(n));
    };
    mark(1, {80, 70});
    mark(2, {149, 155});
    mark(3, {109, 151});
    mark(4, {96, 195});
    mark(5, {59, 303});
    mark(6, {176, 302});
    mark(7, {272, 297});
    mark(8, {366, 303});
    mark(9, {396, 178});
  }
  page.Picture(hand);
  page.Row(QStringLiteral("1"), QStringLiteral("<b>The screen.</b> The room you stand in, with "
                                               "its four walls and doorways."));
  page.Row(QStringLiteral("2"), QStringLiteral("<b>The panel.</b> The room's name: its row A to "
                                               "J and its column 0 to 9."));
  page.Row(QStringLiteral("3"), QStringLiteral("<b>The cursor.</b> The doorway you face."));
  page.Row(QStringLiteral("4"), QStringLiteral("<b>What you carry:</b> the arrow (left) and the "
                                               "hook (right)."));
  page.Row(QStringLiteral("5 - 8"), QStringLiteral("<b>The buttons:</b> CURSOR, ATTACK, ALL "
                                                   "CLEAR and MOVE (next page)."));
  page.Row(QStringLiteral("9"), QStringLiteral("<b>The map</b> of the dungeon, for your notes."));
}

void Buttons(Manual_Page& page) {
  page.Text(QStringLiteral("Click the buttons with the mouse, or press their keys on the "
                           "keyboard:"));
  page.Row(Button_Picture(page, btn_acl_top, 1.0),
           QStringLiteral("<b>ALL CLEAR</b> &nbsp;key <b>5</b><br>Resets the handheld at any "
                          "moment, even in the middle of a game. Let go and the demonstration "
                          "starts."));
  page.Row(Button_Picture(page, btn_cursor_top, 0.8),
           QStringLiteral("<b>CURSOR</b> &nbsp;key <b>Shift</b><br>Turns the direction cursor "
                          "clockwise: up, right, down, left."));
  page.Row(Button_Picture(page, btn_attack_top, 0.8),
           QStringLiteral("<b>ATTACK</b> &nbsp;key <b>Ctrl</b><br>Starts a game. During the game "
                          "it shoots the arrow, if you carry it."));
  page.Row(Button_Picture(page, btn_move_top, 0.8),
           QStringLiteral("<b>MOVE</b> &nbsp;key <b>Alt</b><br>Chooses the level. During the "
                          "game it walks one room in the cursor's direction."));
  page.Row(QStringLiteral("\u2190\u2191\u2192\u2193"),
           QStringLiteral("The <b>arrow keys</b> point the cursor straight at a doorway."));
  page.Row(QStringLiteral("Insert"),
           QStringLiteral("During a game, shows or hides the whole hidden dungeon as rows of "
                          "figures. For the curious, and for the desperate."));
  page.Text(QStringLiteral("Each press acts once: hold a button and it does not repeat. You "
                           "can choose other keys in <i>Key settings</i> (right-click the "
                           "handheld for the menu)."));
}

void Starting(Manual_Page& page) {
  page.Text(QStringLiteral(
      "When nobody plays, the handheld shows its <b>demonstration</b>. Press <b>ATTACK</b> and "
      "the panel shows <b>L1</b>: level 1. Press <b>MOVE</b> to choose the level: L1, L2, L3, "
      "and back to L1."));
  page.Pictures({{Scene(page, {}, QStringLiteral("L1"), 1.0, QRect(112, 128, 72, 52)),
                  QStringLiteral("Level 1")},
                 {Scene(page, {}, QStringLiteral("L2"), 1.0, QRect(112, 128, 72, 52)),
                  QStringLiteral("Level 2")},
                 {Scene(page, {}, QStringLiteral("L3"), 1.0, QRect(112, 128, 72, 52)),
                  QStringLiteral("Level 3")}});
  page.Text(QStringLiteral(
      "Press <b>ATTACK</b> again to begin. The screen stays dark for a second while the "
      "dungeon is laid out anew; then you stand in room <b>A0</b>, facing up."));
  page.Picture(Scene(page, {im_maze, im_cursor_up, im_icon_hook}, QStringLiteral("A0")),
               QStringLiteral("The start of a game on level 1: room A0, the hook in hand."));
  page.Text(
      QStringLiteral("If something is near room A0 already, the handheld tells you at once (see "
                     "<i>Warnings</i>)."));
}

QImage Dungeon_Map(int scale) {
  constexpr int cell = 22, left = 30, top = 24;
  QImage map = Canvas(QSize(left + cell * 10 + 30, top + cell * 10 + 8), scale);
  map.fill(Qt::transparent);
  QPainter p(&map);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(left + cell * 0, top, cell, cell), QColor(232, 196, 120));
  p.setPen(QPen(QColor(120, 110, 96), 1));
  for (int i = 0; i <= 10; ++i) {
    p.drawLine(left, top + i * cell, left + 10 * cell, top + i * cell);
    p.drawLine(left + i * cell, top, left + i * cell, top + 10 * cell);
  }
  p.setFont(Sans(11, true));
  p.setPen(QColor(60, 56, 52));
  for (int i = 0; i < 10; ++i) {
    p.drawText(QRect(left - 20, top + i * cell, 16, cell), Qt::AlignCenter,
               QString(QChar('A' + i)));
    p.drawText(QRect(left + i * cell, top - 20, cell, 18), Qt::AlignCenter, QString::number(i));
  }
  p.setFont(Sans(9, true));
  p.drawText(QRect(left, top, cell, cell), Qt::AlignCenter, QStringLiteral("A0"));
  p.drawText(QRect(left + 7 * cell, top + 2 * cell, cell, cell), Qt::AlignCenter,
             QStringLiteral("C7"));
  // Wrap-around: off the right edge back in at the left.
  p.setPen(QPen(QColor(198, 38, 34), 2, Qt::SolidLine, Qt::RoundCap));
  const int row = top + 5 * cell + cell / 2;
  p.drawLine(left + 10 * cell - 6, row, left + 10 * cell + 18, row);
  p.drawLine(left + 10 * cell + 18, row, left + 10 * cell + 12, row - 5);
  p.drawLine(left + 10 * cell + 18, row, left + 10 * cell + 12, row + 5);
  p.drawLine(left - 26, row, left + 6, row);
  p.drawLine(left + 6, row, left, row - 5);
  p.drawLine(left + 6, row, left, row + 5);
  return map;
}

void Dungeon(Manual_Page& page) {
  page.Text(QStringLiteral(
      "The dungeon has 10 \u00d7 10 rooms. The panel names the room you stand in by its "
      "<b>row</b>, a letter from A to J (top to bottom), and its <b>column</b>, a figure from "
      "0 to 9 (left to right). You always start in the corner room <b>A0</b>."));
  page.Picture(Dungeon_Map(page.Scale()),
               QStringLiteral("Rooms A0 and C7. Walk off one edge and you come "
                              "back at the opposite one."));
  page.Text(QStringLiteral(
      "The dungeon <b>wraps around</b>: walking left out of column 0 brings you into column 9 "
      "of the same row, walking up out of row A into row J. Every room therefore has four "
      "neighbours."));
  page.Text(QStringLiteral(
      "The panel has no G and no I: row G shows as <b>6</b> and row I as <b>1</b>."));
}

void Walking(Manual_Page& page) {
  page.Text(QStringLiteral(
      "Point the cursor at a doorway with <b>CURSOR</b> or the arrow keys, then press "
      "<b>MOVE</b>. The warrior walks through the doorway into the next room, and the panel "
      "shows its name."));
  const QRect row(104, 80, 104, 36);
  page.Pictures({{Scene(page, {im_warrior_1}, QString(), 1.0, row), QString()},
                 {Scene(page, {im_warrior_2}, QString(), 1.0, row), QString()},
                 {Scene(page, {im_warrior_3}, QString(), 1.0, row), QString()}});
  page.Picture(Scene(page, {im_maze, im_cursor_right}, QStringLiteral("C7")),
               QStringLiteral("Room C7, facing right: MOVE leads into C8."));
  page.Text(QStringLiteral(
      "You can act only while the warrior stands still in a room. While he walks, and while "
      "the handheld tells you what it senses, the buttons do nothing: press again when he has "
      "arrived."));
}

void Warnings(Manual_Page& page) {
  page.Text(QStringLiteral(
      "Arriving in a room, the warrior senses what lies in the <b>four rooms next to it</b> "
      "(never diagonally) and the handheld shows it:"));
  page.Row(Segment_Tile(page, im_pit, 1.0),
           QStringLiteral("<b>A pit</b> is near: the pit blinks."));
  page.Row(Segment_Tile(page, im_bat_1, 1.3),
           QStringLiteral("<b>A bat</b> is near: the bat blinks."));
  page.Row(Segment_Tile(page, im_arrow_1, 1.6),
           QStringLiteral("<b>The arrow</b> is near: a beep, then the arrow blinks."));
  page.Row(Segment_Tile(page, im_hook, 0.8),
           QStringLiteral("<b>The hook</b> is near: a beep, then the hook blinks."));
  page.Row(Segment_Tile(page, im_dragon, 1.0),
           QStringLiteral("<b>The dragon</b> is near: it roars four times, then blinks."));
  page.Text(QStringLiteral(
      "Several warnings may blink at once. The arrow and the hook sound alike: only the "
      "blinking picture tells which is near. A warning says nothing about <i>which</i> "
      "doorway leads to it: walk on, and compare."));
}

void Pits(Manual_Page& page) {
  page.Text(QStringLiteral(
      "Twelve pits open in the dungeon's floors. No two lie side by side, and none lies in row "
      "A or in column 0."));
  const QRect pit(192, 106, 70, 84);
  page.Pictures(
      {{Scene(page, {im_warrior_6, im_pit}, QString(), 1.0, pit), QStringLiteral("Falling")},
       {Scene(page, {im_warrior_7, im_pit}, QString(), 1.0, pit), QStringLiteral("At the bottom")},
       {Scene(page, {im_warrior_7, im_pit, im_hook}, QString(), 1.0, pit),
        QStringLiteral("The hook")}});
  page.Text(QStringLiteral(
      "Walk into a pit's room and the warrior falls. Without the hook the game is lost. With "
      "the hook he climbs out and stands in the pit's room, but the hook stays behind: on "
      "levels 1 and 2 it lies somewhere in the dungeon again, on level 3 it is gone."));
  page.Text(QStringLiteral(
      "A blinking pit means one of the four doorways leads into a pit. Step back and try the "
      "room from another side."));
}

void Bats(Manual_Page& page) {
  page.Text(QStringLiteral(
      "Four bats live in the dungeon. Walk into a bat's room and it seizes the warrior, flies "
      "off with him and drops him in a room of its choosing, in another row and another "
      "column. The bat itself settles in another room."));
  page.Picture(Scene(page, {im_bat_4, im_warrior_4}, QString(), 1.6, QRect(196, 62, 56, 46)),
               QStringLiteral("Carried off!"));
  page.Text(QStringLiteral(
      "The bat does not care where it drops you: into an empty room, onto the arrow or the "
      "hook (which you pick up), into a pit, into another bat's claws, or before the "
      "dragon."));
  page.Text(QStringLiteral(
      "Bats also fly about. Every five seconds that you stand still, each bat may flutter "
      "into a neighbouring empty room; you hear their wings. A bat that flies into your room "
      "carries you off. Do not dawdle near a blinking bat."));
}

void Hook_And_Levels(Manual_Page& page) {
  page.Text(QStringLiteral("The three levels differ in the grappling hook:"));
  page.Row(QStringLiteral("Level 1"),
           QStringLiteral("You carry the hook from the start: its sign is lit."));
  page.Row(QStringLiteral("Level 2"),
           QStringLiteral("The hook lies hidden in the dungeon. A beep and the blinking hook "
                          "tell you it is near; walk into its room to pick it up."));
  page.Row(QStringLiteral("Level 3"), QStringLiteral("There is no hook. Every pit is deadly."));
  page.Pictures({{Segment_Tile(page, im_icon_hook, 1.6), QStringLiteral("You carry the hook")},
                 {Segment_Tile(page, im_hook, 1.2), QStringLiteral("The hook is near")}});
  page.Text(QStringLiteral(
      "The hook saves you from one pit. After that, on levels 1 and 2, it lies somewhere in "
      "the dungeon again, waiting to be found."));
}

void The_Arrow(Manual_Page& page) {
  page.Text(QStringLiteral(
      "There is one arrow in the dungeon, and you do not have it when you start. When it lies "
      "in a room next to you, you hear a beep and the arrow blinks."));
  page.Pictures({{Segment_Tile(page, im_arrow_1, 1.8), QStringLiteral("The arrow is near")},
                 {Segment_Tile(page, im_icon_arrow, 1.6), QStringLiteral("You carry the arrow")}});
  page.Text(QStringLiteral(
      "Walk into its room: the warrior picks it up with a happy sound, and the arrow's sign "
      "lights in the lower left corner of the screen. Only now can you shoot."));
  page.Picture(
      Scene(page, {im_maze, im_cursor_left, im_icon_arrow, im_icon_hook}, QStringLiteral("E4")),
      QStringLiteral("Room E4 with the arrow and the hook in hand."));
}

void Shooting(Manual_Page& page) {
  page.Text(QStringLiteral(
      "To slay the dragon, stand in a room <b>next to its room</b>, point the cursor at it and "
      "press <b>ATTACK</b>. The arrow flies across the screen."));
  const QRect flight(80, 86, 200, 124);
  constexpr qreal small = 0.76;
  page.Pictures({{Scene(page, {im_warrior_0, im_arrow_2, im_dragon}, QString(), 0.8, flight),
                  QStringLiteral("The shot")},
                 {Scene(page, {im_warrior_0, im_arrow_6}, QString(), 0.8, flight),
                  QStringLiteral("A hit!")}});
  page.Text(QStringLiteral("<b>A hit</b> slays the dragon: you have won."));
  page.Picture(Scene(page, {im_warrior_0, im_arrow_5}, QString(), small, flight),
               QStringLiteral("A miss: the arrow falls away."));
  page.Text(QStringLiteral(
      "<b>A miss</b> costs you the arrow: it falls somewhere in the dungeon, and the noise "
      "wakes the dragon, which moves to another room. Find the arrow again. Only the one room "
      "in the cursor's direction counts; a dragon two rooms away is out of reach."));
}

void The_Dragon(Manual_Page& page) {
  page.Text(QStringLiteral(
      "The dragon sleeps in its room and never leaves it, unless a missed arrow wakes it. "
      "When you arrive next to it, it roars four times and blinks."));
  page.Picture(Scene(page, {im_warrior_6, im_dragon}, QString(), 1.4, QRect(194, 106, 86, 76)),
               QStringLiteral("Never walk into the dragon's room."));
  page.Text(QStringLiteral(
      "Walking into the dragon's room ends the game at once, arrow or no arrow, hook or no "
      "hook. So when the dragon roars, stop and think: which of the four doorways leads to "
      "it?"));
  page.Heading(QStringLiteral("Finding the dragon's room"));
  page.Text(QStringLiteral(
      "Mark the room where it roared on the map. Step into a neighbouring room that the "
      "dragon cannot be in (one you came from is safe) and listen again: the rooms near "
      "<i>both</i> places narrow the search down. Remember that the dungeon wraps around."));
}

void Score_And_End(Manual_Page& page) {
  page.Text(QStringLiteral(
      "While the warrior stands still, the handheld counts the time: every five seconds of "
      "waiting adds a point to your <b>score</b>. Walking and the handheld's own animations "
      "do not count."));
  page.Heading(QStringLiteral("The game is lost"));
  page.Text(QStringLiteral(
      "when you fall into a pit without the hook, when you walk into the dragon's room, or "
      "when the score reaches <b>99</b>."));
  page.Heading(QStringLiteral("The game is won"));
  page.Text(QStringLiteral(
      "when your arrow hits the dragon. The panel then shows your score and your level in "
      "turn. The lower the score, the better you played."));
  const QRect panel(112, 128, 72, 52);
  page.Pictures(
      {{Scene(page, {}, QStringLiteral("07"), 1.0, panel), QStringLiteral("Score 7")},
       {Scene(page, {}, QStringLiteral("L2"), 1.0, panel), QStringLiteral("on level 2")},
       {Scene(page, {}, QStringLiteral("99"), 1.0, panel), QStringLiteral("Time is up")}});
  page.Heading(QStringLiteral("After the game"));
  page.Text(QStringLiteral(
      "Press <b>ATTACK</b> briefly to choose a level for a new game, or hold it down for five "
      "seconds to return to the demonstration."));
}

void Demo_And_Program(Manual_Page& page) {
  page.Text(QStringLiteral(
      "The <b>demonstration</b> shows the warrior walking, carried off by a bat, falling into "
      "a pit and meeting the dragon. It runs whenever no game is played; <b>ALL CLEAR</b> "
      "brings it back at any time."));
  page.Picture(Scene(page, {im_warrior_3, im_bat_3}, QString(), 1.0, QRect(104, 62, 170, 54)));
  page.Heading(QStringLiteral("The menu"));
  page.Text(QStringLiteral(
      "Right-click the handheld for the menu: <i>About</i> (F1), the <i>Readme</i> (F2) and "
      "<i>What's new</i> (F3), this <i>manual</i> (F4), the configuration file, the <i>key "
      "settings</i>, <i>full-screen mode</i> (F12), the splash screen, and <i>Exit</i> (Esc)."));
  page.Text(QStringLiteral(
      "In full-screen mode the handheld lies on a desk and the same commands are in the small "
      "menu at the top left of the screen. In a window, drag the handheld by its case or its "
      "screen to move it."));
  page.Heading(QStringLiteral("Turning these pages"));
  page.Text(QStringLiteral(
      "Use the arrows in the lower corners or the Left and Right keys; the cross or Esc closes "
      "the manual, which opens again at the same page."));
}

using Page_Fill = std::function<void(Manual_Page&)>;

const std::vector<std::pair<QString, Page_Fill>>& Inner_Pages() {
  static const std::vector<std::pair<QString, Page_Fill>> pages = {
      {QStringLiteral("The legend"), Story},
      {QStringLiteral("Your handheld"), Parts},
      {QStringLiteral("Buttons and keys"), Buttons},
      {QStringLiteral("Starting a game"), Starting},
      {QStringLiteral("The dungeon"), Dungeon},
      {QStringLiteral("Walking"), Walking},
      {QStringLiteral("Warnings"), Warnings},
      {QStringLiteral("Pits"), Pits},
      {QStringLiteral("Bats"), Bats},
      {QStringLiteral("The hook and the levels"), Hook_And_Levels},
      {QStringLiteral("The arrow"), The_Arrow},
      {QStringLiteral("Shooting"), Shooting},
      {QStringLiteral("The dragon"), The_Dragon},
      {QStringLiteral("Score, winning and losing"), Score_And_End},
      {QStringLiteral("Demonstration and menu"), Demo_And_Program},
  };
  return pages;
}

QString Scaled_Page_Name(int number, int scale, const char* suffix) {
  return QStringLiteral("%1@%2x.%3").arg(number).arg(scale).arg(QLatin1String(suffix));
}

} // namespace

Drawn_Page Draw_Manual_Page(int number, int scale) {
  if (number == 1) return {Cover(scale), {}, true};
  const auto& [title, fill] = Inner_Pages().at(static_cast<std::size_t>(number - 2));
  Manual_Page page(number, title, scale);
  fill(page);
  Drawn_Page drawn;
  drawn.Image = page.Finish(drawn.Fits);
  drawn.Captions = page.Caption_Rects();
  if (!drawn.Fits)
    std::fprintf(stderr, "manual page %d (%s) at %dx runs %d pixels past its bottom margin\n",
                 number, qPrintable(title), scale, qRound(page.Cursor_Y()) - Manual_Page::Bottom);
  return drawn;
}

Picture_Files Manual_Files(bool& all_fit) {
  all_fit = true;
  Picture_Files files;
  // The 1x pages are Windows bitmaps, as the viewer has always read them. The larger scales
  // are PNG, squeezed as hard as zlib goes: lossless, so that thin gold lines and the LCD's
  // pictures keep their colours.
  for (int scale : Scales)
    for (int number = 1; number <= Manual_Page_Count; ++number) {
      Drawn_Page page = Draw_Manual_Page(number, scale);
      all_fit &= page.Fits;
      if (scale == 1)
        files.push_back({QStringLiteral("Graphics/Manual/%1.bmp").arg(number), page.Image, "BMP"});
      else
        files.push_back(
            {QStringLiteral("Graphics/Manual/") + Scaled_Page_Name(number, scale, "png"),
             page.Image, "PNG", 0});
    }
  return files;
}

QStringList Stale_Manual_Files(const QString& game_dir) {
  QStringList stale;
  for (int scale : Scales)
    for (int number = 1; scale > 1 && number <= Manual_Page_Count; ++number)
      for (const char* suffix : {"jpg", "bmp"}) {
        const QString path = game_dir + QStringLiteral("/Graphics/Manual/") +
                             Scaled_Page_Name(number, scale, suffix);
        if (QFileInfo::exists(path)) stale << path;
      }
  return stale;
}

} // namespace Art
