// The generated sound files: the format the game folder promises, and eleven sounds a player
// can tell apart.
#include "game/sound_output.h"

#include <SDL.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Game_Sounds_Test, ElevenShortDistinctPiezoSounds) {
  std::set<QByteArray> contents;
  for (std::string_view name : Sound_Names) {
    const QString path = QDir(GAME_SOUND_DIR).filePath(QString::fromUtf8(name) + ".wav");
    SCOPED_TRACE(path.toStdString());
    SDL_AudioSpec audio{};
    Uint8* pcm = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV(path.toUtf8().constData(), &audio, &pcm, &length), nullptr)
        << SDL_GetError();
    SDL_FreeWAV(pcm);

    EXPECT_EQ(audio.freq, 22050);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_TRUE(audio.format == AUDIO_U8 || audio.format == AUDIO_S16LSB);
    const double seconds =
        static_cast<double>(length) / (SDL_AUDIO_BITSIZE(audio.format) / 8) / audio.freq;
    EXPECT_GT(seconds, 0.005);
    // The step tick has to be over before the next step, 315 ms later; only the two closing
    // phrases may run past a second.
    const bool phrase = name == "Gameover" || name == "Win";
    EXPECT_LT(seconds, phrase ? 3.0 : 1.0);
    if (name == "Step") {
      EXPECT_LT(seconds, 0.315);
    }

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    contents.insert(file.readAll());
  }
  EXPECT_EQ(contents.size(), Sound_Names.size());
}

} // namespace
