// The program's side of sound: the eleven samples, whether sound is on for this run, the
// start-up chosen on the splash screen and the shutdown run by the main window's close.
//
// The start-up neither writes settings nor shows messages; it tells its caller what to do:
//
//   auto result = sound.Sound_Startup(cb_sound->currentText());
//   if (result.Sound_Mode_To_Store) settings.Write_Integer("SoundMode",
//   *result.Sound_Mode_To_Store); if (result.Arrow_Failed) { show Sound_Folder_Error_Text;
//   SoundMode := -1; SplashScreen := true;
//                              quit; }
//
// A caller that wants the SoundMode stored before any sound call maps the text first with
// Sound_Mode_From_Text, stores it, then calls Sound_Startup.
#pragma once

#include "game/sound_output.h"
#include "sound/sound_layer.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <string>

// The splash screen's sound list, in its order; the stored SoundMode is a position in it.
inline constexpr std::array<const char*, 3> Sound_Mode_Texts = {"PulseAudio", "ALSA", "(no sound)"};
inline constexpr int Sound_Mode_Unset = -1;

inline constexpr const char* Sound_Folder_Error_Text =
    "Sound folder unproperly installed. Please reinstall the game.";

struct Sound_Mode {
  int Stored_Value = Sound_Mode_Unset; // position in Sound_Mode_Texts
  bool Enabled = false;
  int Output_Kind = 0; // Output_Pulseaudio or Output_Alsa when enabled
};

// Empty for a text that is not in the sound list.
std::optional<Sound_Mode> Sound_Mode_From_Text(const QString& text);

// "Sound/Arrow.wav" ...: relative to the working directory, as the game folder is laid out.
std::string Sound_File_Name(Sound_Name sound);

struct Sound_Startup_Result {
  // The SoundMode to store; empty when the text named no sound mode (then nothing changed).
  std::optional<int> Sound_Mode_To_Store;
  // The first sample, Arrow, could not be loaded: the sound folder is missing or broken.
  bool Arrow_Failed = false;
};

class Sound_System : public Sound_Output {
public:
  // On SDL2_mixer.
  Sound_System();
  explicit Sound_System(std::unique_ptr<Sound_Layer> layer);
  ~Sound_System() override;
  Sound_System(const Sound_System&) = delete;
  Sound_System& operator=(const Sound_System&) = delete;

  // Runs once per run: later calls change nothing and make no sound call. With "(no sound)"
  // the layer is not touched at all.
  Sound_Startup_Result Sound_Startup(const QString& mode_text);
  // Frees all eleven handles in table order, loaded or not, then closes the layer.
  void Sound_Shutdown();

  void Snd_Play(Sound_Name sound) override;
  void Snd_Silence() override;

  Sound_Layer& Layer() { return *Layer_Impl; }

  bool Sound_Enabled = false;
  // In table order; null when not loaded.
  std::array<Sample_Handle, Sound_Count> Sound_Samples{};

private:
  std::unique_ptr<Sound_Layer> Layer_Impl;
  bool Startup_Done = false;
  bool Layer_Started = false;
};
