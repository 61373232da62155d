// A sound layer that writes down every call. A loaded handle points at the file name it was
// loaded from, so calls that take a handle can be written down by name.
#pragma once

#include "sound/sound_layer.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

class Recording_Sound_Layer : public Sound_Layer {
public:
  // The log outlives the layer, so calls made while the owner is destroyed can be read too.
  explicit Recording_Sound_Layer(std::vector<std::string>& log) : Calls(log) {}

  void Init(int mix_rate, int channel_count) override {
    Calls.push_back("init " + std::to_string(mix_rate) + " " + std::to_string(channel_count));
  }
  void Set_Output(int output_kind) override {
    Calls.push_back("output " + std::to_string(output_kind));
  }
  Sample_Handle Sample_Load(const std::string& file_name) override {
    Calls.push_back("load " + file_name);
    if (Missing.contains(file_name)) return nullptr;
    return reinterpret_cast<Sample_Handle>(&Loaded.emplace_back(file_name));
  }
  void Play_Sound(int channel, Sample_Handle sample) override {
    Calls.push_back("play " + std::to_string(channel) + " " + Name_Of(sample));
  }
  void Stop_Sound(int channel) override { Calls.push_back("stop " + std::to_string(channel)); }
  void Sample_Free(Sample_Handle sample) override { Calls.push_back("free " + Name_Of(sample)); }
  void Close() override { Calls.push_back("close"); }

  // File names whose load fails.
  std::set<std::string> Missing;

private:
  static std::string Name_Of(Sample_Handle sample) {
    return sample ? *reinterpret_cast<const std::string*>(sample) : "null";
  }

  std::vector<std::string>& Calls;
  std::deque<std::string> Loaded; // a deque keeps earlier handles valid as it grows
};
