#include "input/key_reader.h"

#include "input/key_codes.h"

#include <QKeyEvent>

namespace {
// The physical key: its X key code; an event made without one is known by its code.
Physical_Input Key_Of(const QKeyEvent& event, std::uint16_t code) {
  const std::uint32_t keycode = event.nativeScanCode();
  return {Input_Source::Keyboard, 0, keycode != 0 ? keycode : 0x10000u | code};
}
} // namespace

Key_Reader::Key_Reader(Held_Inputs& held, Handler press, Handler release, QObject* parent)
    : QObject(parent), Held(held), On_Press(std::move(press)), On_Release(std::move(release)) {
  Wait_Timer.setSingleShot(true);
  Wait_Timer.setTimerType(Qt::PreciseTimer);
  connect(&Wait_Timer, &QTimer::timeout, this, [this] {
    // A loop held up past the wait may have the repeat's press queued behind the release: the
    // release counts only after one more pass, which takes in the window system's events.
    if (!Passed_Once) {
      Passed_Once = true;
      Wait_Timer.start(0);
      return;
    }
    Flush();
  });
}

void Key_Reader::Key_Press(const QKeyEvent& event) {
  const std::uint16_t code = Virtual_Key_Code(event);
  const Physical_Input key = Key_Of(event, code);
  if (Waiting && Waiting->Input == key && Waiting->Time == event.timestamp()) {
    // The server's auto-repeat: the key never went up.
    Waiting.reset();
    Wait_Timer.stop();
    return;
  }
  Flush();
  if (code != 0 && Held.Press(key, code) && On_Press) On_Press(code);
}

void Key_Reader::Key_Release(const QKeyEvent& event) {
  Flush();
  // The toolkit saw the repeated press already waiting: surely a repeat.
  if (event.isAutoRepeat()) return;
  const Physical_Input key = Key_Of(event, Virtual_Key_Code(event));
  if (!Held.Is_Down(key)) return; // pressed before this window had the keyboard
  Waiting = Waiting_Release{key, event.timestamp()};
  if (event.nativeScanCode() == 0)
    Flush(); // made by the program: no server repeats it
  else {
    Passed_Once = false;
    Wait_Timer.start(Release_Wait_Ms);
  }
}

void Key_Reader::Flush() {
  if (!Waiting) return;
  const Physical_Input key = Waiting->Input;
  Waiting.reset();
  Wait_Timer.stop();
  const std::optional<std::uint16_t> code = Held.Release(key);
  if (code && On_Release) On_Release(*code);
}
