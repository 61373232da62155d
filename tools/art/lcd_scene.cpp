#include "lcd_scene.h"

#include "handheld.h"
#include "lcd_art.h"

#include <QPainter>
#include <algorithm>

namespace Art {

namespace {

// The glyph a panel position uses for a character; G and I borrow 6 and 1 as on the handheld.
std::optional<Element_Id> Glyph_For(int position, QChar c) {
  const char ch = c.toUpper().toLatin1();
  if (ch >= '0' && ch <= '9')
    return position == 0 ? Panel_1_Digits[static_cast<std::size_t>(ch - '0')]
                         : Panel_2_Digits[static_cast<std::size_t>(ch - '0')];
  if (position != 0) return std::nullopt;
  if (ch >= 'A' && ch <= 'J') return Panel_1_Letters[static_cast<std::size_t>(ch - 'A')];
  if (ch == 'L') return Panel_1_Letters[10];
  return std::nullopt;
}

} // namespace

QImage Lcd_Scene(std::vector<Element_Id> lit, const QString& panel, int scale, Surface surface) {
  const QPoint origin = Built_In_Rect(im_background_screen_top).topLeft();
  QImage scene = Draw_Lcd_Screen(scale, surface);
  QPainter p(&scene);
  // Later elements lie above earlier ones, as in the window; the panel lies above them all.
  std::sort(lit.begin(), lit.end());
  for (Element_Id id : lit)
    if (Is_Lcd_Segment(id) && !Is_Glyph(id)) Paint_Lit(p, id, Built_In_Rect(id).topLeft() - origin);
  for (int position = 0; position < 2 && position < panel.size(); ++position)
    if (const auto glyph = Glyph_For(position, panel[position]))
      Paint_Lit(p, *glyph,
                Built_In_Rect(Panel_Positions[static_cast<std::size_t>(position)]).topLeft() -
                    origin);
  p.drawImage(0, 0, Draw_Screen_Glass(scale));
  p.end();
  return scene;
}

QImage Lcd_All_Lit(int scale) {
  std::vector<Element_Id> lit;
  for (int i = 0; i < Element_Count; ++i)
    if (Is_Lcd_Segment(static_cast<Element_Id>(i)) && !Is_Glyph(static_cast<Element_Id>(i)))
      lit.push_back(static_cast<Element_Id>(i));
  return Lcd_Scene(lit, QStringLiteral("88"), scale);
}

} // namespace Art
