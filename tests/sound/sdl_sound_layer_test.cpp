// The SDL2_mixer layer with the generated sounds, on SDL's silent "dummy" driver, and once on
// its "disk" driver to hear what actually reaches the output.
#include "sound/sdl_sound_layer.h"
#include "sound/sound_system.h"
#include "sound_folder.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

struct Sdl_Sound {
  Sdl_Sound_Layer* Layer = nullptr;
  std::unique_ptr<Sound_System> System = [this] {
    auto layer = std::make_unique<Sdl_Sound_Layer>();
    Layer = layer.get();
    return std::make_unique<Sound_System>(std::move(layer));
  }();
};

TEST(Sdl_Sound_Layer_Test, TheElevenGeneratedSoundsLoad) {
  Sound_Folder folder;
  Sdl_Sound sound;
  const Sound_Startup_Result result = sound.System->Sound_Startup("PulseAudio");
  EXPECT_FALSE(result.Arrow_Failed);
  EXPECT_EQ(sound.Layer->Driver_Name(), "dummy");
  for (int i = 0; i < Sound_Count; ++i)
    EXPECT_NE(sound.System->Sound_Samples[static_cast<std::size_t>(i)], nullptr)
        << Sound_Names[static_cast<std::size_t>(i)];
  sound.System->Sound_Shutdown();
  EXPECT_EQ(sound.Layer->Driver_Name(), "");
}

TEST(Sdl_Sound_Layer_Test, StepTwiceSoundsTwiceAtOnceAndSilenceStopsEverything) {
  Sound_Folder folder;
  Sdl_Sound sound;
  ASSERT_FALSE(sound.System->Sound_Startup("ALSA").Arrow_Failed);
  Sound_System& system = *sound.System;

  // The device mixes on its own thread: a short Step may end between the calls and the count.
  // A second play that cut off the first gives one channel every time.
  int most = 0;
  for (int attempt = 0; attempt < 5 && most < 2; ++attempt) {
    system.Snd_Silence();
    system.Snd_Play(Sound_Name::Step);
    system.Snd_Play(Sound_Name::Step);
    most = std::max(most, sound.Layer->Playing_Count());
  }
  EXPECT_EQ(most, 2);

  for (Sound_Name long_one :
       {Sound_Name::Gameover, Sound_Name::Win, Sound_Name::Pit, Sound_Name::Dragon})
    system.Snd_Play(long_one);
  EXPECT_GE(sound.Layer->Playing_Count(), 4);
  system.Snd_Silence();
  EXPECT_EQ(sound.Layer->Playing_Count(), 0);
}

TEST(Sdl_Sound_Layer_Test, AMissingOrDamagedOtherSoundIsSilentOrPlaysWhatIsLeft) {
  Sound_Folder folder;
  folder.Remove("Win.wav");
  folder.Write("Found.wav", {});
  const QByteArray dragon = folder.Read("Dragon.wav");
  folder.Write("Dragon.wav", dragon.left(dragon.size() / 2)); // data cut short
  Sdl_Sound sound;
  EXPECT_FALSE(sound.System->Sound_Startup("PulseAudio").Arrow_Failed);
  EXPECT_EQ(sound.System->Sound_Samples[static_cast<std::size_t>(Sound_Name::Win)], nullptr);
  EXPECT_EQ(sound.System->Sound_Samples[static_cast<std::size_t>(Sound_Name::Found)], nullptr);

  sound.System->Snd_Play(Sound_Name::Win);
  sound.System->Snd_Play(Sound_Name::Found);
  EXPECT_EQ(sound.Layer->Playing_Count(), 0);
  sound.System->Snd_Play(Sound_Name::Gameover);
  EXPECT_EQ(sound.Layer->Playing_Count(), 1);
  // Whatever was kept of the cut file plays like any other sample, if anything was kept.
  sound.System->Snd_Play(Sound_Name::Dragon);
  sound.System->Sound_Shutdown();
}

TEST(Sdl_Sound_Layer_Test, BrokenArrowFilesAreReportedWithoutACrash) {
  Sound_Folder folder;
  const QByteArray good = folder.Read("Arrow.wav");
  ASSERT_GT(good.size(), 44);
  QByteArray wrong_format = good;
  std::memcpy(wrong_format.data() + 20, "\x55\x00", 2); // an unknown encoding
  QByteArray impossible_header = good;
  std::memset(impossible_header.data() + 22, 0, 2); // zero channels

  struct Case {
    const char* What;
    QByteArray Bytes;
  };
  for (const Case& c :
       {Case{"empty", {}}, Case{"header cut short", good.left(30)},
        Case{"not a sound", QByteArray(4096, 'x')}, Case{"unknown encoding", wrong_format},
        Case{"zero channels", impossible_header}}) {
    SCOPED_TRACE(c.What);
    folder.Write("Arrow.wav", c.Bytes);
    Sdl_Sound sound;
    EXPECT_TRUE(sound.System->Sound_Startup("PulseAudio").Arrow_Failed);
  }

  // In the file's place: a folder; a pipe and a device, which would block or never end if they
  // were read.
  const std::string arrow = folder.Path("Arrow.wav").toStdString();
  const auto not_a_sound = [&](const char* what, const auto& make) {
    SCOPED_TRACE(what);
    std::filesystem::remove_all(arrow);
    make();
    Sdl_Sound sound;
    EXPECT_TRUE(sound.System->Sound_Startup("PulseAudio").Arrow_Failed);
  };
  not_a_sound("a folder", [&] { std::filesystem::create_directory(arrow); });
  not_a_sound("a pipe", [&] { ASSERT_EQ(mkfifo(arrow.c_str(), 0600), 0); });
  not_a_sound("a device", [&] { std::filesystem::create_symlink("/dev/zero", arrow); });
}

// Records the largest single allocation SDL makes while it is alive.
class Sdl_Allocation_Watch {
public:
  Sdl_Allocation_Watch() {
    SDL_GetMemoryFunctions(&Malloc, &Calloc, &Realloc, &Free);
    Largest = 0;
    SDL_SetMemoryFunctions(
        [](std::size_t size) { return Note(size), Malloc(size); },
        [](std::size_t count, std::size_t size) { return Note(count * size), Calloc(count, size); },
        [](void* old, std::size_t size) { return Note(size), Realloc(old, size); },
        [](void* memory) { Free(memory); });
  }
  ~Sdl_Allocation_Watch() { SDL_SetMemoryFunctions(Malloc, Calloc, Realloc, Free); }
  Sdl_Allocation_Watch(const Sdl_Allocation_Watch&) = delete;
  Sdl_Allocation_Watch& operator=(const Sdl_Allocation_Watch&) = delete;

  static inline std::size_t Largest = 0;

private:
  static void Note(std::size_t size) { Largest = std::max(Largest, size); }
  static inline SDL_malloc_func Malloc = nullptr;
  static inline SDL_calloc_func Calloc = nullptr;
  static inline SDL_realloc_func Realloc = nullptr;
  static inline SDL_free_func Free = nullptr;
};

TEST(Sdl_Sound_Layer_Test, AChunkThatClaimsMoreThanTheFileHoldsCostsNoMoreThanTheFile) {
  Sound_Folder folder;
  QByteArray lying = folder.Read("Arrow.wav");
  const qsizetype data = lying.indexOf("data");
  ASSERT_GT(data, 0);
  lying.truncate(data + 8 + 400);
  std::memcpy(lying.data() + data + 4, "\x10\x00\xff\xff", 4); // about 4 GB of samples
  ASSERT_TRUE(lying.startsWith("RIFF"));

  // The decoder takes the file with its RIFF header and without, starting at "WAVE".
  for (const QByteArray& bytes : {lying, lying.mid(8)}) {
    SCOPED_TRACE(bytes.left(4).toStdString());
    folder.Write("Arrow.wav", bytes);
    Sdl_Sound_Layer layer;
    layer.Init(Sound_Mix_Rate, Sound_Channel_Count);
    Sample_Handle arrow = nullptr;
    {
      Sdl_Allocation_Watch watch;
      arrow = layer.Sample_Load("Sound/Arrow.wav");
      EXPECT_LT(Sdl_Allocation_Watch::Largest, std::size_t{1} << 20);
    }
    // What the file holds still plays.
    ASSERT_NE(arrow, nullptr);
    layer.Play_Sound(Any_Free_Channel, arrow);
    EXPECT_EQ(layer.Playing_Count(), 1);
    layer.Close();
    layer.Sample_Free(arrow);
  }
}

TEST(Sdl_Sound_Layer_Test, ADamagedFileThatClaimsAHugeSampleIsRefused) {
  Sound_Folder folder;
  // A voice file of 32 bytes whose one block claims 6.6 MB of 4.5 kHz samples: half a gigabyte
  // once converted to the device's format.
  folder.Write("Huge.wav",
               QByteArray("Creative Voice File\x1a\x1a\x00\x0a\x01\x29\x11\x01ice \x00", 32));
  Sdl_Sound_Layer layer;
  layer.Init(Sound_Mix_Rate, Sound_Channel_Count);
  EXPECT_EQ(layer.Sample_Load("Sound/Huge.wav"), nullptr);
  // The real sounds load as before.
  Sample_Handle gameover = layer.Sample_Load("Sound/Gameover.wav");
  EXPECT_NE(gameover, nullptr);
  layer.Sample_Free(gameover);
}

TEST(Sdl_Sound_Layer_Test, AFileOfNoKnownKindLeavesNothingOpenBehind) {
  Sound_Folder folder;
  folder.Write("Odd.wav", QByteArray("\0\0\0\0\0\0\0\x09\0", 9));
  auto open_files = [] {
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return std::distance(begin(entries), end(entries));
  };
  Sdl_Sound_Layer layer;
  layer.Init(Sound_Mix_Rate, Sound_Channel_Count);
  Sample_Handle step = layer.Sample_Load("Sound/Step.wav"); // the device is open from here on
  ASSERT_NE(step, nullptr);
  const auto before = open_files();
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(layer.Sample_Load("Sound/Odd.wav"), nullptr);
  EXPECT_EQ(open_files(), before);
  layer.Sample_Free(step);
}

TEST(Sdl_Sound_Layer_Test, ADeviceThatCannotOpenLeavesTheGameSilentButLoaded) {
  Sound_Folder folder;
  Scoped_Env driver("SDL_AUDIODRIVER", "no_such_driver");
  Sdl_Sound sound;
  EXPECT_FALSE(sound.System->Sound_Startup("ALSA").Arrow_Failed);
  EXPECT_EQ(sound.Layer->Driver_Name(), "dummy");
  sound.System->Snd_Play(Sound_Name::Found);
  EXPECT_EQ(sound.Layer->Playing_Count(), 1);
}

TEST(Sdl_Sound_Layer_Test, CallsOutOfTheUsualOrderAreHarmless) {
  Sound_Folder folder;
  {
    Sdl_Sound_Layer layer;
    layer.Close(); // never initialised
    layer.Sample_Free(nullptr);
    layer.Play_Sound(Any_Free_Channel, nullptr);
    layer.Stop_Sound(All_Channels);
    EXPECT_EQ(layer.Sample_Load("Sound/Step.wav"), nullptr); // not initialised: nothing to load
    layer.Close();
  }
  Sdl_Sound_Layer layer;
  layer.Init(Sound_Mix_Rate, Sound_Channel_Count);
  Sample_Handle step = layer.Sample_Load("Sound/Step.wav");
  ASSERT_NE(step, nullptr);
  layer.Play_Sound(Any_Free_Channel, step);
  // Choosing another output with a sample loaded reopens the device; the sample still plays.
  layer.Set_Output(Output_Alsa);
  layer.Play_Sound(Any_Free_Channel, step);
  EXPECT_EQ(layer.Playing_Count(), 1);
  layer.Close();
  layer.Close();
  layer.Sample_Free(step); // a sample outlives the closed device
}

TEST(Sdl_Sound_Layer_Test, PlayingPutsTheSoundIntoTheOutput) {
  Sound_Folder folder;
  const std::string output_file = folder.Temp_File("output.raw").toStdString();
  Scoped_Env driver("SDL_AUDIODRIVER", "disk");
  Scoped_Env file("SDL_DISKAUDIOFILE", output_file);
  Sdl_Sound sound;
  ASSERT_FALSE(sound.System->Sound_Startup("PulseAudio").Arrow_Failed);
  ASSERT_EQ(sound.Layer->Driver_Name(), "disk");
  // The game asks for 22050 Hz; the device runs at the sounds' own rate, so none loses its top
  // octave to resampling.
  ASSERT_EQ(sound.Layer->Device_Rate(), 44100);

  // The disk device writes at the pace of a real one; what it wrote before the play is silence.
  auto written = [&] {
    std::error_code error;
    const auto size = std::filesystem::file_size(output_file, error);
    return error ? std::uintmax_t{0} : size;
  };
  const std::uintmax_t before_play = written();
  sound.System->Snd_Play(Sound_Name::Pit);
  // A third of a second of 16-bit stereo, waited for at most five seconds.
  const std::uintmax_t wanted = before_play + 44100 * 4 / 3;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (written() < wanted && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  sound.System->Sound_Shutdown();

  QFile raw(QString::fromStdString(output_file));
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  const QByteArray pcm = raw.readAll();
  ASSERT_GE(static_cast<std::uintmax_t>(pcm.size()), wanted) << "the device wrote too little";
  const auto loud = [&](qsizetype from, qsizetype to) {
    int count = 0;
    for (qsizetype i = from; i + 1 < to; i += 2) {
      std::int16_t sample;
      std::memcpy(&sample, pcm.constData() + i, 2);
      count += sample != 0;
    }
    return count;
  };
  const auto certainly_before = static_cast<qsizetype>(before_play);
  EXPECT_EQ(loud(0, certainly_before), 0);
  EXPECT_GT(loud(certainly_before, pcm.size()), 1000);
}

} // namespace
