// The program's side of sound against a layer that records its calls.
#include "recording_sound_layer.h"
#include "sound/sound_system.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> File_Names = {
    "Sound/Arrow.wav", "Sound/Bat.wav",      "Sound/Cursor.wav", "Sound/Dragon.wav",
    "Sound/Found.wav", "Sound/Gameover.wav", "Sound/Got.wav",    "Sound/Pit.wav",
    "Sound/Step.wav",  "Sound/Step_bat.wav", "Sound/Win.wav"};

std::vector<std::string> Prefixed(const std::string& prefix) {
  std::vector<std::string> calls;
  for (const std::string& name : File_Names)
    calls.push_back(prefix + name);
  return calls;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void Play_Everything(Sound_System& sound) {
  for (int i = 0; i < Sound_Count; ++i)
    sound.Snd_Play(static_cast<Sound_Name>(i));
  sound.Snd_Silence();
}

class Sound_System_Test : public ::testing::Test {
protected:
  std::vector<std::string> Calls;
  Recording_Sound_Layer* Layer = nullptr;
  std::unique_ptr<Sound_System> Sound = [this] {
    auto layer = std::make_unique<Recording_Sound_Layer>(Calls);
    Layer = layer.get();
    return std::make_unique<Sound_System>(std::move(layer));
  }();
};

TEST_F(Sound_System_Test, NoSoundMakesNoLayerCallUntilShutdownWhichFreesElevenNullsAndCloses) {
  const Sound_Startup_Result result = Sound->Sound_Startup("(no sound)");
  EXPECT_FALSE(result.Arrow_Failed);
  EXPECT_FALSE(Sound->Sound_Enabled);

  Play_Everything(*Sound);
  EXPECT_TRUE(Calls.empty());

  Sound->Sound_Shutdown();
  EXPECT_EQ(Calls, Joined(std::vector<std::string>(11, "free null"), {"close"}));
}

TEST_F(Sound_System_Test, EachSoundModeInitialisesChoosesItsOutputAndLoadsTheElevenInOrder) {
  struct Case {
    const char* Text;
    const char* Output;
  };
  for (const Case c : {Case{"PulseAudio", "output 2"}, Case{"ALSA", "output 1"}}) {
    SCOPED_TRACE(c.Text);
    std::vector<std::string> calls;
    Sound_System sound(std::make_unique<Recording_Sound_Layer>(calls));
    const Sound_Startup_Result result = sound.Sound_Startup(c.Text);
    EXPECT_FALSE(result.Arrow_Failed);
    EXPECT_TRUE(sound.Sound_Enabled);
    EXPECT_EQ(calls, Joined({"init 22050 64", c.Output}, Prefixed("load ")));
  }
}

TEST_F(Sound_System_Test, OnlyAMissingArrowIsReported) {
  Layer->Missing = {File_Names.begin() + 1, File_Names.end()};
  EXPECT_FALSE(Sound->Sound_Startup("PulseAudio").Arrow_Failed);

  std::vector<std::string> calls;
  auto owned = std::make_unique<Recording_Sound_Layer>(calls);
  Recording_Sound_Layer* layer = owned.get();
  Sound_System sound(std::move(owned));
  layer->Missing = {"Sound/Arrow.wav"};
  const Sound_Startup_Result result = sound.Sound_Startup("ALSA");
  EXPECT_TRUE(result.Arrow_Failed);
  // All eleven are still attempted.
  EXPECT_EQ(calls, Joined({"init 22050 64", "output 1"}, Prefixed("load ")));
}

TEST_F(Sound_System_Test, PlayingMixesOverAndSilenceStopsAllChannels) {
  Layer->Missing = {"Sound/Win.wav"};
  Sound->Sound_Startup("PulseAudio");
  Calls.clear();

  Sound->Snd_Play(Sound_Name::Step);
  Sound->Snd_Play(Sound_Name::Step);
  Sound->Snd_Play(Sound_Name::Step_bat);
  Sound->Snd_Play(Sound_Name::Win);
  Sound->Snd_Silence();
  EXPECT_EQ(Calls,
            (std::vector<std::string>{"play -1 Sound/Step.wav", "play -1 Sound/Step.wav",
                                      "play -1 Sound/Step_bat.wav", "play -1 null", "stop -3"}));
}

TEST_F(Sound_System_Test, ShutdownFreesEveryHandleInTableOrderThenCloses) {
  Layer->Missing = {"Sound/Got.wav"};
  Sound->Sound_Startup("PulseAudio");
  Calls.clear();

  Sound->Sound_Shutdown();
  std::vector<std::string> expected = Prefixed("free ");
  expected[static_cast<std::size_t>(Sound_Name::Got)] = "free null";
  expected.push_back("close");
  EXPECT_EQ(Calls, expected);
  for (Sample_Handle sample : Sound->Sound_Samples)
    EXPECT_EQ(sample, nullptr);

  // Nothing is freed twice when the system goes away afterwards.
  Calls.clear();
  Sound.reset();
  EXPECT_TRUE(Calls.empty());

  // A run that ends without the shutdown still hands its samples back.
  std::vector<std::string> calls;
  {
    Sound_System sound(std::make_unique<Recording_Sound_Layer>(calls));
    sound.Sound_Startup("ALSA");
    calls.clear();
  }
  EXPECT_EQ(calls, Joined(Prefixed("free "), {"close"}));
}

TEST_F(Sound_System_Test, AnUnknownTextOrASecondStartupChangesNothing) {
  const Sound_Startup_Result unknown = Sound->Sound_Startup("Microsoft DirectSound");
  EXPECT_FALSE(unknown.Arrow_Failed);
  EXPECT_FALSE(Sound->Sound_Enabled);
  Play_Everything(*Sound);
  EXPECT_TRUE(Calls.empty());

  // A start-up that already loaded its samples must not load (and lose) another set.
  std::vector<std::string> calls;
  Sound_System sound(std::make_unique<Recording_Sound_Layer>(calls));
  sound.Sound_Startup("ALSA");
  calls.clear();
  sound.Sound_Startup("PulseAudio");
  EXPECT_TRUE(calls.empty());
}

} // namespace
