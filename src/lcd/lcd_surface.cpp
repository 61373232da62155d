#include "lcd/lcd_surface.h"

#include <utility>

Lcd_Surface::Lcd_Surface() {
  for (const Element_Info& info : Element_Table) {
    Lcd_Element& e = Elements[Index(info.Id)];
    e.Rect = QRect(info.Left, info.Top, info.Width, info.Height);
    e.Shown = info.Shown_At_Start;
    e.Transparent = info.Transparent;
    e.Kind = info.Kind;
  }
  for (Element_Id label : Cheat_Labels)
    Elements[Index(label)].Auto_Size = true;
  Measure_Text = [](Element_Id, const QString& text) {
    return QSize(7 * static_cast<int>(text.size()), 14);
  };
}

void Lcd_Surface::Mark(Element_Id id) {
  const QRect& rect = Elements[Index(id)].Rect;
  if (rect.isEmpty()) return;
  const bool was_clean = Dirty_Region.isEmpty();
  Dirty_Region += rect;
  if (was_clean && On_Dirty) On_Dirty();
}

void Lcd_Surface::Set_Shown(Element_Id id, bool shown) {
  Lcd_Element& e = Elements[Index(id)];
  if (e.Shown == shown) return;
  e.Shown = shown;
  Mark(id);
  if (On_Shown_Changed) On_Shown_Changed(id, shown);
}

void Lcd_Surface::Set_Picture(Element_Id id, QImage picture) {
  Elements[Index(id)].Picture = std::move(picture);
  Mark(id);
}

void Lcd_Surface::Set_Rect(Element_Id id, QRect rect) {
  Lcd_Element& e = Elements[Index(id)];
  if (e.Rect == rect) return;
  Mark(id);
  e.Rect = rect;
  Mark(id);
}

void Lcd_Surface::Set_Text(Element_Id id, const QString& text) {
  Lcd_Element& e = Elements[Index(id)];
  if (e.Text == text) return;
  Mark(id);
  e.Text = text;
  if (e.Auto_Size) e.Rect.setSize(Measure_Text(id, text));
  Mark(id);
}

void Lcd_Surface::Set_Paint_Background(Element_Id id, bool paint) {
  Lcd_Element& e = Elements[Index(id)];
  if (e.Paint_Background == paint) return;
  e.Paint_Background = paint;
  Mark(id);
}

void Lcd_Surface::Set_Stretch(Element_Id id, bool stretch) {
  Lcd_Element& e = Elements[Index(id)];
  if (e.Stretch == stretch) return;
  e.Stretch = stretch;
  Mark(id);
}

void Lcd_Surface::Show_Glyph(int position, Element_Id glyph) {
  const Element_Id pos = Panel_Positions[static_cast<std::size_t>(position)];
  Lcd_Element& e = Elements[Index(pos)];
  const bool changed = e.Glyph != glyph;
  e.Glyph = glyph;
  e.Picture = glyph == Element_Count ? QImage() : Elements[Index(glyph)].Picture;
  Mark(pos);
  if (changed && On_Panel_Changed) On_Panel_Changed();
}

void Lcd_Surface::Blank_Position(int position) {
  Show_Glyph(position, Element_Count);
}

QString Lcd_Surface::Panel_Text() const {
  QString text;
  for (Element_Id pos : Panel_Positions) {
    const Element_Id glyph = Elements[Index(pos)].Glyph;
    text += glyph == Element_Count ? QChar(' ') : QChar(Glyph_Char(glyph));
  }
  return text;
}

void Lcd_Surface::Vid_Show_All(bool show) {
  for (Element_Id id : Bat_Images)
    Set_Shown(id, show);
  for (Element_Id id : Warrior_Images)
    Set_Shown(id, show);
  for (Element_Id id : Arrow_Images)
    Set_Shown(id, show);
  for (int d = 1; d <= 4; ++d)
    Set_Shown(Cursor_Images[static_cast<std::size_t>(d)], show);
  for (int p = 0; p < 2; ++p) {
    Set_Shown(Panel_Positions[static_cast<std::size_t>(p)], true);
    if (show)
      Show_Glyph(p, p == 0 ? Panel_1_Digits[8] : Panel_2_Digits[8]);
    else
      Blank_Position(p);
  }
  for (Element_Id id : {im_pit, im_maze, im_hook, im_icon_arrow, im_icon_hook, im_dragon})
    Set_Shown(id, show);
}

void Lcd_Surface::Vid_Show_Cursor(Direction direction, bool show) {
  if (direction < 1 || direction > 4) return;
  Set_Shown(Cursor_Images[static_cast<std::size_t>(direction)], show);
}

std::optional<Element_Id> Lcd_Surface::Hit_Test(QPoint point) const {
  for (int i = Element_Count - 1; i >= 0; --i) {
    const Lcd_Element& e = Elements[static_cast<std::size_t>(i)];
    if (e.Shown && e.Rect.contains(point)) return static_cast<Element_Id>(i);
  }
  return std::nullopt;
}

QRegion Lcd_Surface::Take_Dirty() {
  return std::exchange(Dirty_Region, QRegion());
}
