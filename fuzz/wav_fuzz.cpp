// Sound files as the sound layer loads them: a sample that cannot be decoded must give a null
// handle, never a crash. SDL's silent "dummy" driver stands in for a sound card.
#include "fuzz_support.h"
#include "sound/sdl_sound_layer.h"

#include <cstdlib>
#include <cstring>

namespace {

Sdl_Sound_Layer& Layer() {
  static Sdl_Sound_Layer layer;
  return layer;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Layer().Init(Sound_Mix_Rate, Sound_Channel_Count);
  Layer().Set_Output(Output_Pulseaudio);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A MIDI file goes to the synthesiser, which loads its whole instrument set for every file
  // (over a second each): left out, so the run's time goes to the sample formats.
  if (size >= 4 && std::memcmp(data, "MThd", 4) == 0) return 0;
  const QString path = Fuzz::Scratch_Folder() + "sound.wav";
  if (!Fuzz::Write_File(path, data, size)) return 0;
  const Sample_Handle sample = Layer().Sample_Load(path.toStdString());
  if (sample) {
    Layer().Play_Sound(Any_Free_Channel, sample);
    Layer().Stop_Sound(All_Channels);
  }
  Layer().Sample_Free(sample);
  return 0;
}
