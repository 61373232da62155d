#include "input/game_controllers.h"

#include <SDL.h>

#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <linux/netlink.h>
#include <optional>
#include <poll.h>
#include <span>
#include <sys/socket.h>

namespace {

// One control of a pad and what it stands for, in the order of the bindings (so an unplugged
// pad lets go of its buttons as the window lets go of keys), the D-pad after them.
struct Pad_Control {
  int Button;
  std::uint16_t Code;
  const char* Name;
};
const std::array<Pad_Control, 8> Pad_Controls = {{
    {SDL_CONTROLLER_BUTTON_START, Button_Code(Binding_All_Clear), "start"},
    {SDL_CONTROLLER_BUTTON_X, Button_Code(Binding_Cursor), "west"},
    {SDL_CONTROLLER_BUTTON_A, Button_Code(Binding_Attack), "south"},
    {SDL_CONTROLLER_BUTTON_B, Button_Code(Binding_Move), "east"},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, Vk::Up, "dpad up"},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Vk::Right, "dpad right"},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Vk::Down, "dpad down"},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Vk::Left, "dpad left"},
}};

// The left stick is one control of its pad, beyond SDL's button numbers; it holds one direction
// at a time. Directions 1..4 as the cursor's: up, right, down, left.
constexpr std::uint32_t Stick_Control = 0x1000;
constexpr std::array<std::uint16_t, 5> Stick_Codes = {0, Vk::Up, Vk::Right, Vk::Down, Vk::Left};
constexpr std::array<const char*, 5> Stick_Names = {"", "stick up", "stick right", "stick down",
                                                    "stick left"};

// The direction the stick points at (x, y) when it pointed `held` before (SDL's y grows
// downwards). A held direction lasts while the stick stays past the release mark along it; a new
// one is taken past the press mark, on the axis pushed further.
int Stick_Direction(int held, int x, int y) {
  const std::array<int, 5> along = {0, -y, x, y, -x};
  if (held != 0 && along[static_cast<std::size_t>(held)] >= Game_Controllers::Stick_Release)
    return held;
  const int ax = std::abs(x), ay = std::abs(y);
  if (std::max(ax, ay) < Game_Controllers::Stick_Press) return 0;
  if (ax >= ay) return x > 0 ? 2 : 4;
  return y > 0 ? 3 : 1;
}

// The process's open files, by number.
std::vector<int> Open_Files() {
  std::vector<int> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit))
      files.push_back(std::stoi(name));
  }
  return files;
}

std::string File_Target(int fd) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

// What SDL watches for plugged devices: a kernel device-event socket (udev's monitor) or, where
// udev is not used, an inotify watch of /dev/input.
bool Is_Hotplug_Monitor(int fd) {
  if (File_Target(fd) == "anon_inode:inotify") return true;
  int domain = 0, protocol = 0;
  socklen_t size = sizeof(int);
  if (getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &domain, &size) != 0 || domain != AF_NETLINK)
    return false;
  size = sizeof(int);
  return getsockopt(fd, SOL_SOCKET, SO_PROTOCOL, &protocol, &size) == 0 &&
         protocol == NETLINK_KOBJECT_UEVENT;
}

// A pad's device file: the evdev node or the raw HID node SDL reads it from. Nothing else in the
// program opens these.
bool Is_Device_File(int fd) {
  const std::string target = File_Target(fd);
  return target.starts_with("/dev/input/") || target.starts_with("/dev/hidraw");
}

// Activations in a row of a file that SDL left readable without taking anything from it, after
// which the file is no longer watched (until the next plug-in or unplug): a pad gone dead, or a
// file SDL does not read when pumped, would otherwise wake the loop without end.
constexpr int Max_Idle_Wakes = 100;

} // namespace

Game_Controllers::Game_Controllers(Held_Inputs& held, Handler press, Handler release,
                                   std::function<bool()> accepting, QObject* parent)
    : QObject(parent), Held(held), On_Press(std::move(press)), On_Release(std::move(release)),
      Accepting(std::move(accepting)) {
  Rescan.setTimerType(Qt::CoarseTimer);
  connect(&Rescan, &QTimer::timeout, this, [this] { Pump(); });
}

Game_Controllers::~Game_Controllers() {
  if (!Started) return;
  Stop_Watching();
  for (Pad& pad : Pads)
    SDL_GameControllerClose(pad.Controller);
  Pads.clear();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  // The sound may have let go of SDL already; then nothing else uses it.
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool Game_Controllers::Start() {
  if (Started) return true;
  // SDL must leave SIGINT and SIGTERM to the program; South, East and West are places on the
  // pad, whatever letters a maker prints on them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  // SDL's files are those open after its start that were not before, by number and by what
  // they are: the number of a file closed meanwhile (the listing's own) may come back.
  std::vector<std::pair<int, std::string>> before;
  for (int fd : Open_Files())
    before.emplace_back(fd, File_Target(fd));
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    Say(std::string("pads unavailable: ") + SDL_GetError());
    return false;
  }
  Started = true;
  for (int fd : Open_Files())
    if (std::find(before.begin(), before.end(), std::pair(fd, File_Target(fd))) == before.end() &&
        Is_Hotplug_Monitor(fd))
      Hotplug_Files.push_back(fd);
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_IsGameController(i)) Open(i);
  Pump(); // SDL's word of the pads just opened
  Watch_Files();
  if (Hotplug_Files.empty()) Rescan.start(3000);
  return true;
}

int Game_Controllers::Pump() {
  if (!Started) return 0;
  SDL_GameControllerUpdate();
  bool plugged = false;
  int taken = 0;
  SDL_Event events[32];
  int count = 0;
  // Everything queued is taken: nothing else in the program reads SDL's events.
  while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    taken += count;
    for (const SDL_Event& event : std::span(events, static_cast<std::size_t>(count))) {
      switch (event.type) {
      case SDL_CONTROLLERDEVICEADDED: plugged = Open(event.cdevice.which) || plugged; break;
      case SDL_CONTROLLERDEVICEREMOVED:
        // The pad's files close with it: stop watching them first.
        Stop_Watching();
        Close(event.cdevice.which);
        plugged = true;
        break;
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        Button(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
      case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = Find(event.caxis.which)) {
          if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            pad->X = event.caxis.value;
            Stick_Moved(*pad);
          } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
            pad->Y = event.caxis.value;
            Stick_Moved(*pad);
          }
        }
        break;
      default: break;
      }
    }
  }
  if (plugged) Watch_Files();
  return taken;
}

bool Game_Controllers::Open(int device_index) {
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
  if (id < 0 || Find(id)) return false;
  SDL_GameController* controller = SDL_GameControllerOpen(device_index);
  if (!controller) {
    Say(std::string("pad not opened: ") + SDL_GetError());
    return false;
  }
  Pads.push_back({controller, id});
  const char* name = SDL_GameControllerName(controller);
  Say("pad added " + std::to_string(id) + " " + (name ? name : "(unnamed)"));
  return true;
}

void Game_Controllers::Close(std::int32_t id) {
  const auto pad =
      std::find_if(Pads.begin(), Pads.end(), [id](const Pad& p) { return p.Id == id; });
  if (pad == Pads.end()) return;
  // What the pad held is let go of, as a key is when the window loses the keyboard. SDL
  // reports a removed pad's buttons as let go of before the removal; this catches whatever it
  // did not.
  const auto device = static_cast<std::uint32_t>(id);
  for (const Pad_Control& control : Pad_Controls)
    Up({Input_Source::Controller, device, static_cast<std::uint32_t>(control.Button)},
       control.Name);
  if (pad->Stick != 0)
    Up({Input_Source::Controller, device, Stick_Control},
       Stick_Names[static_cast<std::size_t>(pad->Stick)]);
  SDL_GameControllerClose(pad->Controller);
  Pads.erase(pad);
  Say("pad removed " + std::to_string(id));
}

Game_Controllers::Pad* Game_Controllers::Find(std::int32_t id) {
  const auto pad =
      std::find_if(Pads.begin(), Pads.end(), [id](const Pad& p) { return p.Id == id; });
  return pad == Pads.end() ? nullptr : &*pad;
}

void Game_Controllers::Button(std::int32_t id, int button, bool down) {
  const auto control = std::find_if(Pad_Controls.begin(), Pad_Controls.end(),
                                    [button](const Pad_Control& c) { return c.Button == button; });
  if (control == Pad_Controls.end() || !Find(id)) return;
  const Physical_Input input{Input_Source::Controller, static_cast<std::uint32_t>(id),
                             static_cast<std::uint32_t>(button)};
  if (down)
    Down(input, control->Code, control->Name);
  else
    Up(input, control->Name);
}

void Game_Controllers::Stick_Moved(Pad& pad) {
  const int direction = Stick_Direction(pad.Stick, pad.X, pad.Y);
  if (direction == pad.Stick) return;
  const Physical_Input input{Input_Source::Controller, static_cast<std::uint32_t>(pad.Id),
                             Stick_Control};
  if (pad.Stick != 0) Up(input, Stick_Names[static_cast<std::size_t>(pad.Stick)]);
  pad.Stick = direction;
  if (direction != 0)
    Down(input, Stick_Codes[static_cast<std::size_t>(direction)],
         Stick_Names[static_cast<std::size_t>(direction)]);
}

void Game_Controllers::Down(Physical_Input input, std::uint16_t code, const std::string& name) {
  if (Accepting && !Accepting()) {
    Say("pad down " + name + " ignored");
    return;
  }
  if (!Held.Press(input, code)) return;
  Say("pad down " + name);
  if (On_Press) On_Press(code);
}

void Game_Controllers::Up(Physical_Input input, const std::string& name) {
  // Nothing to let go of when the press did not count or the window let go of it already.
  const std::optional<std::uint16_t> code = Held.Release(input);
  if (!code) return;
  Say("pad up " + name);
  if (On_Release) On_Release(*code);
}

void Game_Controllers::Say(const std::string& line) const {
  if (Note) Note(line);
}

void Game_Controllers::Watch_Files() {
  Stop_Watching();
  std::vector<int> files = Hotplug_Files;
  for (int fd : Open_Files())
    if (Is_Device_File(fd)) files.push_back(fd);
  for (int fd : files) {
    auto* watch = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(watch, &QSocketNotifier::activated, this, [this, fd] { File_Ready(fd); });
    Watches.push_back(watch);
  }
  std::string line = "pad files";
  for (int fd : files)
    line += " " + std::to_string(fd);
  Say(line);
}

void Game_Controllers::Stop_Watching() {
  // A notifier may be the one whose signal runs now: it is disabled at once and deleted later.
  for (QSocketNotifier* watch : Watches) {
    watch->setEnabled(false);
    watch->deleteLater();
  }
  Watches.clear();
  Idle_Wakes = 0;
}

void Game_Controllers::File_Ready(int fd) {
  if (Pump() > 0) {
    Idle_Wakes = 0;
    return;
  }
  pollfd file{fd, POLLIN, 0};
  if (poll(&file, 1, 0) <= 0) {
    Idle_Wakes = 0;
    return;
  }
  if (++Idle_Wakes < Max_Idle_Wakes) return;
  for (QSocketNotifier* watch : Watches)
    if (watch->socket() == fd) watch->setEnabled(false);
  Idle_Wakes = 0;
  Say("pad file " + std::to_string(fd) + " no longer watched");
}
