// The program's side of sound: the eleven samples, whether sound is on for this run, the
// start-up chosen on the splash screen and the shutdown run by the main window's close.
//
// The start-up neither writes settings nor shows messages; when the sound folder is broken it
// says so, and its caller shows Sound_Folder_Error_Text.
#pragma once

#include "game/sound_output.h"
#include "sound/sound_layer.h"
#include "sound/sound_modes.h"

#include <QString>
#include <array>
#include <memory>
#include <string>

// What the player is told when the sound folder is missing or broken.
inline constexpr const char* Sound_Folder_Error_Text =
    "Sound folder unproperly installed. Please reinstall the game.";

// "Sound/Arrow.wav" ...: relative to the working directory, as the game folder is laid out.
std::string Sound_File_Name(Sound_Name sound);

struct Sound_Startup_Result {
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

  // Runs once per run, for the mode with this list text: later calls change nothing and make no
  // sound call. With "(no sound)" the layer is not touched at all.
  Sound_Startup_Result Sound_Startup(const QString& mode_text);
  // Frees all eleven handles in table order, loaded or not, then closes the layer.
  void Sound_Shutdown();

  void Snd_Play(Sound_Name sound) override;
  void Snd_Silence() override;

  bool Sound_Enabled = false;
  // In table order; null when not loaded.
  std::array<Sample_Handle, Sound_Count> Sound_Samples{};

private:
  std::unique_ptr<Sound_Layer> Layer_Impl;
  bool Startup_Done = false;
  bool Layer_Started = false;
};
