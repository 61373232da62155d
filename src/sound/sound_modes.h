// The sound modes the player chooses from on the splash screen, in the order of its list: the
// list's text, the output kind handed to the sound layer, the SoundMode stored for it and the
// SDL audio driver that output kind opens.
#pragma once

#include "sound/sound_layer.h"

#include <QLatin1String>
#include <QString>
#include <array>

struct Sound_Mode {
  const char* Text;
  int Output_Kind; // 0: no sound, the layer is never touched
  int Stored_Value;
  const char* Sdl_Driver; // null without sound
};

inline constexpr std::array<Sound_Mode, 3> Sound_Modes = {{
    {"PulseAudio", Output_Pulseaudio, 0, "pulseaudio"}, // PipeWire serves it too
    {"ALSA", Output_Alsa, 1, "alsa"},
    {"(no sound)", 0, 2, nullptr},
}};

// The stored SoundMode when no mode is chosen.
inline constexpr int Sound_Mode_Unset = -1;

// The mode with that list text or output kind; null when there is none.
inline const Sound_Mode* Sound_Mode_From_Text(const QString& text) {
  for (const Sound_Mode& mode : Sound_Modes)
    if (text == QLatin1String(mode.Text)) return &mode;
  return nullptr;
}
inline const Sound_Mode* Sound_Mode_Of_Output(int output_kind) {
  for (const Sound_Mode& mode : Sound_Modes)
    if (mode.Output_Kind != 0 && mode.Output_Kind == output_kind) return &mode;
  return nullptr;
}
