// The generated sound files: the format the game folder promises, eleven sounds a player can
// tell apart, and the piezo's voice: free of aliasing, and loudest near the disc's resonance.
#include "game/sound_output.h"

#include <SDL.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <set>
#include <vector>

namespace {

// Each sound lasts as its notes and rests, and 6 ms more for the disc to ring out. One that
// holds a note has a steady stretch, after the disc has settled and before the note ends.
struct Expected {
  std::string_view Name;
  double Ms, From_Ms = 0, To_Ms = 0, Hz = 0;
};
constexpr Expected Sounds[] = {{"Arrow", 266},
                               {"Bat", 224, 4, 17, 1000},
                               {"Cursor", 18, 4, 11, 3000},
                               {"Dragon", 656},
                               {"Found", 216, 105, 205, 2093},
                               {"Gameover", 1486, 10, 110, 784},
                               {"Got", 316, 215, 305, 2093},
                               {"Pit", 756},
                               {"Step", 36, 4, 29, 2200},
                               {"Step_bat", 61, 4, 14, 1600},
                               {"Win", 1296, 700, 800, 2093}};

// Blackman-Harris: a partial leaks less than -92 dB beyond four bins of it.
std::vector<double> Windowed(const std::vector<double>& wave, double from, double to) {
  std::vector<double> out(wave.begin() + std::lround(from), wave.begin() + std::lround(to));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double p = 2 * std::numbers::pi * static_cast<double>(i) / (out.size() - 1.0);
    out[i] *=
        0.35875 - 0.48829 * std::cos(p) + 0.14128 * std::cos(2 * p) - 0.01168 * std::cos(3 * p);
  }
  return out;
}

double Level(const std::vector<double>& windowed, double hz, int rate) {
  std::complex<double> sum, at = 1.0, turn = std::polar(1.0, -2 * std::numbers::pi * hz / rate);
  for (double x : windowed)
    sum += x * at, at *= turn;
  return std::abs(sum);
}

TEST(Game_Sounds_Test, ElevenShortDistinctPiezoSounds) {
  static_assert(std::size(Sounds) == Sound_Count);
  std::set<QByteArray> contents;
  for (const Expected& expected : Sounds) {
    const QString path = QDir(GAME_SOUND_DIR).filePath(QString::fromUtf8(expected.Name) + ".wav");
    SCOPED_TRACE(path.toStdString());
    SDL_AudioSpec audio{};
    Uint8* pcm = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV(path.toUtf8().constData(), &audio, &pcm, &length), nullptr)
        << SDL_GetError();
    std::vector<double> wave(length / 2);
    for (std::size_t at = 0; at < wave.size(); ++at)
      wave[at] = static_cast<Sint16>(pcm[2 * at] | pcm[2 * at + 1] << 8) / 32768.0;
    SDL_FreeWAV(pcm);

    // At 44100 Hz the partials reach up to 20 kHz; 16 bits keep the quiet ones.
    const int rate = 44100;
    ASSERT_EQ(audio.freq, rate);
    EXPECT_EQ(audio.channels, 1);
    ASSERT_EQ(audio.format, AUDIO_S16LSB);
    EXPECT_NEAR(wave.size() * 1000.0 / rate, expected.Ms, 1.0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    contents.insert(file.readAll());

    // Above the top partial only a trace of the whoosh's jitter: nothing folds back.
    double high = 0, below = 0;
    for (std::size_t at = 0; at + 512 <= wave.size(); at += 512) {
      const auto piece = Windowed(wave, at, at + 512);
      for (int bin = 0; bin < 256; ++bin)
        (bin * rate > 20500 * 512 ? high : below) +=
            std::pow(Level(piece, bin * rate / 512.0, rate), 2);
    }
    EXPECT_LT(10 * std::log10(high / below), -70);

    if (expected.Hz == 0) continue;
    const auto piece = Windowed(wave, expected.From_Ms * rate / 1000, expected.To_Ms * rate / 1000);
    const double bin_hz = static_cast<double>(rate) / piece.size();
    const double fundamental = Level(piece, expected.Hz, rate);
    double other = 0;
    for (double hz = 0; hz <= rate / 2; hz += bin_hz)
      if (std::abs(hz - expected.Hz * std::round(hz / expected.Hz)) > 5 * bin_hz)
        other = std::max(other, Level(piece, hz, rate));
    // Only the note's harmonics, nothing between them.
    EXPECT_GT(20 * std::log10(fundamental / other), 60);
    // 784 Hz's fifth harmonic sits on the resonance and outsounds it; a bare square's is a fifth.
    EXPECT_TRUE(expected.Name != "Gameover" || Level(piece, 5 * expected.Hz, rate) > fundamental);
  }
  EXPECT_EQ(contents.size(), Sound_Names.size());
}

} // namespace
