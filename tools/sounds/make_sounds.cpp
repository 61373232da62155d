// Writes the handheld's eleven sounds into a folder, 44100 Hz, mono, 16-bit PCM, in the voice of
// its piezo buzzer. A buzzer has one voice and no volume control beyond the drive level, so every
// sound is a sequence of square-wave notes, sweeps and rests, played in three steps:
//
// - The drive: the square wave the handheld's chip puts on the disc, built from its odd
//   harmonics up to 20 kHz, short of the Nyquist frequency, each with its own phase, so nothing
//   folds back into the audible band as a harsh alias. A sweep follows its pitch sample by
//   sample and lets each harmonic fade out (or in) as it nears the top. Each burst of drive
//   rises and falls over a millisecond, so that its start and stop click only as the disc rings,
//   not as a step that splashes over the whole band.
// - The disc: a resonator near 3.7 kHz, loud and round near its resonance, damping what lies
//   above and below, whose own ringing is the click at each start and stop.
// - The case: a weak, broad air resonance behind the disc, and the loss of the lowest
//   frequencies a small disc cannot move air at.
//
// One gain for all eleven puts the loudest sample of any sound at -1 dBFS, so the sounds keep the
// balance their drive levels give them; only a sound the resonance lifts out of that balance is
// trimmed back.
//
// Usage: make_sounds <folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr double Pi = std::numbers::pi;

// Harmonics fade out between these two frequencies and are dropped above: none comes near the
// Nyquist frequency, and one that a sweep carries across the band leaves without a click.
constexpr double Fade_From_Hz = 16000;
constexpr double Fade_To_Hz = 20000;
// The rise and fall of every burst of drive.
constexpr double Edge_Ms = 1.0;
// After the last note the disc and the case ring on a little; the file lets them die away.
constexpr int Ring_Out_Ms = 6;
// The loudest sample of all the sounds: -1 dBFS.
const double Loudest = std::pow(10.0, -1.0 / 20);

// The drive for one sample: the square wave's pitch and level (0: the driver is off). `Top_Hz`
// is the highest pitch the drive may jump to around here: the harmonics are faded by it, so that
// a jittered pitch cannot throw one past the top. `Restart` starts the wave afresh on this
// sample, as after a rest.
struct Drive {
  double Hz;
  double Top_Hz;
  double Level;
  bool Restart;
};

class Buzzer {
public:
  // A note of constant pitch. Level 1 drives the buzzer fully; the bat's flutter is softer.
  Buzzer& Note(double hz, int ms, double level = 0.8) { return Sweep(hz, hz, ms, level); }

  // The pitch glides exponentially from `from_hz` to `to_hz`.
  Buzzer& Sweep(double from_hz, double to_hz, int ms, double level = 0.8) {
    const int count = Samples_In(ms);
    for (int i = 0; i < count; ++i) {
      const double t = count > 1 ? static_cast<double>(i) / (count - 1) : 0.0;
      Push(from_hz * std::pow(to_hz / from_hz, t), level);
    }
    return *this;
  }

  // A low note whose pitch wobbles, chopped into bursts: the dragon's growl.
  Buzzer& Growl(double hz, double wobble_hz, int ms, double level = 0.9) {
    const int count = Samples_In(ms);
    for (int i = 0; i < count; ++i) {
      const double seconds = static_cast<double>(i) / Rate;
      const double pitch = hz * (1.0 + 0.25 * std::sin(2 * Pi * wobble_hz * seconds));
      const bool chopped = std::fmod(seconds * 16.0, 1.0) > 0.75;
      Push(pitch, chopped ? 0.0 : level);
    }
    return *this;
  }

  // A rising sweep whose period is jittered by a fixed pseudo-random sequence: a hiss-like
  // whoosh a buzzer can make. The jitter takes a new value 22050 times a second and glides
  // between them, so the hiss does not depend on the sample rate.
  Buzzer& Whoosh(double from_hz, double to_hz, int ms, double level = 0.7) {
    constexpr double Jitter_Rate = 22050;
    constexpr double Least = 0.6;
    constexpr double Most = 1.4;
    const int count = Samples_In(ms);
    std::uint32_t noise = 12345;
    std::vector<double> jitter(static_cast<std::size_t>(count * Jitter_Rate / Rate) + 2);
    for (double& value : jitter) {
      noise = noise * 1664525u + 1013904223u;
      value = Least + (Most - Least) * static_cast<double>(noise >> 8) / (1u << 24);
    }
    for (int i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) / count;
      const double at = i * Jitter_Rate / Rate;
      const auto before = static_cast<std::size_t>(at);
      const double wobble = jitter[before] + (jitter[before + 1] - jitter[before]) *
                                                 (at - static_cast<double>(before));
      const double hz = from_hz * std::pow(to_hz / from_hz, t);
      Push(hz * wobble, level * (1.0 - 0.6 * t), hz * Most);
    }
    return *this;
  }

  Buzzer& Rest(int ms) {
    Score.insert(Score.end(), static_cast<std::size_t>(Samples_In(ms)),
                 Drive{0.0, 0.0, 0.0, false});
    Restart = true;
    return *this;
  }

  // What the drive puts on the disc, from -level to +level, not yet heard through it.
  std::vector<double> Drive_Signal() const {
    const std::vector<double> edges = Edges();
    std::vector<double> out(Score.size() + static_cast<std::size_t>(Samples_In(Ring_Out_Ms)));
    double phase = 0.0; // in periods
    for (std::size_t i = 0; i < Score.size(); ++i) {
      const Drive& drive = Score[i];
      phase = drive.Restart ? 0.0 : phase;
      phase = std::fmod(phase + drive.Hz / Rate, 1.0);
      if (edges[i] > 0.0) out[i] = drive.Level * edges[i] * Square(phase, drive.Top_Hz);
    }
    return out;
  }

private:
  static int Samples_In(int ms) { return Rate * ms / 1000; }

  void Push(double hz, double level, double top_hz = 0.0) {
    Score.push_back({hz, std::max(hz, top_hz), level, Restart});
    Restart = false;
  }

  // The band-limited square wave at `phase` (in periods): +1 for the first half, -1 for the
  // second, built from the odd harmonics that a pitch of `top_hz` keeps below the fade-out.
  static double Square(double phase, double top_hz) {
    double sum = 0.0;
    for (int k = 1; k * top_hz < Fade_To_Hz; k += 2) {
      const double harmonic_hz = k * top_hz;
      const double fade = harmonic_hz <= Fade_From_Hz
                              ? 1.0
                              : 0.5 + 0.5 * std::cos(Pi * (harmonic_hz - Fade_From_Hz) /
                                                     (Fade_To_Hz - Fade_From_Hz));
      sum += fade * std::sin(2 * Pi * k * phase) / k;
    }
    return 4 / Pi * sum;
  }

  // A raised-cosine rise over the first millisecond of every burst of drive and a fall over its
  // last: 1 in between, 0 where the driver is off.
  std::vector<double> Edges() const {
    const auto edge = static_cast<std::ptrdiff_t>(std::lround(Edge_Ms * Rate / 1000));
    const auto count = static_cast<std::ptrdiff_t>(Score.size());
    // How many samples of the same burst lie up to each sample, and from it on.
    const auto joined = [&](std::ptrdiff_t i) { return Score[i].Level > 0.0 && !Score[i].Restart; };
    std::vector<std::ptrdiff_t> since(Score.size()), until(Score.size());
    for (std::ptrdiff_t i = 0; i < count; ++i)
      if (Score[i].Level > 0.0) since[i] = i > 0 && joined(i) ? since[i - 1] + 1 : 1;
    for (std::ptrdiff_t i = count - 1; i >= 0; --i)
      if (Score[i].Level > 0.0) until[i] = i + 1 < count && joined(i + 1) ? until[i + 1] + 1 : 1;
    std::vector<double> out(Score.size());
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      if (Score[i].Level <= 0.0) continue;
      const std::ptrdiff_t inside = std::min(since[i], until[i]);
      out[i] = inside >= edge ? 1.0
                              : 0.5 - 0.5 * std::cos(Pi * (static_cast<double>(inside) - 0.5) /
                                                     static_cast<double>(edge));
    }
    return out;
  }

  std::vector<Drive> Score;
  bool Restart = true;
};

// A second-order filter section (the usual audio "biquad"), set up from the analogue prototype
// through the bilinear transform with the centre frequency prewarped.
class Biquad {
public:
  // Unit gain at `hz`, falling 6 dB an octave on either side: a damped mass on a spring, driven
  // by a force, moves at this speed.
  static Biquad Resonance(double hz, double q) {
    const Shape s(hz, q);
    return Biquad(s.Alpha, 0.0, -s.Alpha, 1 + s.Alpha, -2 * s.Cos, 1 - s.Alpha);
  }
  // Lifts a band around `hz` by `db`, leaving the rest alone.
  static Biquad Peak(double hz, double q, double db) {
    const Shape s(hz, q);
    const double a = std::pow(10.0, db / 40);
    return Biquad(1 + s.Alpha * a, -2 * s.Cos, 1 - s.Alpha * a, 1 + s.Alpha / a, -2 * s.Cos,
                  1 - s.Alpha / a);
  }
  // Lets through what lies above `hz`, losing 12 dB an octave below.
  static Biquad High_Pass(double hz, double q) {
    const Shape s(hz, q);
    return Biquad((1 + s.Cos) / 2, -(1 + s.Cos), (1 + s.Cos) / 2, 1 + s.Alpha, -2 * s.Cos,
                  1 - s.Alpha);
  }

  double operator()(double in) {
    const double out = B0 * in + B1 * In1 + B2 * In2 - A1 * Out1 - A2 * Out2;
    In2 = In1;
    In1 = in;
    Out2 = Out1;
    Out1 = out;
    return out;
  }

private:
  struct Shape {
    Shape(double hz, double q)
        : Cos(std::cos(2 * Pi * hz / Rate)), Alpha(std::sin(2 * Pi * hz / Rate) / (2 * q)) {}
    double Cos;
    double Alpha;
  };

  Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
      : B0(b0 / a0), B1(b1 / a0), B2(b2 / a0), A1(a1 / a0), A2(a2 / a0) {}

  double B0, B1, B2, A1, A2;
  double In1 = 0.0, In2 = 0.0, Out1 = 0.0, Out2 = 0.0;
};

// The disc in the handheld's case, as heard in front of it.
std::vector<double> Through_The_Piezo(std::vector<double> drive) {
  // A small brass disc rings near 3.7 kHz, damped by the glue at its rim to a Q of about 4.
  Biquad disc = Biquad::Resonance(3700, 4.0);
  // The air in the case behind the disc: a weak, broad resonance.
  Biquad case_air = Biquad::Peak(1200, 1.5, 5.0);
  // A disc this size moves little air at low frequencies.
  Biquad small_disc = Biquad::High_Pass(300, 0.7);
  for (double& sample : drive)
    sample = small_disc(case_air(disc(sample)));
  return drive;
}

struct Sound_Recipe {
  const char* Name;
  Buzzer Sound;
  // Only for a sound the disc's resonance lifts out of the place its drive level gives it among
  // the others.
  double Trim_Db = 0.0;
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
      // Its 3 kHz sits on the disc's resonance, which makes it 6 dB louder beside the others
      // than its drive level says.
      {"Cursor", Buzzer().Note(3000, 12, 0.7), -6.0},
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

bool Write_Wav(const std::filesystem::path& path, const std::vector<std::int16_t>& pcm) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto size = static_cast<std::uint32_t>(2 * pcm.size());
  out.write("RIFF", 4);
  Put_32(out, 36 + size);
  out.write("WAVEfmt ", 8);
  Put_32(out, 16);       // format chunk size
  Put_16(out, 1);        // PCM
  Put_16(out, 1);        // mono
  Put_32(out, Rate);     // sample rate
  Put_32(out, 2 * Rate); // bytes per second
  Put_16(out, 2);        // block align
  Put_16(out, 16);       // bits per sample
  out.write("data", 4);
  Put_32(out, size);
  for (std::int16_t sample : pcm)
    Put_16(out, static_cast<std::uint16_t>(sample));
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

  const std::vector<Sound_Recipe> recipes = Recipes();
  std::vector<std::vector<double>> voices;
  double peak = 0.0;
  for (const Sound_Recipe& recipe : recipes) {
    voices.push_back(Through_The_Piezo(recipe.Sound.Drive_Signal()));
    const double trim = std::pow(10.0, recipe.Trim_Db / 20);
    for (double& sample : voices.back())
      peak = std::max(peak, std::abs(sample *= trim));
  }
  const double gain = Loudest / peak;

  for (std::size_t i = 0; i < recipes.size(); ++i) {
    std::vector<std::int16_t> pcm;
    for (double sample : voices[i])
      pcm.push_back(static_cast<std::int16_t>(std::lround(32767 * gain * sample)));
    const std::filesystem::path path = folder / (std::string(recipes[i].Name) + ".wav");
    if (!Write_Wav(path, pcm)) {
      std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
