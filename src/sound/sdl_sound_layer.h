// The sound layer on SDL2_mixer, using SDL's audio subsystem only. The device is opened on the
// first call that needs it (usually the first load), with the driver the output kind chose:
// "pulseaudio" or "alsa". A device that cannot be opened is replaced by SDL's silent "dummy"
// driver, so samples still load and the game runs on without sound. The SDL_AUDIODRIVER
// environment variable, when set, takes precedence over the output kind.
//
// SDL_mixer keeps one device for the whole process: keep at most one layer open at a time.
#pragma once

#include "sound/sound_layer.h"

#include <string>

class Sdl_Sound_Layer : public Sound_Layer {
public:
  Sdl_Sound_Layer() = default;
  ~Sdl_Sound_Layer() override;
  Sdl_Sound_Layer(const Sdl_Sound_Layer&) = delete;
  Sdl_Sound_Layer& operator=(const Sdl_Sound_Layer&) = delete;

  void Init(int mix_rate, int channel_count) override;
  void Set_Output(int output_kind) override;
  Sample_Handle Sample_Load(const std::string& file_name) override;
  void Play_Sound(int channel, Sample_Handle sample) override;
  void Stop_Sound(int channel) override;
  void Sample_Free(Sample_Handle sample) override;
  void Close() override;

  // The SDL driver of the open device ("pulseaudio", "alsa", "dummy", ...); empty when no
  // device is open.
  std::string Driver_Name() const;
  // The rate the open device mixes at, in Hz: at least the game's sounds' own 44100, whatever
  // mix rate Init was given. 0 when no device is open.
  int Device_Rate() const;
  // How many channels are sounding right now.
  int Playing_Count() const;

private:
  bool Open_Device();
  bool Try_Open(const char* driver, bool override_environment);
  void Close_Device();

  bool Initialised = false;
  bool Device_Open = false;
  int Mix_Rate = Sound_Mix_Rate;
  int Channel_Count = Sound_Channel_Count;
  const char* Driver = nullptr; // null: SDL's own choice
};
