// Writes the handheld's eleven sounds into a folder: piezo-buzzer square waves, 22050 Hz, mono,
// 8-bit PCM. A buzzer has one voice and no volume control beyond the drive level, so every
// sound is a sequence of square-wave notes, sweeps and rests.
//
// Usage: make_sounds <folder>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;

class Buzzer {
public:
  // A note of constant pitch. Level 1 drives the buzzer fully; the bat's flutter is softer.
  Buzzer& Note(double hz, int ms, double level = 0.8) { return Sweep(hz, hz, ms, level); }

  // The pitch glides exponentially from `from_hz` to `to_hz`.
  Buzzer& Sweep(double from_hz, double to_hz, int ms, double level = 0.8) {
    const int count = Samples_In(ms);
    for (int i = 0; i < count; ++i) {
      const double t = count > 1 ? static_cast<double>(i) / (count - 1) : 0.0;
      Advance(from_hz * std::pow(to_hz / from_hz, t), level);
    }
    return *this;
  }

  // A low note whose pitch wobbles, chopped into bursts: the dragon's growl.
  Buzzer& Growl(double hz, double wobble_hz, int ms, double level = 0.9) {
    const int count = Samples_In(ms);
    for (int i = 0; i < count; ++i) {
      const double seconds = static_cast<double>(i) / Rate;
      const double pitch = hz * (1.0 + 0.25 * std::sin(2 * std::numbers::pi * wobble_hz * seconds));
      const bool chopped = std::fmod(seconds * 16.0, 1.0) > 0.75;
      Advance(pitch, chopped ? 0.0 : level);
    }
    return *this;
  }

  // A rising sweep whose period is jittered by a fixed pseudo-random sequence: a hiss-like
  // whoosh a buzzer can make.
  Buzzer& Whoosh(double from_hz, double to_hz, int ms, double level = 0.7) {
    const int count = Samples_In(ms);
    std::uint32_t noise = 12345;
    for (int i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) / count;
      noise = noise * 1664525u + 1013904223u;
      const double jitter = 0.6 + 0.8 * static_cast<double>(noise >> 8) / (1u << 24);
      Advance(from_hz * std::pow(to_hz / from_hz, t) * jitter, level * (1.0 - 0.6 * t));
    }
    return *this;
  }

  Buzzer& Rest(int ms) {
    Samples.insert(Samples.end(), static_cast<std::size_t>(Samples_In(ms)), Silence);
    Phase = 0.0;
    return *this;
  }

  const std::vector<std::uint8_t>& Pcm() const { return Samples; }

private:
  static constexpr std::uint8_t Silence = 128;

  static int Samples_In(int ms) { return Rate * ms / 1000; }

  void Advance(double hz, double level) {
    Phase = std::fmod(Phase + hz / Rate, 1.0);
    const int swing = static_cast<int>(std::lround(100.0 * level));
    Samples.push_back(static_cast<std::uint8_t>(Silence + (Phase < 0.5 ? swing : -swing)));
  }

  std::vector<std::uint8_t> Samples;
  double Phase = 0.0;
};

struct Sound_Recipe {
  const char* Name;
  Buzzer Sound;
};

std::vector<Sound_Recipe> Recipes() {
  return {
      {"Arrow", Buzzer().Whoosh(500, 3200, 260)},
      {"Bat",
       [] {
         // Wing beats: soft, alternating in pitch.
         Buzzer wings;
         for (int beat = 0; beat < 6; ++beat)
           wings.Rest(beat == 0 ? 0 : 22).Note(beat % 2 ? 1300 : 1000, 18, 0.35);
         return wings;
       }()},
      {"Cursor", Buzzer().Note(3000, 12, 0.7)},
      {"Dragon", Buzzer().Growl(85, 9, 650)},
      {"Found", Buzzer().Note(1568, 70).Rest(30).Note(2093, 110)},
      {"Gameover",
       Buzzer().Note(784, 220).Rest(40).Note(698, 220).Rest(40).Note(622, 220).Rest(40).Sweep(
           523, 262, 700)},
      {"Got", Buzzer().Note(1047, 60).Rest(10).Note(1319, 60).Rest(10).Note(1568, 60).Rest(10).Note(
                  2093, 100)},
      {"Pit", Buzzer().Sweep(2500, 150, 750)},
      {"Step", Buzzer().Note(2200, 30)},
      {"Step_bat", Buzzer().Note(1600, 15).Rest(25).Note(1200, 15)},
      {"Win", Buzzer()
                  .Note(1047, 120)
                  .Note(1319, 120)
                  .Note(1568, 120)
                  .Note(2093, 120)
                  .Rest(60)
                  .Note(1568, 150)
                  .Note(2093, 600)},
  };
}

void Put_16(std::ofstream& out, std::uint16_t v) {
  const char bytes[] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  out.write(bytes, 2);
}

void Put_32(std::ofstream& out, std::uint32_t v) {
  Put_16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put_16(out, static_cast<std::uint16_t>(v >> 16));
}

bool Write_Wav(const std::filesystem::path& path, const std::vector<std::uint8_t>& pcm) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto size = static_cast<std::uint32_t>(pcm.size());
  out.write("RIFF", 4);
  Put_32(out, 36 + size + (size & 1));
  out.write("WAVEfmt ", 8);
  Put_32(out, 16);   // format chunk size
  Put_16(out, 1);    // PCM
  Put_16(out, 1);    // mono
  Put_32(out, Rate); // sample rate
  Put_32(out, Rate); // bytes per second
  Put_16(out, 1);    // block align
  Put_16(out, 8);    // bits per sample
  out.write("data", 4);
  Put_32(out, size);
  out.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size()));
  if (size & 1) out.put(0); // chunks are padded to an even length
  out.close();
  return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "make_sounds: cannot create %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return 1;
  }
  for (const Sound_Recipe& recipe : Recipes()) {
    const std::filesystem::path path = folder / (std::string(recipe.Name) + ".wav");
    if (!Write_Wav(path, recipe.Sound.Pcm())) {
      std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
