// The game controllers: every pad that SDL knows as a game controller stands for the handheld's
// four buttons and the cursor's four directions, found at start and when plugged in, several at
// once. The mapping is fixed: the D-pad and the left stick point the cursor (as the arrow keys),
// South (A / Cross) is ATTACK, East (B / Circle) is MOVE, West (X / Square) is CURSOR and Start
// is ALL CLEAR.
//
// Presses and releases are recorded in the window's held inputs beside the keys and delivered as
// codes through the same handlers: the arrow keys' codes for the directions, the buttons' own
// codes (Button_Code) for the buttons, so that a pad button is its handheld button whatever key
// is bound to it, and the window releases held pad buttons with its keys.
//
// Nothing polls. SDL has no blocking wait for joysticks (its SDL_WaitEvent pumps every
// millisecond while one is open), so the pads are read when the files SDL reads them from have
// something: its hot-plug monitors and the device files of the open pads, each watched by a
// socket notifier of the event loop.
#pragma once

#include "input/held_inputs.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QSocketNotifier;
struct _SDL_GameController;

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

  // Starts SDL's game controller support, opens the pads plugged in and begins to watch for
  // more. False when SDL offers no controllers here; the program then goes on without them.
  bool Start();
  // Takes what SDL has: plug-ins, unplugs, presses, releases and stick moves. The watched files
  // call it when they have something; a test calls it after changing a virtual controller.
  // Gives the number of SDL events taken.
  int Pump();
  // The pads open now.
  int Count() const { return static_cast<int>(Pads.size()); }

  // One line per pad event for the trace ("pad down south", "pad up dpad right").
  std::function<void(const std::string& line)> Note;

  // The left stick points a direction once it is pushed this far along the direction's axis
  // (of 32767), and lets go of it only when it comes back under the release mark, so a stick
  // resting near one mark does not chatter.
  static constexpr int Stick_Press = 16000;
  static constexpr int Stick_Release = 10000;

private:
  struct Pad {
    _SDL_GameController* Controller = nullptr;
    std::int32_t Id = -1; // SDL's instance id: unique for each plug-in
    int X = 0, Y = 0;     // the left stick
    int Stick = 0;        // the direction it points: 0 none, 1 up, 2 right, 3 down, 4 left
  };

  // False when the pad was open already or does not open.
  bool Open(int device_index);
  void Close(std::int32_t id);
  Pad* Find(std::int32_t id);
  void Button(std::int32_t id, int button, bool down);
  void Stick_Moved(Pad& pad);
  void Down(Physical_Input input, std::uint16_t code, const std::string& name);
  void Up(Physical_Input input, const std::string& name);
  void Say(const std::string& line) const;
  // Rebuilds the watch on SDL's files: the hot-plug monitors and every open device file.
  void Watch_Files();
  void Stop_Watching();
  void File_Ready(int fd);

  Held_Inputs& Held;
  Handler On_Press;
  Handler On_Release;
  std::function<bool()> Accepting;
  bool Started = false;
  std::vector<Pad> Pads;
  std::vector<int> Hotplug_Files;
  std::vector<QSocketNotifier*> Watches; // owned as children, deleted later
  // Where SDL keeps no hot-plug monitor it looks for new devices every few seconds when
  // pumped; this timer pumps at that pace in that case only.
  QTimer Rescan;
  // Activations in a row that took nothing from SDL and left their file readable.
  int Idle_Wakes = 0;
};
