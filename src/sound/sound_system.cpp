#include "sound/sound_system.h"

#include "sound/sdl_sound_layer.h"

#include <utility>

std::string Sound_File_Name(Sound_Name sound) {
  return "Sound/" + std::string(Sound_Name_Text(sound)) + ".wav";
}

Sound_System::Sound_System() : Sound_System(std::make_unique<Sdl_Sound_Layer>()) {}

Sound_System::Sound_System(std::unique_ptr<Sound_Layer> layer) : Layer_Impl(std::move(layer)) {}

Sound_System::~Sound_System() {
  // A run that ended without the main window's close still hands the samples back.
  for (Sample_Handle& sample : Sound_Samples)
    if (sample) Layer_Impl->Sample_Free(std::exchange(sample, nullptr));
  if (Layer_Started) Layer_Impl->Close();
}

Sound_Startup_Result Sound_System::Sound_Startup(const QString& mode_text) {
  Sound_Startup_Result result;
  if (Startup_Done) return result;
  Startup_Done = true;

  const Sound_Mode* mode = Sound_Mode_From_Text(mode_text);
  Sound_Enabled = mode && mode->Output_Kind != 0;
  if (!Sound_Enabled) return result;

  Layer_Impl->Init(Sound_Mix_Rate, Sound_Channel_Count);
  Layer_Impl->Set_Output(mode->Output_Kind);
  Layer_Started = true;
  for (int i = 0; i < Sound_Count; ++i)
    Sound_Samples[static_cast<std::size_t>(i)] =
        Layer_Impl->Sample_Load(Sound_File_Name(static_cast<Sound_Name>(i)));
  // Arrow stands for the whole folder; any other missing sound is merely silent.
  result.Arrow_Failed = Sound_Samples[static_cast<std::size_t>(Sound_Name::Arrow)] == nullptr;
  return result;
}

void Sound_System::Sound_Shutdown() {
  for (Sample_Handle& sample : Sound_Samples)
    Layer_Impl->Sample_Free(std::exchange(sample, nullptr));
  Layer_Impl->Close();
  Layer_Started = false;
}

void Sound_System::Snd_Play(Sound_Name sound) {
  if (!Sound_Enabled) return;
  Layer_Impl->Play_Sound(Any_Free_Channel, Sound_Samples[static_cast<std::size_t>(sound)]);
}

void Sound_System::Snd_Silence() {
  if (!Sound_Enabled) return;
  Layer_Impl->Stop_Sound(All_Channels);
}
