#include "side_pictures.h"

#include "contact_sheet.h"
#include "lcd_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

namespace Art {

namespace {

constexpr int Splash_Width = 460, Splash_Height = 420;
constexpr int Band_Top = 56, Band_Height = 160; // the blue band behind the box
constexpr int Top_Band = 52, Bottom_Band = 40;

// The blue band, drawn once for the background and again behind the box picture, so the two
// meet without a seam.
QImage Blue_Band(int scale) {
  QImage band = Canvas(QSize(Splash_Width, Band_Height), scale, QImage::Format_RGB32);
  const QRect area(0, 0, Splash_Width, Band_Height);
  QPainter p(&band);
  QLinearGradient fill(0, 0, 0, Band_Height);
  fill.setColorAt(0, QColor(44, 104, 176));
  fill.setColorAt(1, QColor(24, 70, 132));
  p.fillRect(area, fill);
  QRadialGradient glow(QPointF(Splash_Width / 2.0, Band_Height * 0.55), Splash_Width * 0.42);
  glow.setColorAt(0, QColor(255, 255, 255, 46));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(area, glow);
  return band;
}

QImage Splash_Background(int scale) {
  QImage image = Canvas(QSize(Splash_Width, Splash_Height), scale, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  QLinearGradient navy(0, 0, 0, Top_Band);
  navy.setColorAt(0, Navy.darker(115));
  navy.setColorAt(1, Navy);
  p.fillRect(0, 0, Splash_Width, Top_Band, navy);
  p.fillRect(0, Top_Band - 2, Splash_Width, 2, Print_Gold);
  p.drawImage(0, Band_Top, Blue_Band(scale));
  p.fillRect(0, Splash_Height - Bottom_Band, Splash_Width, Bottom_Band, Navy);
  p.fillRect(0, Splash_Height - Bottom_Band, Splash_Width, 2, Print_Gold);
  return image;
}

// The box's front, drawn flat; it is put into perspective afterwards.
QImage Box_Front(QSize size) {
  QImage front(size, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&front);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const qreal w = size.width(), h = size.height();
  QLinearGradient night(0, 0, 0, h);
  night.setColorAt(0, QColor(14, 18, 40));
  night.setColorAt(1, QColor(40, 14, 20));
  p.fillRect(front.rect(), night);
  // The dragon looming behind the title.
  const QImage dragon = Segment_Shape(im_dragon, h * 0.7 / 38.0, QColor(150, 40, 24, 170));
  p.drawImage(QPointF(w - dragon.width() * 0.95, h * 0.08), dragon);
  // Brand flash and title.
  p.fillRect(QRectF(0, h * 0.05, w * 0.5, h * 0.09), QColor(198, 38, 34));
  p.setPen(Qt::white);
  p.setFont(Sans(qRound(h * 0.065), true));
  p.drawText(QRectF(w * 0.04, h * 0.05, w * 0.5, h * 0.09), Qt::AlignVCenter,
             QStringLiteral("BRENNICOR"));
  QPainterPath title;
  const QFont title_font = Serif(qRound(h * 0.2), true, true);
  title.addText(QPointF(w * 0.05, h * 0.36), title_font, QStringLiteral("Grathmoor"));
  QLinearGradient gold(0, h * 0.2, 0, h * 0.38);
  gold.setColorAt(0, QColor(255, 232, 156));
  gold.setColorAt(0.5, Print_Gold);
  gold.setColorAt(1, QColor(178, 114, 36));
  p.setPen(QPen(QColor(60, 30, 6), h * 0.008));
  p.setBrush(gold);
  p.drawPath(title);
  // The handheld itself.
  const QImage hand = Lit_Handheld();
  const qreal hand_w = w * 0.72;
  p.drawImage(QRectF(w * 0.06, h * 0.42, hand_w, hand_w * hand.height() / hand.width()), hand);
  // Series stripe.
  p.fillRect(QRectF(0, h * 0.86, w, h * 0.14), Print_Gold);
  p.setPen(QColor(40, 20, 6));
  p.setFont(Sans(qRound(h * 0.06), true));
  p.drawText(QRectF(0, h * 0.86, w, h * 0.14), Qt::AlignCenter,
             QStringLiteral("ZEPHYRINE SERIES \u00b7 LCD GAME"));
  return front;
}

QImage Box_Picture(int scale) {
  // The product box standing on the blue band, seen from a little above and to the right.
  QImage image = Logical_Copy(Blue_Band(scale),
                              QRect((Splash_Width - 220) / 2, (Band_Height - 143) / 2, 220, 143));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QPointF a(34, 28), b(150, 20), c(150, 132), d(34, 138); // front
  const QPointF depth(34, -9);
  // Shadow on the ground.
  QRadialGradient shadow(QPointF(104, 136), 90);
  shadow.setColorAt(0, QColor(0, 0, 0, 110));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(shadow);
  p.drawEllipse(QPointF(108, 136), 92, 8);

  const QImage front = Box_Front(QSize(464, 472));
  QTransform to_front;
  const QPolygonF flat({QPointF(0, 0), QPointF(front.width(), 0),
                        QPointF(front.width(), front.height()), QPointF(0, front.height())});
  QTransform::quadToQuad(flat, QPolygonF({a, b, c, d}), to_front);
  p.save();
  p.setTransform(to_front);
  p.drawImage(0, 0, front);
  p.restore();
  // Side and top, in the box's colours, shaded.
  QLinearGradient side(b, b + depth);
  side.setColorAt(0, QColor(120, 26, 22));
  side.setColorAt(1, QColor(70, 14, 14));
  p.setBrush(side);
  p.drawPolygon(QPolygonF({b, b + depth, c + depth, c}));
  p.setPen(Print_Gold);
  p.setFont(Sans(9, true));
  p.save();
  p.translate((b + c) / 2 + depth / 2);
  p.rotate(90);
  p.drawText(QRectF(-50, -8, 100, 16), Qt::AlignCenter, QStringLiteral("GRATHMOOR"));
  p.restore();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(36, 24, 40));
  p.drawPolygon(QPolygonF({a, a + depth, b + depth, b}));
  p.setPen(QPen(QColor(255, 255, 255, 70), 0.8));
  p.drawLine(a, b);
  p.drawLine(b, c);
  p.end();
  return image;
}

QImage Pill_Button(QColor top, QColor bottom, QColor border, const QString& text,
                   QColor text_colour, bool with_triangle, int scale) {
  QImage button = Canvas(QSize(107, 30), scale);
  button.fill(Qt::transparent);
  QPainter p(&button);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(0.5, 0.5, 106, 29);
  QLinearGradient fill(0, 0, 0, 30);
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  p.setPen(QPen(border, 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(body, 8, 8);
  QLinearGradient gloss(0, 0, 0, 15);
  gloss.setColorAt(0, QColor(255, 255, 255, 90));
  gloss.setColorAt(1, QColor(255, 255, 255, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(QRectF(2, 1.5, 103, 13), 7, 6);
  QFont font = Sans(15, true);
  p.setFont(font);
  const qreal text_width = QFontMetricsF(font).horizontalAdvance(text);
  qreal x = (107 - text_width) / 2;
  if (with_triangle) {
    x += 7;
    p.setBrush(text_colour);
    p.drawPolygon(QPolygonF({QPointF(x - 16, 9.5), QPointF(x - 6, 15), QPointF(x - 16, 20.5)}));
  }
  p.setPen(QColor(0, 0, 0, 60));
  p.drawText(QPointF(x, 21), text);
  p.setPen(text_colour);
  p.drawText(QPointF(x, 20), text);
  p.end();
  return button.convertToFormat(QImage::Format_ARGB32);
}

QImage Portrait(int scale) {
  // The maker, drawn: a friendly head and shoulders against a soft studio backdrop.
  QImage image = Canvas(QSize(116, 160), scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient back(QPointF(58, 60), 110);
  back.setColorAt(0, QColor(120, 150, 186));
  back.setColorAt(1, QColor(30, 52, 86));
  p.fillRect(QRect(0, 0, 116, 160), back);

  const QColor skin(232, 186, 150), skin_shade(196, 142, 110), hair(74, 48, 30);
  // Shoulders in a dark green jumper, with a shirt collar.
  QPainterPath body(QPointF(2, 160));
  body.cubicTo(4, 128, 24, 118, 44, 112);
  body.lineTo(72, 112);
  body.cubicTo(92, 118, 112, 128, 114, 160);
  body.closeSubpath();
  QLinearGradient jumper(0, 112, 0, 160);
  jumper.setColorAt(0, QColor(58, 96, 70));
  jumper.setColorAt(1, QColor(30, 56, 40));
  p.setPen(Qt::NoPen);
  p.fillPath(body, jumper);
  // Neck.
  p.setBrush(skin_shade);
  p.drawRect(QRectF(47, 92, 22, 24));
  p.setBrush(Qt::white);
  p.drawPolygon(
      QPolygonF({QPointF(44, 112), QPointF(58, 124), QPointF(50, 128), QPointF(40, 114)}));
  p.drawPolygon(
      QPolygonF({QPointF(72, 112), QPointF(58, 124), QPointF(66, 128), QPointF(76, 114)}));
  // Ears and face.
  p.setBrush(skin_shade);
  p.drawEllipse(QPointF(32, 70), 5, 8);
  p.drawEllipse(QPointF(84, 70), 5, 8);
  QRadialGradient face_fill(QPointF(52, 58), 40);
  face_fill.setColorAt(0, skin.lighter(106));
  face_fill.setColorAt(1, skin_shade);
  p.setBrush(face_fill);
  QPainterPath face;
  face.moveTo(32, 56);
  face.cubicTo(32, 30, 84, 30, 84, 56);
  face.cubicTo(84, 86, 72, 102, 58, 102);
  face.cubicTo(44, 102, 32, 86, 32, 56);
  p.drawPath(face);
  // Hair, short, parted.
  QPainterPath hair_path;
  hair_path.moveTo(30, 64);
  hair_path.cubicTo(24, 30, 46, 20, 62, 22);
  hair_path.cubicTo(82, 22, 92, 38, 86, 64);
  hair_path.cubicTo(84, 50, 80, 44, 74, 42);
  hair_path.cubicTo(62, 46, 46, 40, 40, 44);
  hair_path.cubicTo(34, 48, 33, 56, 30, 64);
  p.setBrush(hair);
  p.drawPath(hair_path);
  // Brows, eyes behind round glasses, nose and smile.
  p.setPen(QPen(hair, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(40, 56), QPointF(51, 54.5));
  p.drawLine(QPointF(65, 54.5), QPointF(76, 56));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 40, 36));
  p.drawEllipse(QPointF(46, 64), 2.4, 2.6);
  p.drawEllipse(QPointF(70, 64), 2.4, 2.6);
  p.setPen(QPen(QColor(40, 40, 44), 1.6));
  p.setBrush(QColor(255, 255, 255, 30));
  p.drawEllipse(QPointF(46, 64), 9, 8);
  p.drawEllipse(QPointF(70, 64), 9, 8);
  p.drawLine(QPointF(55, 63), QPointF(61, 63));
  p.setPen(QPen(skin_shade.darker(115), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(58, 68), QPointF(55, 79));
  p.drawLine(QPointF(55, 79), QPointF(59, 80));
  p.setPen(QPen(QColor(150, 70, 60), 2.0, Qt::SolidLine, Qt::RoundCap));
  QPainterPath smile(QPointF(48, 87));
  smile.quadTo(58, 94, 68, 87);
  p.setBrush(Qt::NoBrush);
  p.drawPath(smile);
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

enum class Sign { Left, Right, Close };

QImage Page_Button(Sign sign, bool pressed, int scale) {
  // A small raised blue square; pressed, it is sunk and its sign moves with it.
  QImage button = Canvas(QSize(16, 14), scale);
  QPainter p(&button);
  const QColor face = pressed ? QColor(36, 78, 150) : QColor(58, 112, 196);
  p.fillRect(QRect(0, 0, 16, 14), face);
  const QColor light = pressed ? QColor(18, 40, 84) : QColor(168, 200, 244);
  const QColor dark = pressed ? QColor(150, 184, 232) : QColor(18, 40, 84);
  p.fillRect(0, 0, 16, 1, light);
  p.fillRect(0, 0, 1, 14, light);
  p.fillRect(0, 13, 16, 1, dark);
  p.fillRect(15, 0, 1, 14, dark);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(pressed ? 1 : 0, pressed ? 1 : 0);
  p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  switch (sign) {
  case Sign::Left:
    p.drawPolyline(QPolygonF({QPointF(9.5, 3.5), QPointF(5.5, 7), QPointF(9.5, 10.5)}));
    break;
  case Sign::Right:
    p.drawPolyline(QPolygonF({QPointF(6, 3.5), QPointF(10, 7), QPointF(6, 10.5)}));
    break;
  case Sign::Close:
    p.drawLine(QPointF(4.5, 3.5), QPointF(11, 10));
    p.drawLine(QPointF(11, 3.5), QPointF(4.5, 10));
    break;
  }
  p.end();
  return button.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Picture_Files Side_Window_Files() {
  Picture_Files files;
  for (int scale : Scales) {
    // Bands and a gradient: the program enlarges the one drawn at 1x.
    if (scale == 1)
      files.push_back({QStringLiteral("splash/background.png"), Splash_Background(scale)});
    const Picture_Files pictures = {
        {QStringLiteral("splash/box.jpg"), Box_Picture(scale), "JPEG", 92},
        {QStringLiteral("splash/play.png"),
         Pill_Button(QColor(46, 96, 182), QColor(14, 44, 106), QColor(8, 28, 70),
                     QStringLiteral("Play"), Qt::white, true, scale)},
        {QStringLiteral("splash/play_disabled.png"),
         Pill_Button(QColor(196, 198, 202), QColor(142, 146, 152), QColor(112, 116, 122),
                     QStringLiteral("Play"), QColor(236, 236, 238), true, scale)},
        {QStringLiteral("splash/donate.png"),
         Pill_Button(QColor(255, 204, 92), QColor(240, 146, 24), QColor(196, 110, 10),
                     QStringLiteral("Donate"), QColor(20, 44, 96), false, scale)},
        {QStringLiteral("about/portrait.png"), Portrait(scale)},
    };
    for (Picture_File file : pictures) {
      file.Path = Scaled_File_Name(file.Path, scale);
      files.push_back(std::move(file));
    }
    for (const auto& [name, sign] : {std::pair{"left", Sign::Left}, std::pair{"right", Sign::Right},
                                     std::pair{"close", Sign::Close}})
      for (bool pressed : {false, true})
        files.push_back(
            {Scaled_File_Name(QStringLiteral("manual/%1_%2.png")
                                  .arg(QLatin1String(name),
                                       pressed ? QStringLiteral("down") : QStringLiteral("up")),
                              scale),
             Page_Button(sign, pressed, scale)});
  }
  return files;
}

} // namespace Art
