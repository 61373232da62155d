// Whole games: a player who reads the hidden grid, a long run of random presses, and a reset at
// every step of every sequence.
#include "game_fixture.h"

#include <array>
#include <deque>
#include <memory>
#include <random>

namespace {

// Plays by the hidden grid, through the keys, as fast as the handheld lets it.
class Scripted_Player {
public:
  explicit Scripted_Player(Handheld& handheld) : H(handheld) {}

  // From whatever mode: reset, pick the level and wait until the warrior may act.
  void Start_Game(int level) {
    H.Tap(Key::Reset);
    H.Tap(Key::Attack);
    for (int i = 1; i < level; ++i)
      H.Tap(Key::Move);
    H.Tap(Key::Attack);
    ASSERT_TRUE(H.Run_Until_Input());
  }

  // Fetches the arrow and shoots the dragon; true when the win display has begun.
  bool Win() {
    for (int moves = 0; moves < 500; ++moves) {
      if (!H.Run_Until_Input()) return false;
      if (H.Game.Has_Arrow)
        for (Direction d : Directions)
          if (Code(Step_From(Warrior(), d)) == Cell_Dragon) {
            H.Aim(d);
            H.Tap(Key::Attack);
            H.Advance(6890);
            return H.Game.Game_Mode == Mode_Game_Over;
          }
      const int d = H.Game.Has_Arrow
                        ? Towards([&](Cell_Position p) { return Next_To_Dragon(p); })
                        : Towards([&](Cell_Position p) { return Code(p) == Cell_Arrow; });
      if (!Step(d != 0 ? d : Towards_Bat())) return false;
    }
    return false;
  }

  // Walks the shortest safe way up to the nearest cell holding `code` and steps into it.
  void Walk_Into(std::int32_t code) {
    for (int moves = 0; moves < 500 && H.Is_Playing(); ++moves) {
      if (!H.Run_Until_Input()) return;
      const int d = Towards([&](Cell_Position p) { return Code(p) == code; });
      if (!Step(d != 0 ? d : Towards_Bat())) return;
    }
  }

private:
  Cell_Position Warrior() const { return {H.Game.Warrior_X, H.Game.Warrior_Y}; }
  std::int32_t Code(Cell_Position p) const { return H.Game.Cell(p.X, p.Y); }
  bool Next_To_Dragon(Cell_Position p) const {
    for (const Cell_Position& n : Neighbours(p))
      if (Code(n) == Cell_Dragon) return true;
    return false;
  }
  static bool Safe(std::int32_t code) {
    return code != Cell_Pit && code != Cell_Bat && code != Cell_Dragon;
  }

  bool Step(int direction) {
    if (direction == 0) return false;
    H.Aim(direction);
    H.Tap(Key::Move);
    return true;
  }

  // The first step of a shortest way through safe cells to a cell the goal accepts (the goal
  // cell itself need not be safe); 0 when there is none.
  template <typename Goal> int Towards(Goal goal) const {
    std::array<std::array<int, 10>, 10> first{};
    std::deque<Cell_Position> queue{Warrior()};
    first[static_cast<std::size_t>(Warrior().X)][static_cast<std::size_t>(Warrior().Y)] = -1;
    while (!queue.empty()) {
      const Cell_Position p = queue.front();
      queue.pop_front();
      for (Direction d : Directions) {
        const Cell_Position n = Step_From(p, d);
        int& seen = first[static_cast<std::size_t>(n.X)][static_cast<std::size_t>(n.Y)];
        if (seen != 0) continue;
        const int from = first[static_cast<std::size_t>(p.X)][static_cast<std::size_t>(p.Y)];
        seen = from == -1 ? d : from;
        if (goal(n)) return seen;
        if (Safe(Code(n))) queue.push_back(n);
      }
    }
    return 0;
  }
  // When every way is blocked, a bat next to the warrior is a way out.
  int Towards_Bat() const {
    for (Direction d : Directions)
      if (Code(Step_From(Warrior(), d)) == Cell_Bat) return d;
    return 0;
  }

  Handheld& H;
};

class Whole_Games : public Game_Fixture {
protected:
  Scripted_Player Player{*this};
};

TEST_F(Whole_Games, TheScriptedPlayerWinsEveryLevel) {
  for (int level = 1; level <= 3; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    Player.Start_Game(level);
    ASSERT_TRUE(Player.Win());
    EXPECT_EQ(Game.Win_Level, level);
    EXPECT_EQ(Panel(), "00") << "no time was spent waiting";
    Advance(1000);
    EXPECT_EQ(Panel(), "L" + std::to_string(level));
  }
}

TEST_F(Whole_Games, TheScriptedPlayerLosesInAPitAndToTheDragon) {
  Player.Start_Game(3);
  Player.Walk_Into(Cell_Pit);
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Game.Cell(Game.Warrior_X, Game.Warrior_Y), Cell_Pit);
  EXPECT_TRUE(Is_Lit(im_warrior_7));

  Player.Start_Game(1); // the hook saves him from pits, not from the dragon
  Player.Walk_Into(Cell_Dragon);
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Game.Cell(Game.Warrior_X, Game.Warrior_Y), Cell_Dragon);
  EXPECT_TRUE(Is_Lit(im_warrior_6));
  EXPECT_TRUE(Is_Lit(im_dragon));
}

TEST_F(Whole_Games, AWarriorWhoNeverMovesLosesToTheTimeOut) {
  Player.Start_Game(2);
  for (int draw = 0; draw < 98 * Bat_Count; ++draw)
    Rng.Script.push_back(4); // the bats stay where they are
  Advance(496401);
  EXPECT_EQ(Game.Game_Mode, Mode_Game_Over);
  EXPECT_EQ(Panel(), "99");
  EXPECT_EQ(Sound.Played.back().Sound, Sound_Name::Gameover);
  Player.Start_Game(2);
  EXPECT_EQ(Game.Score, 0) << "the next game counts its waiting afresh";
}

// Random presses and releases of every key at random moments, including resets and presses
// during sequences, in many sessions. Each tick is checked by the harness; besides, a game in
// progress must always have a timer running and must give play back, or end, within 30 s.
TEST(Soak, RandomPlayNeverBreaksTheDungeonOrGetsStuck) {
  constexpr std::array<std::uint16_t, 11> keys = {Key::Reset,  Key::Cursor, Key::Attack, Key::Move,
                                                  Key::Attack, Key::Move,   Vk::Up,      Vk::Right,
                                                  Vk::Down,    Vk::Left,    Vk::Insert};
  int games = 0;
  for (std::uint32_t session = 1; session <= 1500; ++session) {
    auto h = std::make_unique<Handheld>();
    h->Rng = Scripted_Random(session);
    h->Rng.Keep_Draws = false;
    std::mt19937 player(session);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(player); };

    std::int64_t waiting_since = 0; // the last moment play was with the player or not in a game
    bool stuck = false;
    auto watch = [&] {
      h->Surface.Take_Dirty(); // nobody repaints here
      if (!h->Is_Playing() || h->Game.Input_Enabled) waiting_since = h->Clock.Now();
      if (h->Is_Playing() && h->Clock.Next_Due() == -1) stuck = true;
      if (h->Clock.Now() - waiting_since > 30000) stuck = true;
    };
    h->After_Tick = watch;
    h->Tap(Key::Reset);
    for (int action = 0; action < 300 && !stuck; ++action) {
      const std::uint16_t key = keys[static_cast<std::size_t>(pick(static_cast<int>(keys.size())))];
      if (key == Key::Reset && pick(4) != 0) continue; // resets are rarer than the rest
      const bool starting = h->Game.Timer_Game_Start.Enabled();
      if (pick(2) == 0)
        h->Press(key);
      else
        h->Release(key);
      if (!starting && h->Game.Timer_Game_Start.Enabled()) ++games;
      watch();
      h->Advance(pick(10) == 0 ? 2000 + pick(20000) : pick(1200));
    }
    ASSERT_FALSE(stuck) << "session " << session << " at " << h->Clock.Now() << " ms, mode "
                        << h->Game.Game_Mode;
  }
  EXPECT_GT(games, 2500);
}

} // namespace
