// The eleven sounds of the handheld and the output the game plays them on.
#pragma once

#include <array>
#include <string_view>

enum class Sound_Name : int {
  Arrow,
  Bat,
  Cursor,
  Dragon,
  Found,
  Gameover,
  Got,
  Pit,
  Step,
  Step_bat,
  Win
};

inline constexpr int Sound_Count = 11;
inline constexpr std::array<std::string_view, Sound_Count> Sound_Names = {
    "Arrow", "Bat", "Cursor", "Dragon",   "Found", "Gameover",
    "Got",   "Pit", "Step",   "Step_bat", "Win"};

inline std::string_view Sound_Name_Text(Sound_Name sound) {
  return Sound_Names[static_cast<std::size_t>(sound)];
}

class Sound_Output {
public:
  virtual ~Sound_Output() = default;
  // Starts the sound on any free channel, mixing over whatever already plays.
  virtual void Snd_Play(Sound_Name sound) = 0;
  // Stops every sound that plays.
  virtual void Snd_Silence() = 0;
};
