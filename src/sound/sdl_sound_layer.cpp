#include "sound/sdl_sound_layer.h"

#include "sdl/sdl_library.h"

#include "sound/sound_modes.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The game's sounds are made at 44100 Hz, their top octave reaching up to 20 kHz. Mixing them
// at the program's usual 22050 Hz would resample them down and lose it, so the device runs at
// least at their rate.
constexpr int Sound_File_Rate = 44100;

// 1024 frames at 22050 Hz, about 46 ms, whatever the rate: short enough for a step tick to sound
// with its picture, long enough for a busy desktop not to starve the device. A power of two,
// which every driver takes.
int Chunk_Size(int rate) {
  return static_cast<int>(std::bit_floor(static_cast<unsigned>(rate) * 1024u / 22050u));
}

// The piezo sounds are mono; stereo output is what every device accepts without fuss.
constexpr int Output_Channels = 2;

Mix_Chunk* Chunk_Of(Sample_Handle sample) {
  return reinterpret_cast<Mix_Chunk*>(sample);
}

// The sounds are short beeps of a few kilobytes; a file far beyond that is no sound of ours and
// is not read into memory.
constexpr std::uintmax_t Max_Sample_File_Size = 64 * 1024 * 1024;

// No sample of the game comes near this. A damaged file whose header claims a huge sample (a
// voice file of 32 bytes can ask for half a gigabyte once converted) is refused instead.
constexpr std::size_t Max_Sdl_Allocation = std::size_t{64} << 20;

struct Sdl_Allocator {
  SDL_malloc_func Malloc = nullptr;
  SDL_calloc_func Calloc = nullptr;
  SDL_realloc_func Realloc = nullptr;
  SDL_free_func Free = nullptr;
};

Sdl_Allocator& Original_Allocator() {
  static Sdl_Allocator allocator;
  return allocator;
}

// Installed once, before the first device opens; what SDL allocated before is freed by the
// same functions underneath.
void Limit_Sdl_Allocations() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  Sdl_Allocator& original = Original_Allocator();
  Sdl().SDL_GetMemoryFunctions(&original.Malloc, &original.Calloc, &original.Realloc,
                               &original.Free);
  Sdl().SDL_SetMemoryFunctions(
      [](std::size_t size) -> void* {
        return size > Max_Sdl_Allocation ? nullptr : Original_Allocator().Malloc(size);
      },
      [](std::size_t count, std::size_t size) -> void* {
        if (size != 0 && count > Max_Sdl_Allocation / size) return nullptr;
        return Original_Allocator().Calloc(count, size);
      },
      [](void* memory, std::size_t size) -> void* {
        return size > Max_Sdl_Allocation ? nullptr : Original_Allocator().Realloc(memory, size);
      },
      [](void* memory) { Original_Allocator().Free(memory); });
}

std::optional<std::vector<unsigned char>> Read_File(const std::string& file_name) {
  // Only a plain file is opened: a pipe in its place would block the start for good, and a
  // device such as /dev/zero would never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(file_name, error) ||
      std::filesystem::file_size(file_name, error) > Max_Sample_File_Size || error)
    return std::nullopt;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(file_name.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) return std::nullopt;
  std::vector<unsigned char> bytes;
  unsigned char piece[65536];
  std::size_t got = 0;
  while ((got = std::fread(piece, 1, sizeof piece, file.get())) > 0) {
    bytes.insert(bytes.end(), piece, piece + got);
    if (bytes.size() > Max_Sample_File_Size) return std::nullopt; // it grew while being read
  }
  // A folder in the file's place opens but cannot be read.
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

// The decoder allocates whatever a WAV chunk header claims before it reads the chunk, so a
// damaged or cut-short file could ask for up to 4 GB. Every chunk that runs past the end of the
// file is cut to what the file holds; the decoder then plays what is there.
void Fit_Wave_Chunks_To_File(std::vector<unsigned char>& bytes) {
  // The decoder also takes a file whose RIFF header is missing and that starts with "WAVE".
  std::size_t at = 0;
  if (bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0)
    at = 12;
  else if (bytes.size() >= 4 && std::memcmp(bytes.data(), "WAVE", 4) == 0)
    at = 4;
  else
    return;
  while (at + 8 <= bytes.size()) {
    unsigned char* length_field = bytes.data() + at + 4;
    const std::uint32_t length =
        std::uint32_t(length_field[0]) | std::uint32_t(length_field[1]) << 8 |
        std::uint32_t(length_field[2]) << 16 | std::uint32_t(length_field[3]) << 24;
    const std::size_t room = bytes.size() - at - 8;
    if (length > room) {
      for (int i = 0; i < 4; ++i)
        length_field[i] = static_cast<unsigned char>(room >> (8 * i));
      return;
    }
    at += 8 + length + (length & 1); // chunks are padded to an even length
  }
}

} // namespace

Sdl_Sound_Layer::~Sdl_Sound_Layer() {
  Close();
}

void Sdl_Sound_Layer::Init(int mix_rate, int channel_count) {
  // Without SDL there is no sound: no sample loads, and every other call does nothing.
  if (!Sdl().Loaded()) return;
  Limit_Sdl_Allocations();
  // SDL must leave SIGINT and SIGTERM to the program.
  Sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  Sdl().SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Grathmoor");
  Mix_Rate = mix_rate > 0 ? mix_rate : Sound_Mix_Rate;
  Channel_Count = channel_count > 0 ? channel_count : Sound_Channel_Count;
  Initialised = true;
}

void Sdl_Sound_Layer::Set_Output(int output_kind) {
  const Sound_Mode* mode = Sound_Mode_Of_Output(output_kind);
  Driver = mode ? mode->Sdl_Driver : nullptr;
  // A device already open is reopened on the new driver. Samples keep working: the device
  // format is fixed, SDL converts to whatever the hardware wants.
  if (Device_Open) {
    Close_Device();
    Open_Device();
  }
}

bool Sdl_Sound_Layer::Try_Open(const char* driver, bool override_environment) {
  if (driver)
    Sdl().SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver,
                                  override_environment ? SDL_HINT_OVERRIDE : SDL_HINT_NORMAL);
  else
    Sdl().SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  bool opened = false;
  if (Sdl().SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    // No format changes allowed: every sample is converted once, at load, to exactly this
    // format, and stays playable if the device is reopened on another driver.
    const int rate = std::max(Mix_Rate, Sound_File_Rate);
    opened = Sdl().Mix_OpenAudioDevice(rate, AUDIO_S16SYS, Output_Channels, Chunk_Size(rate),
                                       nullptr, 0) == 0;
    if (!opened) Sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  Sdl().SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return opened;
}

bool Sdl_Sound_Layer::Open_Device() {
  if (Device_Open) return true;
  if (!Initialised) return false;
  Device_Open = Try_Open(Driver, false) || Try_Open("dummy", true);
  if (Device_Open) Sdl().Mix_AllocateChannels(Channel_Count);
  return Device_Open;
}

void Sdl_Sound_Layer::Close_Device() {
  if (!Device_Open) return;
  Sdl().Mix_HaltChannel(-1);
  Sdl().Mix_CloseAudio();
  Sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
  Device_Open = false;
}

Sample_Handle Sdl_Sound_Layer::Sample_Load(const std::string& file_name) {
  // SDL_mixer converts a sample to the device's format as it loads it, so it refuses to load
  // before a device is open; the dummy fallback makes sure one is.
  if (!Open_Device()) return nullptr;
  std::optional<std::vector<unsigned char>> bytes = Read_File(file_name);
  if (!bytes || bytes->size() > INT_MAX) return nullptr;
  Fit_Wave_Chunks_To_File(*bytes);
  SDL_RWops* source = Sdl().SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
  if (!source) return nullptr;
  // The sample is decoded into memory of its own: the bytes may go once it has loaded. The
  // source is closed here: the mixer forgets to on some of its paths for unknown formats.
  Mix_Chunk* chunk = Sdl().Mix_LoadWAV_RW(source, 0);
  Sdl().SDL_RWclose(source);
  return reinterpret_cast<Sample_Handle>(chunk);
}

void Sdl_Sound_Layer::Play_Sound(int channel, Sample_Handle sample) {
  if (!sample || !Device_Open) return;
  Sdl().Mix_PlayChannel(channel < 0 ? -1 : channel, Chunk_Of(sample), 0);
}

void Sdl_Sound_Layer::Stop_Sound(int channel) {
  if (!Device_Open) return;
  if (channel == All_Channels)
    Sdl().Mix_HaltChannel(-1);
  else if (channel >= 0)
    Sdl().Mix_HaltChannel(channel);
}

void Sdl_Sound_Layer::Sample_Free(Sample_Handle sample) {
  if (sample) Sdl().Mix_FreeChunk(Chunk_Of(sample));
}

void Sdl_Sound_Layer::Close() {
  Close_Device();
  if (!Initialised) return;
  Initialised = false;
  // Nothing else in the program uses SDL: release what it keeps (hints, its thread state).
  if (Sdl().SDL_WasInit(SDL_INIT_EVERYTHING) == 0) Sdl().SDL_Quit();
}

std::string Sdl_Sound_Layer::Driver_Name() const {
  const char* name = Device_Open ? Sdl().SDL_GetCurrentAudioDriver() : nullptr;
  return name ? name : "";
}

int Sdl_Sound_Layer::Device_Rate() const {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  return Device_Open && Sdl().Mix_QuerySpec(&rate, &format, &channels) != 0 ? rate : 0;
}

int Sdl_Sound_Layer::Playing_Count() const {
  return Device_Open ? Sdl().Mix_Playing(-1) : 0;
}
