// The LCD surface as data: every element's rectangle, picture, text and flags. The game shows
// and hides elements and copies glyphs into the number panel; the window only draws what this
// holds and repaints the rectangles it reports as changed.
#pragma once

#include "lcd/lcd_elements.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>

struct Lcd_Element {
  QRect Rect;
  QImage Picture;
  bool Shown = false;
  bool Transparent = false;
  Element_Kind Kind = Element_Kind::Picture;
  QString Text;                     // text elements only
  bool Auto_Size = false;           // a text element that sizes itself to its text
  bool Paint_Background = false;    // a text element whose background is painted (highlight)
  bool Stretch = false;             // im_backdrop: stretched to the rectangle, else centred
  Element_Id Glyph = Element_Count; // panel positions: the glyph whose copy is held
  QString Hint;                     // click areas: the text shown when the pointer rests on them
  bool Hand_Pointer = false;        // in-game menu rows: the row responds to the pointer
};

class Lcd_Surface {
public:
  Lcd_Surface();

  const Lcd_Element& operator[](Element_Id id) const { return Elements[Index(id)]; }
  bool Shown(Element_Id id) const { return Elements[Index(id)].Shown; }

  void Set_Shown(Element_Id id, bool shown);
  void Show(Element_Id id) { Set_Shown(id, true); }
  void Hide(Element_Id id) { Set_Shown(id, false); }
  void Toggle(Element_Id id) { Set_Shown(id, !Shown(id)); }
  void Set_Picture(Element_Id id, QImage picture);
  void Set_Rect(Element_Id id, QRect rect);
  void Set_Text(Element_Id id, const QString& text);
  void Set_Paint_Background(Element_Id id, bool paint);
  void Set_Stretch(Element_Id id, bool stretch);
  void Set_Hint(Element_Id id, const QString& hint) { Elements[Index(id)].Hint = hint; }
  void Set_Hand_Pointer(Element_Id id, bool hand) { Elements[Index(id)].Hand_Pointer = hand; }

  // The number panel: position 0 (left) or 1 (right) takes its own copy of a glyph's picture;
  // reloading the glyph later does not change what the position shows. Element_Count blanks it.
  void Show_Glyph(int position, Element_Id glyph);
  void Blank_Position(int position);
  // What the panel reads, e.g. "A0"; a blank position reads as a space.
  QString Panel_Text() const;

  // Lights (true) or unlights (false) the whole LCD; the panel reads 88 or goes blank.
  void Vid_Show_All(bool show);
  // Shows or hides Cursor_Images[direction], direction 1..4.
  void Vid_Show_Cursor(Direction direction, bool show);

  // The topmost shown element whose rectangle holds the point, whatever its transparency.
  std::optional<Element_Id> Hit_Test(QPoint point) const;

  // Rectangles changed since the last call; the window repaints exactly these.
  QRegion Take_Dirty();

  // How a text element measures its text; set by the window from its font, so that
  // self-sizing labels get the size they will be drawn at.
  std::function<QSize(Element_Id, const QString&)> Measure_Text;

  // Called when the first change after a Take_Dirty arrives, so the window can schedule one
  // repaint for a whole burst of changes.
  std::function<void()> On_Dirty;

  // Observers of changes a player would see, used for the debugging trace.
  std::function<void(Element_Id, bool shown)> On_Shown_Changed;
  std::function<void()> On_Panel_Changed;

private:
  static std::size_t Index(Element_Id id) { return static_cast<std::size_t>(id); }
  void Mark(Element_Id id);

  std::array<Lcd_Element, Element_Count> Elements;
  QRegion Dirty_Region;
};
