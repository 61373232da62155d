// The handheld without a window: the game core with its LCD surface, timers and random source,
// the sound, the settings and key bindings, the held inputs and the game controllers, and the
// player's preferences, each once. The program builds it first; the main window draws its
// surface and forwards input to its buttons, and the side windows take from it what they use.
#pragma once

#include "desktop/reporter.h"
#include "game/random_source.h"
#include "game/unit1.h"
#include "handheld/event_trace.h"
#include "handheld/preferences.h"
#include "handheld/qt_timer_backend.h"
#include "input/game_controllers.h"
#include "input/held_inputs.h"
#include "lcd/lcd_surface.h"
#include "settings/key_choices.h"

#include <array>
#include <functional>
#include <future>
#include <memory>
#include <optional>

class Settings_Key;
class Sound_System;

// The four click areas of the handheld's buttons, with their binding numbers.
struct Button_Area {
  Element_Id Area;
  int Binding;
};
inline constexpr std::array<Button_Area, 4> Button_Areas = {{{btn_acl_top, Binding_All_Clear},
                                                             {btn_cursor_top, Binding_Cursor},
                                                             {btn_attack_top, Binding_Attack},
                                                             {btn_move_top, Binding_Move}}};
bool Is_Button_Area(Element_Id id);

class Handheld {
public:
  // Opens the settings and reads the preferences; problems go to `report`. The command line's
  // choice of the LCD's response goes before the stored one.
  explicit Handheld(Reporter report, std::optional<bool> lcd_response_on = {},
                    std::optional<int> zoom = {});
  ~Handheld();
  Handheld(const Handheld&) = delete;
  Handheld& operator=(const Handheld&) = delete;

  // What the windows draw, show and change.
  Lcd_Surface& Surface() { return LCD; }
  Preferences& Prefs() { return Preference_Store; }
  Settings_Key& Settings() { return *Settings_Store; }
  Key_Binding_Table& Key_Bindings() { return Core.Key_Bindings; }
  Held_Inputs& Held() { return Held_Now; }
  Game_Controllers& Controllers() { return Pads; }
  Game_Core& Game() { return Core; }

  // Reads the four bindings from the settings and gives the buttons their hints; the main
  // window's creation does it after the skin is loaded.
  void Load_Key_Bindings();
  // Writes what Load_Key_Bindings read back to the settings, once: after the first start all
  // four exist. The close steps do it if nothing did before.
  void Store_Key_Bindings();
  // Renews the buttons' hints from the bindings.
  void Rebuild_Hints();

  // A key or pad code pressed or released, as the game's key handlers take it.
  void Key_Down(std::uint16_t code);
  void Key_Up(std::uint16_t code);
  // The click area of a button pressed or released; false for any other element.
  bool Press_Button(Element_Id area);
  bool Release_Button(Element_Id area);
  // Lets go of every key and pad button still held, in binding order.
  void Release_Held();
  // The milliseconds until the game's next tick, or -1: the LCD's frames give way to it.
  int Ms_To_Next_Tick() const { return Timers.Ms_To_Next_Tick(); }
  // Pads act only while this says the handheld's window has the keyboard.
  void Set_Input_Gate(std::function<bool()> gate) { Input_Gate = std::move(gate); }

  // Starts the sound output named by the splash list's text. When the Arrow sound could not be
  // loaded, the broken sound folder is reported, and the answer is false.
  bool Start_Sound(const QString& output);
  // The handheld comes alive in its demo.
  void Start_Demo();
  // The game controllers are looked for once the handheld's first frame is drawn, not at the
  // start: neither the splash nor that frame waits for them.
  void Start_Pads();
  // Loads the libraries of the sound and the game controllers on a thread, once, for a start
  // that will soon need them: the demo's first frame then does not wait for their load.
  void Load_Sound_And_Pads_Ahead();
  // The close steps: the sound is shut down and the settings released.
  void Close();
  // The settings stay open until the close steps release them.
  bool Settings_Open() const { return Settings_Store != nullptr; }

private:
  Reporter Report;
  Event_Trace Events;
  Lcd_Surface LCD;
  Qt_Timer_Backend Timers;
  Seeded_Random Random_Generator;
  std::unique_ptr<Sound_System> Sounds;
  Game_Core Core;
  std::unique_ptr<Settings_Key> Settings_Store;
  bool Key_Bindings_Unstored = false;
  Preferences Preference_Store;
  Key_Word_Table Words;
  // What is held on the keyboard and the game controllers, with the codes of the presses.
  Held_Inputs Held_Now;
  std::function<bool()> Input_Gate;
  Game_Controllers Pads{Held_Now, [this](std::uint16_t code) { Key_Down(code); },
                        [this](std::uint16_t code) { Key_Up(code); },
                        [this] { return Input_Gate && Input_Gate(); }};
  std::future<void> Libraries_Loaded; // waited for as the handheld goes
};
