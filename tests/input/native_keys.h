// Key events as the window system and the toolkit hand them over, made from a real keyboard
// layout compiled by xkbcommon as setxkbmap names it ("us", "fr", "us,ru"): the key code of a
// named key, the keysym it types with the given keys held, and the modifier state. The
// toolkit's own key is filled in as it would be, from the typed character, and must not matter.
#pragma once

#include <QKeyEvent>
#include <memory>
#include <vector>
#include <xkbcommon/xkbcommon.h>

class Native_Keys {
public:
  explicit Native_Keys(const char* layout, const char* options = nullptr) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{nullptr, nullptr, layout, nullptr, options};
    Keymap.reset(context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                         : nullptr);
    xkb_context_unref(context); // the keymap keeps its own reference
  }
  bool Valid() const { return Keymap != nullptr; }
  // The key code of a named key ("AE01", "LFSH"), 0 when the keymap has none.
  std::uint32_t Keycode(const char* name) const {
    const xkb_keycode_t keycode = xkb_keymap_key_by_name(Keymap.get(), name);
    return keycode == XKB_KEYCODE_INVALID ? 0 : keycode;
  }

  // The event for the named key ("AE01", "LFSH") while the keys named in held are down, in
  // the given group, with Num Lock on or off.
  std::unique_ptr<QKeyEvent> Event(QEvent::Type type, const char* key,
                                   const std::vector<const char*>& held = {},
                                   std::uint64_t time = 0, std::uint32_t group = 0,
                                   bool num_lock = false) const {
    xkb_state* state = xkb_state_new(Keymap.get());
    if (num_lock) {
      const std::uint32_t num = Keycode("NMLK");
      xkb_state_update_key(state, num, XKB_KEY_DOWN);
      xkb_state_update_key(state, num, XKB_KEY_UP);
    }
    for (const char* name : held)
      xkb_state_update_key(state, Keycode(name), XKB_KEY_DOWN);
    if (group != 0) {
      xkb_state_update_mask(state, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
                            xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
                            xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED), 0, 0, group);
    }
    const std::uint32_t keycode = Keycode(key);
    const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state, keycode);
    const std::uint32_t x_state =
        xkb_state_serialize_mods(state, XKB_STATE_MODS_EFFECTIVE) |
        (xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE) << 13);
    char text[8] = {};
    xkb_state_key_get_utf8(state, keycode, text, sizeof text);
    xkb_state_unref(state);
    const QString typed = QString::fromUtf8(text);
    const int qt_key = typed.isEmpty() ? int(Qt::Key_unknown) : typed.toUpper().at(0).unicode();
    auto event =
        std::make_unique<QKeyEvent>(type, qt_key, Qt::NoModifier, keycode, keysym, x_state, typed);
    event->setTimestamp(time);
    return event;
  }

private:
  struct Unref {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
  };
  std::unique_ptr<xkb_keymap, Unref> Keymap;
};
