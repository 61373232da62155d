#include "game_fixture.h"

#include <algorithm>
#include <array>

std::vector<std::string> Handheld::Lit() const {
  std::vector<std::string> names;
  for (int i = 0; i < Element_Count; ++i) {
    const auto id = static_cast<Element_Id>(i);
    if (Surface.Shown(id) &&
        std::find(Lcd_Segments().begin(), Lcd_Segments().end(), id) != Lcd_Segments().end())
      names.emplace_back(Element_Name(id));
  }
  return names;
}

std::string Handheld::Lit_Text() const {
  std::string text;
  for (const std::string& name : Lit())
    text += (text.empty() ? "" : " ") + name;
  return text;
}

std::string Handheld::Sounds(std::int64_t from) const {
  std::string text;
  for (const Played_Sound& played : Sound.Played)
    if (played.Time >= from)
      text += (text.empty() ? "" : " ") + std::string(Sound_Name_Text(played.Sound)) + "@" +
              std::to_string(played.Time - from);
  return text;
}

int Handheld::Count(std::int32_t code) const {
  int n = 0;
  for (int x = 0; x < Dungeon_Size; ++x)
    for (int y = 0; y < Dungeon_Size; ++y)
      if (Game.Cell(x, y) == code) ++n;
  return n;
}

void Handheld::Clear_Grid() {
  for (auto& column : Game.Grid)
    column.fill(Cell_Empty);
}

void Handheld::Lay_Out(Game_Mode_Value mode, const std::vector<std::string>& rows) {
  Game.Gam_Stop_All_Timers();
  Game.Set_Game_Mode(mode);
  Clear_Grid();
  int bats = 0;
  int y = 0;
  for (const std::string& row : rows) {
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      std::int32_t& cell = Game.Cell(x, y);
      switch (row[static_cast<std::size_t>(x)]) {
      case 'W': cell = Cell_Warrior; break;
      case 'X': cell = Cell_Warrior_In_Pit; break;
      case 'P': cell = Cell_Pit; break;
      case 'H': cell = Cell_Hook; break;
      case 'A': cell = Cell_Arrow; break;
      case 'D': cell = Cell_Dragon; break;
      case 'B':
        cell = Cell_Bat;
        if (++bats <= Bat_Count) Game.Bat_Position[static_cast<std::size_t>(bats)] = {x, y};
        break;
      default: break;
      }
      if (cell == Cell_Warrior || cell == Cell_Warrior_In_Pit) {
        Game.Warrior_X = x;
        Game.Warrior_Y = y;
      }
    }
    ++y;
  }
  ASSERT_EQ(bats, Bat_Count) << "a layout needs four bats";
  Game.Score = 0;
  Game.Score_Tick = 1;
  Game.Cursor_Direction = Direction_Up;
  Game.Input_Enabled = false;
  Surface.Vid_Show_All(false);
  Carry(mode == Mode_Level_1, false);
  Dungeon_Ready = true;
  EXPECT_EQ(Broken_Invariant(), "");
}

void Handheld::Start(Game_Mode_Value mode, const std::vector<std::string>& rows) {
  Lay_Out(mode, rows);
  Game.Gam_Set_Warriors_Cell();
}

void Handheld::Start_Quiet(Game_Mode_Value mode) {
  Start(mode, {"W", "", "", "....PP", "...PBBP", "...PBBP", "....PP", "", "........D"});
}

std::int64_t Handheld::Walk_Up_Into(char target, Game_Mode_Value mode, bool hook, bool arrow) {
  Start(mode, {"W", "", "", "", ".....BBB", "", "", target == 'B' ? "" : "....B",
               target == 'D' ? "" : "........D", std::string(1, target)});
  Carry(hook, arrow);
  EXPECT_TRUE(Run_Until_Input());
  Tap(Key::Move);
  return Clock.Now();
}

std::int64_t Handheld::Shoot(Game_Mode_Value mode, const std::vector<std::string>& rows,
                             int direction) {
  Start(mode, rows);
  EXPECT_TRUE(Run_Until_Input());
  Carry(Game.Has_Hook, true);
  Aim(direction);
  Sound.Played.clear();
  Tap(Key::Attack);
  return Clock.Now();
}

void Handheld::Carry(bool hook, bool arrow) {
  Game.Has_Hook = hook;
  Game.Has_Arrow = arrow;
  Surface.Set_Shown(im_icon_hook, hook);
  Surface.Set_Shown(im_icon_arrow, arrow);
}

void Handheld::Press(std::uint16_t key) {
  Game.FormKeyDown(key);
  if (Dungeon_Ready) {
    EXPECT_EQ(Broken_Invariant(), "") << "after key " << key;
  }
}

void Handheld::Release(std::uint16_t key) {
  Game.FormKeyUp(key);
}

void Handheld::Aim(int direction) {
  static constexpr std::uint16_t keys[] = {0, Vk::Up, Vk::Right, Vk::Down, Vk::Left};
  Tap(keys[direction]);
}

bool Handheld::Tick() {
  const Cell_Position before{Game.Warrior_X, Game.Warrior_Y};
  const bool game_start = Game.Timer_Game_Start.Enabled();
  if (!Clock.Fire_Next()) return false;
  if (game_start && !Game.Timer_Game_Start.Enabled()) Dungeon_Ready = true;
  if (After_Tick) After_Tick();
  if (!Dungeon_Ready) return true;
  EXPECT_EQ(Broken_Invariant(), "") << "at " << Clock.Now() << " ms";
  // Outside a game start only a bat's drop moves the warrior during a tick.
  const Cell_Position after{Game.Warrior_X, Game.Warrior_Y};
  if (after != before && !game_start) {
    EXPECT_EQ(Game.Cell(before), Cell_Empty) << "the cell he was taken from";
    EXPECT_NE(after.X, before.X);
    EXPECT_NE(after.Y, before.Y);
  }
  return true;
}

void Handheld::Advance_To(std::int64_t time_ms) {
  for (std::int64_t due = Clock.Next_Due(); due != -1 && due <= time_ms; due = Clock.Next_Due())
    Tick();
  Clock.Run_Until(time_ms);
}

bool Handheld::Run_Until_Input(std::int64_t limit_ms) {
  const std::int64_t end = Clock.Now() + limit_ms;
  while (!Game.Input_Enabled) {
    const std::int64_t due = Clock.Next_Due();
    if (due == -1 || due > end) return false;
    Tick();
  }
  return true;
}

std::string Handheld::Broken_Invariant() const {
  std::array<int, 8> count{};
  for (int x = 0; x < Dungeon_Size; ++x)
    for (int y = 0; y < Dungeon_Size; ++y) {
      const std::int32_t code = Game.Cell(x, y);
      if (code < 0 || code > Cell_Warrior_In_Pit) return "unknown code " + std::to_string(code);
      ++count[static_cast<std::size_t>(code)];
    }
  for (int i = 1; i <= Bat_Count; ++i) {
    const Cell_Position bat = Game.Bat_Position[static_cast<std::size_t>(i)];
    if (Game.Cell(bat.X, bat.Y) != Cell_Bat) return "bat " + std::to_string(i) + " not in grid";
    for (int j = 1; j < i; ++j)
      if (Game.Bat_Position[static_cast<std::size_t>(j)] == bat) return "two bats in one cell";
  }
  if (count[Cell_Bat] != Bat_Count) return "bats in grid: " + std::to_string(count[Cell_Bat]);
  if (count[Cell_Dragon] != 1) return "dragons: " + std::to_string(count[Cell_Dragon]);
  if (count[Cell_Arrow] > 1) return "arrows: " + std::to_string(count[Cell_Arrow]);
  if (count[Cell_Hook] > 1) return "hooks: " + std::to_string(count[Cell_Hook]);
  if (count[Cell_Warrior] + count[Cell_Warrior_In_Pit] > 1) return "more than one warrior";
  for (std::size_t i = 0; i < 12; ++i)
    if (Game.Grid[0][i] || Game.Grid[11][i] || Game.Grid[i][0] || Game.Grid[i][11])
      return "border written";
  return "";
}

void Handheld::Expect_Lit(std::int64_t from,
                          const std::vector<std::pair<std::int64_t, std::string>>& lit) {
  for (const auto& [time, expected] : lit) {
    Advance_To(from + time);
    EXPECT_EQ(Lit_Text(), expected) << "at " << time << " ms";
  }
}
