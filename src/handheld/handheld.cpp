#include "handheld/handheld.h"

#include "settings/settings_key.h"
#include "sound/sound_system.h"

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <utility>

namespace {

// How often the pads look whether their library has loaded: about once a frame.
constexpr int Pads_Load_Check_Ms = 16;

} // namespace

bool Is_Button_Area(Element_Id id) {
  return std::any_of(Button_Areas.begin(), Button_Areas.end(),
                     [id](const Button_Area& b) { return b.Area == id; });
}

Handheld::Handheld(Reporter report, std::optional<bool> lcd_response_on, std::optional<int> zoom)
    : Report(Or_Standard_Error(std::move(report))), Timers(Report),
      Sounds(std::make_unique<Sound_System>()), Core(LCD, *Sounds, Timers, Random_Generator),
      Settings_Store(std::make_unique<Settings_Key>(Report)),
      Preference_Store(*Settings_Store, lcd_response_on, zoom) {
  Events.Attach(LCD, Core);
  Words = Build_Key_Words();
  // Nothing is held or shown, no input yet; the one seeding of the generator.
  Core.Cheat_Shown = Core.Input_Enabled = false;
  Core.Cursor_Held = Core.Attack_Held = Core.Move_Held = false;
  Random_Generator.Seed(static_cast<std::uint32_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  if (Events.Enabled()) Pads.Trace = [this](const std::string& line) { Events.Trace(line); };
}

Handheld::~Handheld() = default;

void Handheld::Load_Key_Bindings() {
  ::Read_Key_Bindings(*Settings_Store, Core.Key_Bindings);
  Key_Bindings_Unstored = true;
  Rebuild_Hints();
}

void Handheld::Store_Key_Bindings() {
  if (Settings_Store && std::exchange(Key_Bindings_Unstored, false))
    ::Store_Key_Bindings(*Settings_Store, Core.Key_Bindings);
}

void Handheld::Rebuild_Hints() {
  // Hints are looked up when the pointer rests on a button; nothing is cached.
  for (const Button_Area& b : Button_Areas)
    LCD.Set_Hint(b.Area, Button_Hint(Words, b.Binding,
                                     Core.Key_Bindings[static_cast<std::size_t>(b.Binding)]));
}

void Handheld::Key_Down(std::uint16_t code) {
  if (Events.Enabled()) Events.Trace("key down " + QString::number(code, 16).toStdString());
  Core.FormKeyDown(code);
}

void Handheld::Key_Up(std::uint16_t code) {
  if (Events.Enabled()) Events.Trace("key up " + QString::number(code, 16).toStdString());
  Core.FormKeyUp(code);
}

bool Handheld::Press_Button(Element_Id area) {
  switch (area) {
  case btn_acl_top: Core.Inp_acl_press(); return true;
  case btn_cursor_top: Core.Inp_cursor_press(); return true;
  case btn_attack_top: Core.Inp_attack_press(); return true;
  case btn_move_top: Core.Inp_move_press(); return true;
  default: return false;
  }
}

bool Handheld::Release_Button(Element_Id area) {
  switch (area) {
  case btn_acl_top: Core.Inp_acl_release(); return true;
  case btn_cursor_top: Core.Inp_cursor_release(); return true;
  case btn_attack_top: Core.Inp_attack_release(); return true;
  case btn_move_top: Core.Inp_move_release(); return true;
  default: return false;
  }
}

void Handheld::Release_Held() {
  for (std::uint16_t code : Held_Now.Release_All(Core.Key_Bindings))
    Key_Up(code);
}

bool Handheld::Start_Sound(const QString& output) {
  if (!Sounds->Sound_Startup(output).Arrow_Failed) return true;
  Report(QString::fromUtf8(Sound_Folder_Error_Text));
  return false;
}

void Handheld::Start_Demo() {
  Core.Set_Game_Mode(Mode_Demo);
  Core.Gam_Set_Mode();
}

void Handheld::Start_Pads() {
  // The library loads on its thread, if it has not yet; the handheld plays on meanwhile.
  Load_Sound_And_Pads_Ahead();
  if (Libraries_Loaded.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
    Pads.Start();
  else
    QTimer::singleShot(Pads_Load_Check_Ms, &Pads, [this] { Start_Pads(); });
}

void Handheld::Load_Sound_And_Pads_Ahead() {
  if (!Libraries_Loaded.valid()) Libraries_Loaded = Game_Controllers::Load_Library_Ahead();
}

void Handheld::Close() {
  Store_Key_Bindings();
  Sounds->Sound_Shutdown();
  Preference_Store.Close_Store();
  Settings_Store.reset();
}
