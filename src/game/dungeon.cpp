// The hidden dungeon: setting it up, moving its items, and showing it in the cheat rows.
#include "game/unit1.h"

int Game_Core::Random(int n) {
  const int result = Random_Generator.Random(n);
  if (Trace) Emit("random " + std::to_string(n) + " " + std::to_string(result));
  return result;
}

namespace {
// Pit placement has no natural bound: with unlucky draws the placed pits can leave no room for
// the rest. After this many failed draws for one pit the placement starts over.
constexpr int Pit_Draw_Limit = 10000;
} // namespace

void Game_Core::Setup_Dungeon() {
  for (auto& column : Grid)
    column.fill(Cell_Empty);
  Warrior_X = 0;
  Warrior_Y = 0;
  Cell(0, 0) = Cell_Warrior;

  for (int placed = 0; placed < Pit_Count;) {
    int failed = 0;
    for (;;) {
      const int x = Random(10);
      const int y = Random(10);
      if (x == 0 || y == 0) continue;
      // The 3 x 3 block around (x, y), read without wrap-around: the zero border counts as free.
      int free_cells = 0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if (Cell(x + dx, y + dy) < Cell_Pit) ++free_cells;
      if (free_cells == 9) {
        Cell(x, y) = Cell_Pit;
        ++placed;
        break;
      }
      if (++failed == Pit_Draw_Limit) {
        for (int px = 0; px < Dungeon_Size; ++px)
          for (int py = 0; py < Dungeon_Size; ++py)
            if (Cell(px, py) == Cell_Pit) Cell(px, py) = Cell_Empty;
        placed = 0;
        break;
      }
    }
  }

  for (int i = 1; i <= Bat_Count; ++i) {
    Cell_Position p;
    do {
      p.X = Random(10);
      p.Y = Random(10);
    } while (Cell(p) != Cell_Empty);
    Bat_Position[static_cast<std::size_t>(i)] = p;
    Cell(p) = Cell_Bat;
  }

  switch (Game_Mode) {
  case Mode_Level_1:
    Has_Hook = true;
    Surface.Show(im_icon_hook);
    break;
  case Mode_Level_2:
    Has_Hook = false;
    Gam_Set_Item_Position(Cell_Hook);
    break;
  default: Has_Hook = false; break;
  }

  Has_Arrow = false;
  Gam_Set_Item_Position(Cell_Arrow);
  Gam_Set_Item_Position(Cell_Dragon);
}

void Game_Core::Gam_Set_Item_Position(std::int32_t code) {
  Cell_Position old{0, 0};
  bool found = false;
  for (int x = 0; x < Dungeon_Size && !found; ++x)
    for (int y = 0; y < Dungeon_Size && !found; ++y)
      if (Cell(x, y) == code) {
        old = {x, y};
        found = true;
      }

  Cell_Position p;
  do {
    p.X = Random(10);
    p.Y = Random(10);
  } while (Cell(p) != Cell_Empty || p.X == old.X || p.Y == old.Y);

  Cell(p) = code;
  if (found) Cell(old) = Cell_Empty;
}

void Game_Core::Vid_Show_Cheat(bool show) {
  for (Element_Id label : Cheat_Labels)
    Surface.Set_Text(label, QString());
  if (!show) return;
  const QRect background = Surface[im_background].Rect;
  for (int row = 0; row < Dungeon_Size; ++row) {
    const Element_Id label = Cheat_Labels[static_cast<std::size_t>(row)];
    QString text;
    for (int x = 0; x < Dungeon_Size; ++x)
      text += QString::number(Cell(x, row));
    Surface.Set_Text(label, text);
    const QRect rect = Surface[label].Rect;
    Surface.Set_Rect(label,
                     QRect(background.left() + background.width() - rect.width() - 10,
                           background.top() + background.height() - rect.height() * (10 - row) - 10,
                           rect.width(), rect.height()));
  }
}
