// What sound costs the interface thread: loading the eleven samples at start-up, and one play
// call in the game. Runs on SDL's silent "dummy" driver unless SDL_AUDIODRIVER says otherwise.
//
// Every allocation made on the calling thread during the play loop is counted, both C++ and
// SDL's own, and reported per play: it should be zero.
#include "sound/sdl_sound_layer.h"
#include "sound/sound_system.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <utility>

namespace {

thread_local bool Counting = false;
thread_local long Allocations = 0;

SDL_malloc_func Sdl_Malloc = nullptr;
SDL_calloc_func Sdl_Calloc = nullptr;
SDL_realloc_func Sdl_Realloc = nullptr;
SDL_free_func Sdl_Free = nullptr;

void Note_Allocation() {
  if (Counting) ++Allocations;
}

void* Counting_Malloc(size_t size) {
  Note_Allocation();
  return Sdl_Malloc(size);
}
void* Counting_Calloc(size_t count, size_t size) {
  Note_Allocation();
  return Sdl_Calloc(count, size);
}
void* Counting_Realloc(void* p, size_t size) {
  Note_Allocation();
  return Sdl_Realloc(p, size);
}

void Count_Sdl_Allocations() {
  SDL_GetMemoryFunctions(&Sdl_Malloc, &Sdl_Calloc, &Sdl_Realloc, &Sdl_Free);
  SDL_SetMemoryFunctions(Counting_Malloc, Counting_Calloc, Counting_Realloc, Sdl_Free);
}

void Load_All_Samples(benchmark::State& state) {
  Sdl_Sound_Layer layer;
  layer.Init(Sound_Mix_Rate, Sound_Channel_Count);
  std::array<Sample_Handle, Sound_Count> samples{};
  for (auto _ : state) {
    for (int i = 0; i < Sound_Count; ++i)
      samples[static_cast<std::size_t>(i)] =
          layer.Sample_Load(Sound_File_Name(static_cast<Sound_Name>(i)));
    state.PauseTiming();
    for (Sample_Handle& sample : samples) {
      if (!sample) state.SkipWithError("a sample did not load");
      layer.Sample_Free(std::exchange(sample, nullptr));
    }
    state.ResumeTiming();
  }
  layer.Close();
}
BENCHMARK(Load_All_Samples)->Unit(benchmark::kMicrosecond);

void Play_Step(benchmark::State& state) {
  Sound_System sound;
  if (sound.Sound_Startup("PulseAudio").Arrow_Failed) state.SkipWithError("no sound folder");
  long plays = 0;
  Allocations = 0;
  Counting = true;
  for (auto _ : state) {
    sound.Snd_Play(Sound_Name::Step);
    // Keep channels free, as the game's own silences and short sounds do.
    if (++plays % Sound_Channel_Count == 0) sound.Snd_Silence();
  }
  Counting = false;
  state.counters["allocations_per_play"] =
      benchmark::Counter(static_cast<double>(Allocations) / static_cast<double>(plays));
  sound.Sound_Shutdown();
}
BENCHMARK(Play_Step);

} // namespace

void* operator new(std::size_t size) {
  Note_Allocation();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  Count_Sdl_Allocations();
  // The sample names are relative to the game folder.
  std::filesystem::current_path(std::filesystem::path(GAME_SOUND_DIR).parent_path());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
