#include "input/game_controllers.h"

#include "sdl/sdl_library.h"

#include "settings/settings_key.h"

#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/netlink.h>
#include <optional>
#include <span>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

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

// The device events udev sends once it has set a device up, as SDL's own udev monitor hears
// them; -1 where there is no such socket.
int Open_Device_Event_Socket() {
  const int socket_file =
      socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
  if (socket_file < 0) return -1;
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = 2; // udev's group; the kernel's own (1) comes before udev is done
  if (bind(socket_file, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(socket_file);
    return -1;
  }
  return socket_file;
}

// Device files appearing, going and changing their rights in /dev/input, as SDL sees them
// where it does without udev; -1 where there is no such folder.
int Open_Input_Folder_Watch() {
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0) return -1;
  if (inotify_add_watch(watch, "/dev/input", IN_CREATE | IN_DELETE | IN_MOVE | IN_ATTRIB) < 0) {
    close(watch);
    return -1;
  }
  return watch;
}

// Reads all a file has, so that it is quiet until something new comes; false when it has
// ended or failed (a pad pulled out) and can only wake the loop in vain from now on.
bool Drain(int file) {
  // Large enough for a whole inotify event, a netlink message, a HID report or evdev events.
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(file, buffer, sizeof buffer);
    if (got > 0) continue;
    // A device-event socket that overflowed says so once and goes on.
    if (got < 0 && (errno == EINTR || errno == ENOBUFS)) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

// A community mapping file is some hundred kilobytes: anything far beyond is not one.
constexpr std::uintmax_t Max_Mapping_File_Size = 16 * 1024 * 1024;

} // namespace

Game_Controllers::Game_Controllers(Held_Inputs& held, Handler press, Handler release,
                                   std::function<bool()> accepting, QObject* parent)
    : QObject(parent), Held(held), On_Press(std::move(press)), On_Release(std::move(release)),
      Accepting(std::move(accepting)) {
  Device_File = [](SDL_Joystick* joystick) {
    const char* path = Sdl().SDL_JoystickPath(joystick);
    return std::string(path ? path : "");
  };
  Poll.setTimerType(Qt::CoarseTimer);
  connect(&Poll, &QTimer::timeout, this, [this] { Pump(); });
}

Game_Controllers::~Game_Controllers() {
  if (!Started) return;
  for (Pad& pad : Pads) {
    Stop_Watching(pad);
    Sdl().SDL_GameControllerClose(pad.Controller);
  }
  Pads.clear();
  for (int file : Plug_Files)
    close(file);
  Sdl().SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  // The sound may have let go of SDL already; then nothing else uses it.
  if (Sdl().SDL_WasInit(SDL_INIT_EVERYTHING) == 0) Sdl().SDL_Quit();
}

std::future<void> Game_Controllers::Load_Library_Ahead() {
  return std::async(std::launch::async, [] { Sdl(); });
}

bool Game_Controllers::Start() {
  if (Started) return true;
  if (!Sdl().Loaded()) {
    if (Trace) Trace("pads unavailable: " + Sdl().Problem);
    return false;
  }
  // SDL must leave SIGINT and SIGTERM to the program; South, East and West are places on the
  // pad, whatever letters a maker prints on them.
  Sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  Sdl().SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  if (Sdl().SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    if (Trace) Trace(std::string("pads unavailable: ") + Sdl().SDL_GetError());
    return false;
  }
  Started = true;
  Watch_Plugging();
  // Before the pads are opened, so that a pad the file maps opens as any other.
  Load_Mappings();
  for (int i = 0; i < Sdl().SDL_NumJoysticks(); ++i)
    if (Sdl().SDL_IsGameController(i))
      Open(i);
    else
      Note_Unmapped(i);
  Pump(); // SDL's word of the pads just opened
  return true;
}

void Game_Controllers::Load_Mappings() {
  const std::string file =
      (Settings_Folder() + QStringLiteral("/gamecontrollerdb.txt")).toStdString();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return;
  // Only a plain file of a sensible size is read: a pipe in its place would block the start for
  // good. Lines SDL cannot take are left out, so a file of nothing else gives no mapping.
  if (!std::filesystem::is_regular_file(file, error) ||
      std::filesystem::file_size(file, error) > Max_Mapping_File_Size || error) {
    if (Trace) Trace("pad mappings not read from " + file + ": not a plain file of at most 16 MB");
    return;
  }
  const int added =
      Sdl().SDL_GameControllerAddMappingsFromRW(Sdl().SDL_RWFromFile(file.c_str(), "rb"), 1);
  if (added < 0 && Trace)
    Trace("pad mappings not read from " + file + ": " + Sdl().SDL_GetError());
  else if (Trace)
    Trace("pad mappings " + std::to_string(added) + " from " + file);
}

int Game_Controllers::Pump() {
  if (!Started) return 0;
  Sdl().SDL_GameControllerUpdate();
  int taken = 0;
  SDL_Event events[32];
  int count = 0;
  // Everything queued is taken: nothing else in the program reads SDL's events.
  while ((count = Sdl().SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) >
         0) {
    taken += count;
    for (const SDL_Event& event : std::span(events, static_cast<std::size_t>(count))) {
      switch (event.type) {
      case SDL_JOYDEVICEADDED:
        if (!Sdl().SDL_IsGameController(event.jdevice.which)) Note_Unmapped(event.jdevice.which);
        break;
      case SDL_CONTROLLERDEVICEADDED: Open(event.cdevice.which); break;
      case SDL_CONTROLLERDEVICEREMOVED: Close(event.cdevice.which); break;
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
  return taken;
}

void Game_Controllers::Open(int device_index) {
  const SDL_JoystickID id = Sdl().SDL_JoystickGetDeviceInstanceID(device_index);
  if (id < 0 || Find(id)) return;
  SDL_GameController* controller = Sdl().SDL_GameControllerOpen(device_index);
  if (!controller) {
    if (Trace) Trace(std::string("pad not opened: ") + Sdl().SDL_GetError());
    return;
  }
  Pad& pad = Pads.emplace_back();
  pad.Controller = controller;
  pad.Id = id;
  const char* name = Sdl().SDL_GameControllerName(controller);
  if (Trace) Trace("pad added " + std::to_string(id) + " " + (name ? name : "(unnamed)"));
  Watch_Pad(pad);
  Update_Polling();
}

void Game_Controllers::Note_Unmapped(int device_index) {
  const SDL_JoystickID id = Sdl().SDL_JoystickGetDeviceInstanceID(device_index);
  if (std::find(Unmapped_Noted.begin(), Unmapped_Noted.end(), id) != Unmapped_Noted.end()) return;
  Unmapped_Noted.push_back(id);
  char guid[33] = {};
  Sdl().SDL_JoystickGetGUIDString(Sdl().SDL_JoystickGetDeviceGUID(device_index), guid, sizeof guid);
  const char* name = Sdl().SDL_JoystickNameForIndex(device_index);
  if (Trace)
    Trace("pad without a mapping, not used: " + std::string(name ? name : "(unnamed)") + " " +
          guid);
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
  Stop_Watching(*pad);
  Sdl().SDL_GameControllerClose(pad->Controller);
  Pads.erase(pad);
  if (Trace) Trace("pad removed " + std::to_string(id));
  Update_Polling();
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
    if (Trace) Trace("pad down " + name + " ignored");
    return;
  }
  if (!Held.Press(input, code)) return;
  if (Trace) Trace("pad down " + name);
  if (On_Press) On_Press(code);
}

void Game_Controllers::Up(Physical_Input input, const std::string& name) {
  // Nothing to let go of when the press did not count or the window let go of it already.
  const std::optional<std::uint16_t> code = Held.Release(input);
  if (!code) return;
  if (Trace) Trace("pad up " + name);
  if (On_Release) On_Release(*code);
}

QSocketNotifier* Game_Controllers::Watch(int file) {
  auto* watch = new QSocketNotifier(file, QSocketNotifier::Read, this);
  connect(watch, &QSocketNotifier::activated, this, [this, watch, file] {
    if (!Drain(file)) {
      watch->setEnabled(false);
      if (Trace) Trace("pad file " + std::to_string(file) + " ended");
    }
    Pump();
  });
  return watch;
}

void Game_Controllers::Watch_Plugging() {
  for (int file : {Open_Device_Event_Socket(), Open_Input_Folder_Watch()})
    if (file >= 0) {
      Plug_Files.push_back(file);
      Watch(file);
    }
  if (Plug_Files.empty() && Trace)
    Trace("pads plugged in later are not seen: nothing to watch for them");
}

void Game_Controllers::Watch_Pad(Pad& pad) {
  const std::string path = Device_File
                               ? Device_File(Sdl().SDL_GameControllerGetJoystick(pad.Controller))
                               : std::string();
  if (path.empty()) return;
  pad.File = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (pad.File < 0) {
    if (Trace) Trace("pad file " + path + " not read: " + std::strerror(errno));
    return;
  }
  pad.Watch = Watch(pad.File);
  if (Trace) Trace("pad file " + path + " watched as " + std::to_string(pad.File));
}

void Game_Controllers::Stop_Watching(Pad& pad) {
  // The notifier may be the one whose signal runs now: it is disabled at once and deleted
  // later, the file closed now.
  if (pad.Watch) {
    pad.Watch->setEnabled(false);
    pad.Watch->deleteLater();
    pad.Watch = nullptr;
  }
  if (pad.File >= 0) close(pad.File);
  pad.File = -1;
}

void Game_Controllers::Update_Polling() {
  const bool needed =
      std::any_of(Pads.begin(), Pads.end(), [](const Pad& pad) { return pad.File < 0; });
  if (needed == Poll.isActive()) return;
  if (needed) {
    Poll.start(Poll_Interval_Ms);
    if (Trace)
      Trace("pads read every " + std::to_string(Poll_Interval_Ms) + " ms: one has no device file");
  } else {
    Poll.stop();
  }
}
