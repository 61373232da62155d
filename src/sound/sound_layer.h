// The sound layer: the seven calls the program makes to produce sound. The program only holds
// sample handles; what a handle points to belongs to the layer.
#pragma once

#include <string>

// Opaque: a layer hands out pointers to its own sample objects as this type.
struct Sound_Sample;
using Sample_Handle = Sound_Sample*;

inline constexpr int Sound_Mix_Rate = 22050;
inline constexpr int Sound_Channel_Count = 64;
// Output kinds: which audio device the layer opens.
inline constexpr int Output_Alsa = 1;
inline constexpr int Output_Pulseaudio = 2;
// Channel arguments of Play_Sound and Stop_Sound.
inline constexpr int Any_Free_Channel = -1;
inline constexpr int All_Channels = -3;

class Sound_Layer {
public:
  virtual ~Sound_Layer() = default;
  virtual void Init(int mix_rate, int channel_count) = 0;
  virtual void Set_Output(int output_kind) = 0;
  // Reads and decodes the whole file into memory; null when it cannot be read or decoded. The
  // sample is ready to play on return.
  virtual Sample_Handle Sample_Load(const std::string& file_name) = 0;
  // Starts the sample at once and returns; a null handle plays nothing. Never waits for sound.
  virtual void Play_Sound(int channel, Sample_Handle sample) = 0;
  virtual void Stop_Sound(int channel) = 0;
  // Null is allowed.
  virtual void Sample_Free(Sample_Handle sample) = 0;
  // Allowed even if Init never ran.
  virtual void Close() = 0;
};
