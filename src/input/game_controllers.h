// The game controllers: every pad that SDL knows as a game controller stands for the handheld's
// four buttons and the cursor's four directions, found at start and when plugged in, several at
// once. The mapping is fixed: the D-pad and the left stick point the cursor (as the arrow keys),
// South (A / Cross) is ATTACK, East (B / Circle) is MOVE, West (X / Square) is CURSOR and Start
// is ALL CLEAR. A pad SDL has no mapping for is named in the trace; the player may give SDL
// mappings in gamecontrollerdb.txt beside the settings file.
//
// Presses and releases are recorded in the window's held inputs beside the keys and delivered as
// codes through the same handlers: the arrow keys' codes for the directions, the buttons' own
// codes (Button_Code) for the buttons, so that a pad button is its handheld button whatever key
// is bound to it, and the window releases held pad buttons with its keys.
//
// SDL has no blocking wait for joysticks (its SDL_WaitEvent pumps every millisecond while one is
// open), so the program opens files of its own that stir when SDL's do, watches them with socket
// notifiers of the event loop and pumps SDL when one has something: a kernel device-event socket
// and an inotify watch of /dev/input for plugging, and for each open pad its own copy of the
// pad's device file (SDL_JoystickPath), which the kernel feeds as it feeds SDL's. Only a pad
// without a device file (SDL's virtual pads) is pumped on a timer, while it is plugged in.
#pragma once

#include "input/held_inputs.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <vector>

class QSocketNotifier;
struct _SDL_GameController;
struct _SDL_Joystick;

class Game_Controllers : public QObject {
public:
  using Handler = std::function<void(std::uint16_t code)>;
  // Presses count only while `accepting` says the window has the keyboard; releases of what is
  // held always count.
  Game_Controllers(Held_Inputs& held, Handler press, Handler release,
                   std::function<bool()> accepting, QObject* parent = nullptr);
  ~Game_Controllers() override;
  Game_Controllers(const Game_Controllers&) = delete;
  Game_Controllers& operator=(const Game_Controllers&) = delete;

  // Starts SDL's game controller support with the player's mappings, opens the pads plugged in
  // and begins to watch for more. False when SDL offers no controllers here; the program then
  // goes on without them.
  bool Start();
  // Loads SDL (the sound's mixer with it) on a thread of its own, for a start that will soon
  // need it: Start then finds it loaded, or waits only for the rest of the load under way.
  static std::future<void> Load_Library_Ahead();
  // Takes what SDL has: plug-ins, unplugs, presses, releases and stick moves. The watched files
  // call it when they have something; a test may call it after changing a virtual controller.
  // Gives the number of SDL events taken.
  int Pump();
  // The pads open now.
  int Count() const { return static_cast<int>(Pads.size()); }
  // Start has succeeded: pads are watched for.
  bool Watching() const { return Started; }
  // SDL is pumped on a timer: a pad without a device file is plugged in.
  bool Polling() const { return Poll.isActive(); }

  // One line per pad event for the trace ("pad down south", "pad up dpad right"). Unset while
  // nobody listens; callers test it first, so that no line is built for nobody.
  std::function<void(const std::string& line)> Trace;
  // The file a pad's input arrives in; empty when it has none. SDL_JoystickPath by default; a
  // test may stand a file of its own in for a virtual pad's.
  std::function<std::string(_SDL_Joystick* joystick)> Device_File;

  // The left stick points a direction once it is pushed this far along the direction's axis
  // (of 32767), and lets go of it only when it comes back under the release mark, so a stick
  // resting near one mark does not chatter.
  static constexpr int Stick_Press = 16000;
  static constexpr int Stick_Release = 10000;
  // The pace of the timer for pads without a device file: well within a frame.
  static constexpr int Poll_Interval_Ms = 8;

private:
  struct Pad {
    _SDL_GameController* Controller = nullptr;
    std::int32_t Id = -1; // SDL's instance id: unique for each plug-in
    int X = 0, Y = 0;     // the left stick
    int Stick = 0;        // the direction it points: 0 none, 1 up, 2 right, 3 down, 4 left
    int File = -1;        // our copy of its device file, or -1
    QSocketNotifier* Watch = nullptr;
  };

  void Load_Mappings();
  // Opens the pad unless it is open already, and watches its device file.
  void Open(int device_index);
  void Close(std::int32_t id);
  Pad* Find(std::int32_t id);
  void Note_Unmapped(int device_index);
  void Button(std::int32_t id, int button, bool down);
  void Stick_Moved(Pad& pad);
  void Down(Physical_Input input, std::uint16_t code, const std::string& name);
  void Up(Physical_Input input, const std::string& name);
  void Watch_Plugging();
  void Watch_Pad(Pad& pad);
  void Stop_Watching(Pad& pad);
  QSocketNotifier* Watch(int file);
  void Update_Polling();

  Held_Inputs& Held;
  Handler On_Press;
  Handler On_Release;
  std::function<bool()> Accepting;
  bool Started = false;
  std::vector<Pad> Pads;
  std::vector<std::int32_t> Unmapped_Noted;
  // Our device-event socket and /dev/input watch (their notifiers are our children).
  std::vector<int> Plug_Files;
  QTimer Poll;
};
