#include "handheld.h"

#include "art_style.h"
#include "lcd_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <array>
#include <cmath>
#include <vector>

namespace Art {

namespace {

const int Width = Default_Client_Size().width(), Height = Default_Client_Size().height();
// The case inside its picture: a little room is left below and to the sides for the shadow it
// casts where it touches the desk.
const QRectF Case_Rect(2, 1, Width - 4, Height - 5);

QPainterPath Case_Outline() {
  QPainterPath path;
  path.addRoundedRect(Case_Rect, 30, 30);
  return path;
}

void Paint_Case(QPainter& p) {
  const QPainterPath outline = Case_Outline();
  QLinearGradient body(0, 0, 0, Height);
  body.setColorAt(0.0, Case_Light);
  body.setColorAt(0.35, QColor(44, 47, 53));
  body.setColorAt(1.0, Case_Dark);
  p.fillPath(outline, body);
  // A broad soft highlight along the top left of the face, where the room's light falls: an
  // ellipse stretched along the top edge, fading out long before the buttons.
  QRadialGradient sheen(QPointF(0, 0), 1.0);
  sheen.setColorAt(0.0, QColor(255, 255, 255, 40));
  sheen.setColorAt(0.5, QColor(255, 255, 255, 16));
  sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
  QBrush sheen_brush(sheen);
  sheen_brush.setTransform(QTransform::fromTranslate(Width * 0.22, Height * 0.06).scale(300, 150));
  p.fillPath(outline, sheen_brush);
  // Bevelled rim: lit from the top left.
  QLinearGradient rim(0, 0, Width, Height);
  rim.setColorAt(0.0, QColor(255, 255, 255, 90));
  rim.setColorAt(0.5, QColor(255, 255, 255, 20));
  rim.setColorAt(1.0, QColor(0, 0, 0, 140));
  p.setPen(QPen(QBrush(rim), 4));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);
  // The seam between the front plate and the back shell.
  p.setPen(QPen(QColor(0, 0, 0, 110), 1.2));
  p.drawRoundedRect(Case_Rect.adjusted(6.5, 6.5, -6.5, -6.5), 25, 25);
  p.setPen(QPen(QColor(255, 255, 255, 22), 1.0));
  p.drawRoundedRect(Case_Rect.adjusted(7.8, 7.8, -7.8, -7.8), 24, 24);
}

// Text printed on the plastic, centred on a point.
void Print(QPainter& p, const QString& text, QPointF centre, const QFont& font, QColor colour,
           qreal spacing = 0) {
  QFont f = font;
  if (spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  p.setFont(f);
  p.setPen(colour);
  const QRectF box(centre.x() - 200, centre.y() - 30, 400, 60);
  p.drawText(box, Qt::AlignCenter, text);
}

void Paint_Bezel(QPainter& p) {
  const QRect glass = Built_In_Rect(im_background_screen_top);
  const QRectF bezel = QRectF(glass).adjusted(-30, -38, 30, 30);
  // The recessed panel around the LCD.
  QLinearGradient fill(bezel.topLeft(), bezel.bottomLeft());
  fill.setColorAt(0, QColor(18, 19, 22));
  fill.setColorAt(1, QColor(30, 32, 36));
  QPainterPath panel;
  panel.addRoundedRect(bezel, 14, 14);
  p.fillPath(panel, fill);
  p.setPen(QPen(QColor(0, 0, 0, 160), 1.5));
  p.drawPath(panel.translated(0, -0.5));
  p.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
  p.drawPath(panel.translated(0, 1.0));
  // Gold pinstripe.
  p.setPen(QPen(QColor(Print_Gold.red(), Print_Gold.green(), Print_Gold.blue(), 150), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(bezel.adjusted(6, 6, -6, -6), 9, 9);

  Print(p, QStringLiteral("LEVEL 1 \u00b7 2 \u00b7 3"), {bezel.left() + 58, bezel.top() + 20},
        Sans(8, true), QColor(150, 156, 164), 1.0);
  Print(p, QStringLiteral("LIQUID CRYSTAL DISPLAY"), {bezel.right() - 78, bezel.top() + 20},
        Sans(8), QColor(150, 156, 164), 1.0);
  Print(p, QStringLiteral("ELECTRONIC  DUNGEON  ADVENTURE"),
        {bezel.center().x(), bezel.bottom() - 15}, Sans(9, true), Print_Gold, 1.4);

  // The window's cut edge, then the LCD itself.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(8, 9, 10));
  p.drawRoundedRect(QRectF(glass).adjusted(-4, -4, 4, 4), 4, 4);
}

// The moulded plastic's fine grain: every device pixel one level lighter or darker (1 to 2 %
// of the dark plastic's brightness), the same on every build. It is drawn at the picture's own
// resolution, so it stays as fine at 3x as at 1x instead of growing into blocks. Each row's
// grain repeats every few hundred device pixels, which no eye finds at one level but which
// lets the PNG's compression find it: random grain would double the skin's size.
void Grain_Plastic(QImage& art) {
  constexpr int period = 241;
  QRandomGenerator grain(5281u + static_cast<quint32>(Scale_Of(art)));
  std::array<int, period> row{};
  for (int y = 0; y < art.height(); ++y) {
    for (int& d : row)
      d = grain.bounded(2) == 0 ? -1 : 1;
    auto* line = reinterpret_cast<QRgb*>(art.scanLine(y));
    for (int x = 0; x < art.width(); ++x) {
      const int d = row[static_cast<std::size_t>(x % period)];
      const QRgb c = line[x];
      line[x] = qRgba(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                      std::clamp(qBlue(c) + d, 0, 255), qAlpha(c));
    }
  }
}

void Paint_Lcd(QPainter& p, Surface surface) {
  p.drawImage(Built_In_Rect(im_background_screen_top).topLeft(),
              Draw_Lcd_Screen(Scale_Of(p), surface));
}

void Paint_Title(QPainter& p) {
  const qreal cx = 414;
  Print(p, QStringLiteral("BRENNICOR"), {cx, 34}, Sans(11, true), Print_Silver, 3.0);
  // The title printed flat in metallic gold ink: no drop shadow, no outline; the ink's sheen
  // changes only slowly across the letters.
  QFont title = Serif(41, true, true);
  QPainterPath text;
  const QString name = QStringLiteral("Grathmoor");
  const qreal width = QFontMetricsF(title).horizontalAdvance(name);
  text.addText(QPointF(cx - width / 2, 86), title, name);
  QLinearGradient gold(cx - width / 2, 54, cx + width / 2, 90);
  gold.setColorAt(0.0, QColor(236, 192, 98));
  gold.setColorAt(0.5, Print_Gold);
  gold.setColorAt(1.0, QColor(198, 148, 58));
  p.setPen(Qt::NoPen);
  p.setBrush(gold);
  p.drawPath(text);

  p.setPen(QPen(Print_Gold, 1.0));
  p.drawLine(QPointF(cx - 92, 105), QPointF(cx - 56, 105));
  p.drawLine(QPointF(cx + 56, 105), QPointF(cx + 92, 105));
  Print(p, QStringLiteral("ZEPHYRINE SERIES"), {cx, 105}, Sans(9, true), Print_Gold, 1.6);
}

void Paint_Map(QPainter& p) {
  // A printed map of the dungeon's rows A-J and columns 0-9, for the player's own notes.
  constexpr qreal left = 346, top = 128, cell = 10;
  p.setPen(QPen(QColor(160, 166, 176, 90), 0.8));
  for (int i = 0; i <= 10; ++i) {
    p.drawLine(QPointF(left, top + i * cell), QPointF(left + 10 * cell, top + i * cell));
    p.drawLine(QPointF(left + i * cell, top), QPointF(left + i * cell, top + 10 * cell));
  }
  p.setPen(QPen(QColor(190, 196, 204, 170), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(left, top, 10 * cell, 10 * cell));
  for (int i = 0; i < 10; ++i) {
    Print(p, QString(QChar('A' + i)), {left - 7, top + (i + 0.5) * cell}, Sans(8, true),
          QColor(170, 176, 186));
    Print(p, QString::number(i), {left + (i + 0.5) * cell, top - 6}, Sans(8, true),
          QColor(170, 176, 186));
  }
  Print(p, QStringLiteral("DUNGEON MAP"), {left + 5 * cell, top + 10 * cell + 10}, Sans(8, true),
        QColor(150, 156, 166), 1.5);
}

void Paint_Speaker(QPainter& p) {
  // Holes drilled into the plastic, lit from above: the rim above each hole is in shade, the
  // lip below it catches the light, and inside, the far wall is a little less dark.
  constexpr qreal radius = 2.5;
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 6; ++col) {
      const QPointF c(444 + col * 11 + (row % 2) * 5.5, 270 + row * 11);
      p.setBrush(QColor(255, 255, 255, 46));
      p.drawEllipse(c + QPointF(0, 0.7), radius + 0.2, radius + 0.2);
      p.setBrush(QColor(0, 0, 0, 70));
      p.drawEllipse(c + QPointF(0, -0.5), radius + 0.3, radius + 0.3);
      QLinearGradient inside(c.x(), c.y() - radius, c.x(), c.y() + radius);
      inside.setColorAt(0.0, QColor(2, 2, 3));
      inside.setColorAt(0.6, QColor(6, 6, 8));
      inside.setColorAt(1.0, QColor(24, 25, 29));
      p.setBrush(inside);
      p.drawEllipse(c, radius, radius);
    }
}

struct Button_Look {
  Element_Id Area;
  QString Label;
  QColor Cap;
};

const std::array<Button_Look, 4>& Buttons() {
  static const std::array<Button_Look, 4> buttons = {{
      {btn_cursor_top, QStringLiteral("CURSOR"), QColor(226, 146, 38)},
      {btn_attack_top, QStringLiteral("ATTACK"), QColor(198, 38, 34)},
      {btn_acl_top, QStringLiteral("ALL CLEAR"), QColor(128, 132, 140)},
      {btn_move_top, QStringLiteral("MOVE"), QColor(226, 146, 38)},
  }};
  return buttons;
}

QPainterPath Rounded(const QRectF& r) {
  QPainterPath path;
  const qreal radius = std::min(r.width(), r.height()) / 2;
  path.addRoundedRect(r, radius, radius);
  return path;
}

void Paint_Button(QPainter& p, const Button_Look& look, Button_State state) {
  const QRectF area = QRectF(Built_In_Rect(look.Area));
  const bool pressed = state == Button_State::Pressed;
  const bool small = area.width() < 30;
  // The well in the plastic.
  const QRectF well = area.adjusted(1, 1, -1, -1);
  QLinearGradient well_fill(well.topLeft(), well.bottomLeft());
  well_fill.setColorAt(0, QColor(6, 6, 8));
  well_fill.setColorAt(1, QColor(24, 25, 28));
  p.fillPath(Rounded(well), well_fill);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(Rounded(well.adjusted(-0.5, 0.5, 0.5, 1.0)));

  // The cap sinks into the well when pressed.
  const qreal inset = small ? 3.0 : 4.5;
  QRectF cap = well.adjusted(inset, inset - 1.5, -inset, -inset - 0.5);
  if (pressed) cap = cap.adjusted(0.8, 2.2, -0.8, 1.2);
  if (!pressed) p.fillPath(Rounded(cap.translated(0, 2.5)), QColor(0, 0, 0, 150));
  const QColor base = pressed ? look.Cap.darker(135) : look.Cap;
  // Semi-matte plastic: the light spreads over the cap in a gentle slope instead of a mirror.
  QLinearGradient cap_fill(cap.topLeft(), cap.bottomLeft());
  cap_fill.setColorAt(0.0, base.lighter(pressed ? 106 : 116));
  cap_fill.setColorAt(0.6, base);
  cap_fill.setColorAt(1.0, base.darker(135));
  p.fillPath(Rounded(cap), cap_fill);
  // The light's small soft spot towards the top left of the cap, and the catch along its upper
  // edge; dimmer when pressed, as the cap tilts out of the light.
  const qreal spot = std::min(cap.width(), cap.height()) * 0.32;
  QRadialGradient highlight(cap.topLeft() + QPointF(cap.width() * 0.3, cap.height() * 0.3), spot);
  highlight.setColorAt(0, QColor(255, 255, 255, pressed ? 22 : 60));
  highlight.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillPath(Rounded(cap), highlight);
  p.setPen(QPen(QColor(255, 255, 255, pressed ? 18 : 44), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(Rounded(cap.adjusted(0.6, 0.6, -0.6, -0.6)).intersected([&] {
    QPainterPath upper;
    upper.addRect(cap.adjusted(-1, -1, 1, -cap.height() * 0.55));
    return upper;
  }()));
  p.setPen(QPen(base.darker(220), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(Rounded(cap));
}

void Paint_Button_Labels(QPainter& p) {
  // The names stand on one printed line across the face, whatever the height of the button
  // below each: the line just clears the tallest button.
  qreal baseline = Height;
  for (const Button_Look& look : Buttons())
    baseline = std::min<qreal>(baseline, Built_In_Rect(look.Area).top() - 7);
  for (const Button_Look& look : Buttons()) {
    const QRectF area = QRectF(Built_In_Rect(look.Area));
    const bool small = area.width() < 30;
    QFont font = Sans(small ? 9 : 11, true);
    constexpr qreal spacing = 1.2;
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    // The advance ends with one letter space after the last letter, which is not ink.
    const qreal width = QFontMetricsF(font).horizontalAdvance(look.Label) - spacing;
    p.setFont(font);
    p.setPen(QColor(226, 230, 236));
    p.drawText(QPointF(area.center().x() - width / 2, baseline - 4), look.Label);
    // A short dash in the button's colour under its name.
    p.setPen(QPen(look.Cap, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(area.center().x() - 7, baseline), QPointF(area.center().x() + 7, baseline));
  }
}

} // namespace

QImage Draw_Handheld(Button_State buttons, int scale, Surface surface) {
  // Everything is drawn smooth on an opaque ground of case colour; the outline is then cut out
  // of it, so no pixel is blended towards another colour.
  const QSize size(Width, Height);
  QImage art = Canvas(size, scale);
  art.fill(Case_Dark);
  {
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    Paint_Case(p);
    Paint_Bezel(p);
  }
  // The grain lies in the plastic; what is set into it or printed on it comes after.
  if (surface == Surface::Grained) Grain_Plastic(art);
  {
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Paint_Lcd(p, surface);
    Paint_Title(p);
    Paint_Map(p);
    Paint_Speaker(p);
    for (const Button_Look& look : Buttons())
      Paint_Button(p, look, buttons);
    Paint_Button_Labels(p);
  }

  // The outline anti-aliased at the picture's own pixels, over the soft shadow the case casts
  // where it touches the desk: the light comes from the top left. Where the desktop cannot blend
  // (X11 without a compositor), what is covered half or more is the case and the rest, the
  // shadow too, is left out, which gives the hard edge of old.
  const auto mask = [&](QPointF offset) {
    QImage m = Canvas(size, scale, QImage::Format_Grayscale8);
    m.fill(0);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(Case_Outline().translated(offset), Qt::white);
    return m;
  };
  const QImage inside = mask({});
  QImage shadow = mask({0.6, 1.5});
  Blur(shadow, std::max(1, qRound(1.2 * scale)));
  QImage out = Canvas(size, scale, QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(art.constScanLine(y));
    const uchar* case_cover = inside.constScanLine(y);
    const uchar* shade = shadow.constScanLine(y);
    auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const int cover = case_cover[x];
      const int dark = shade[x] * 100 / 255; // the shadow at its deepest, under the edge
      const int alpha = cover + dark * (255 - cover) / 255;
      const auto tone = [&](int c) { return alpha == 0 ? 0 : c * cover / alpha; };
      o[x] = qRgba(tone(qRed(a[x])), tone(qGreen(a[x])), tone(qBlue(a[x])), alpha);
    }
  }
  return out;
}

QImage Draw_Lcd_Screen(int scale, Surface surface) {
  const QRect glass = Built_In_Rect(im_background_screen_top);
  const QRect area(QPoint(0, 0), glass.size());
  QImage lcd = Canvas(glass.size(), scale);
  {
    QPainter l(&lcd);
    QLinearGradient ground(0, 0, glass.width(), glass.height());
    ground.setColorAt(0, Lcd_Light);
    ground.setColorAt(1, Lcd_Dark);
    l.fillRect(area, ground);
  }
  // The reflector's fine grain, the same on every build and at every scale: one grain to each
  // logical pixel.
  QRandomGenerator grain(1984);
  std::vector<int> row(static_cast<std::size_t>(area.width()));
  for (int y = 0; surface == Surface::Grained && y < lcd.height(); ++y) {
    if (y % scale == 0)
      for (int& d : row)
        d = static_cast<int>(grain.bounded(7)) - 3;
    auto* line = reinterpret_cast<QRgb*>(lcd.scanLine(y));
    for (int x = 0; x < lcd.width(); ++x) {
      const int d = row[static_cast<std::size_t>(x / scale)];
      const QRgb c = line[x];
      line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                     std::clamp(qBlue(c) + d, 0, 255));
    }
  }
  {
    QPainter l(&lcd);
    // Darker towards the edges, as the polariser is seen at a slant there.
    QRadialGradient vignette(QPointF(area.width() * 0.45, area.height() * 0.4),
                             area.width() * 0.75);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 40));
    l.fillRect(area, vignette);
    // Every segment is faintly visible when unlit, like a watermark: barely in the middle of
    // the glass, most where the polariser is seen at a slant, towards its edges.
    QImage ghosts = Canvas(glass.size(), scale);
    ghosts.fill(Qt::transparent);
    QPainter g(&ghosts);
    for (int i = 0; i < Element_Count; ++i) {
      const auto id = static_cast<Element_Id>(i);
      if (!Is_Lcd_Segment(id) || Is_Glyph(id)) continue;
      Paint_Ghost(g, id, Built_In_Rect(id).topLeft() - glass.topLeft());
    }
    for (int position = 0; position < 2; ++position) {
      const Element_Id eight = position == 0 ? Panel_1_Digits[8] : Panel_2_Digits[8];
      Paint_Ghost(g, eight, Built_In_Rect(Panel_Positions[position]).topLeft() - glass.topLeft());
    }
    const QPointF middle(area.width() / 2.0, area.height() / 2.0);
    QRadialGradient fade(middle, std::hypot(middle.x(), middle.y()));
    fade.setColorAt(0.0, QColor(0, 0, 0, 5));
    fade.setColorAt(0.45, QColor(0, 0, 0, 6));
    fade.setColorAt(1.0, QColor(0, 0, 0, 13));
    g.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    g.fillRect(area, fade);
    g.end();
    l.drawImage(0, 0, ghosts);
  }
  return lcd;
}

QImage Draw_Screen_Glass(int scale) {
  const QSize size = Built_In_Rect(im_background_screen_top).size();
  QImage glass = Canvas(size, scale);
  glass.fill(Qt::transparent);
  QPainter p(&glass);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = size.width(), h = size.height();
  // The bezel's shadow falls on the LCD at the top and left.
  QLinearGradient top_shadow(0, 0, 0, 7);
  top_shadow.setColorAt(0, QColor(0, 0, 0, 90));
  top_shadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(0, 0, w, 7), top_shadow);
  QLinearGradient left_shadow(0, 0, 5, 0);
  left_shadow.setColorAt(0, QColor(0, 0, 0, 70));
  left_shadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(0, 0, 5, h), left_shadow);
  // Thin frame: dark edge, light catch along the bottom and right.
  p.setPen(QPen(QColor(0, 0, 0, 150), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  p.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
  p.drawLine(QPointF(1.5, h - 1.5), QPointF(w - 1.5, h - 1.5));
  p.drawLine(QPointF(w - 1.5, 1.5), QPointF(w - 1.5, h - 1.5));
  // A faint diagonal reflection across the upper left of the glass.
  QPainterPath band;
  band.moveTo(0, h * 0.62);
  band.lineTo(w * 0.58, 0);
  band.lineTo(w * 0.78, 0);
  band.lineTo(0, h * 0.86);
  band.closeSubpath();
  QLinearGradient band_fill(QPointF(0, 0), QPointF(w * 0.5, h * 0.5));
  band_fill.setColorAt(0.0, QColor(255, 255, 255, 30));
  band_fill.setColorAt(1.0, QColor(255, 255, 255, 6));
  p.fillPath(band, band_fill);
  QPainterPath streak;
  streak.moveTo(0, h * 0.40);
  streak.lineTo(w * 0.37, 0);
  streak.lineTo(w * 0.41, 0);
  streak.lineTo(0, h * 0.45);
  streak.closeSubpath();
  p.fillPath(streak, QColor(255, 255, 255, 16));
  p.end();
  return glass.convertToFormat(QImage::Format_ARGB32);
}

QImage Pressed_Button(const QImage& pressed_handheld, Element_Id button_down) {
  return Logical_Copy(pressed_handheld, Built_In_Rect(button_down));
}

} // namespace Art
