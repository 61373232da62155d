// The hidden dungeon: setting it up, moving its items, and showing it in the cheat rows.
#include "game/unit1.h"

int Game_Core::Random(int n) {
  const int result = Random_Generator.Random(n);
  if (Trace) Trace("random " + std::to_string(n) + " " + std::to_string(result));
  return result;
}

Cell_Position Game_Core::Random_Cell() {
  Cell_Position cell;
  cell.X = Random(Dungeon_Size);
  cell.Y = Random(Dungeon_Size);
  return cell;
}

namespace {

// Pit placement has no natural bound: with unlucky draws the placed pits can leave no room for
// the rest. After this many draws without room for one pit the placement starts over.
constexpr int Pit_Draw_Limit = 10000;

// A pit needs the 3 x 3 block around it free of everything but the warrior. The block is read
// without wrap-around: at the far edges the zero border counts as free.
bool Has_Room_For_Pit(const Game_Core& game, Cell_Position cell) {
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (game.Cell(cell.X + dx, cell.Y + dy) >= Cell_Pit) return false;
  return true;
}

// Draws cells until one has room for a pit and digs it there; false after Pit_Draw_Limit
// draws without room. Row 0 and column 0 never hold a pit: such a draw is taken again at once
// and not counted.
bool Dig_Pit(Game_Core& game) {
  for (int without_room = 0; without_room < Pit_Draw_Limit;) {
    const Cell_Position cell = game.Random_Cell();
    if (cell.X == 0 || cell.Y == 0) continue;
    if (Has_Room_For_Pit(game, cell)) {
      game.Cell(cell) = Cell_Pit;
      return true;
    }
    ++without_room;
  }
  return false;
}

// False at a dead end: a pit found no room.
bool Dig_All_Pits(Game_Core& game) {
  for (int pit = 1; pit <= Pit_Count; ++pit)
    if (!Dig_Pit(game)) return false;
  return true;
}

void Fill_All_Pits(Game_Core& game) {
  for (int x = 0; x < Dungeon_Size; ++x)
    for (int y = 0; y < Dungeon_Size; ++y)
      if (game.Cell(x, y) == Cell_Pit) game.Cell(x, y) = Cell_Empty;
}

// The twelve pits, none touching another, not even diagonally. From a dead end every pit is
// dug again.
void Place_Pits(Game_Core& game) {
  while (!Dig_All_Pits(game))
    Fill_All_Pits(game);
}

} // namespace

void Game_Core::Setup_Dungeon() {
  for (auto& column : Grid)
    column.fill(Cell_Empty);
  Warrior_X = 0;
  Warrior_Y = 0;
  Cell(0, 0) = Cell_Warrior;

  Place_Pits(*this);

  for (int i = 1; i <= Bat_Count; ++i) {
    Cell_Position p;
    do
      p = Random_Cell();
    while (Cell(p) != Cell_Empty);
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
  do
    p = Random_Cell();
  while (Cell(p) != Cell_Empty || p.X == old.X || p.Y == old.Y);

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
