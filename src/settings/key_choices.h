// The binding model: the forty key choices, their words in the button hints, and the loading
// and storing of the four bindings.
#pragma once

#include "game/key_bindings.h"

#include <QString>
#include <QStringList>
#include <array>

class Settings_Key;

inline constexpr int Key_Choice_Count = 40;

// The list text of a choice 1..40 ("0".."9", "A".."Z", "<ALT>", "<CTRL>", "<SHIFT>",
// "<SPACEBAR>"), as the key settings lists show them in choice order.
QStringList Key_Choice_Texts();

// Key_Words[1..40]: the word of each choice in the button hints ("'5'", "'shift' key", ...).
// Built once while the main window is created; index 0 is unused.
using Key_Word_Table = std::array<QString, Key_Choice_Count + 1>;
Key_Word_Table Build_Key_Words();

// Sets the binding's Key_Code from its Choice; a Choice outside 1..40 leaves it unchanged.
void AssignWord(Key_Binding& binding);

// Reads Key1..Key4 (a stored choice outside 1..40 falls back to the binding's default) and
// assigns each its key code; nothing is written.
void Read_Key_Bindings(Settings_Key& settings, Key_Binding_Table& bindings);

// Stores the bindings' choices as Key1..Key4, in this order, and assigns their key codes.
void Store_Key_Bindings(Settings_Key& settings, Key_Binding_Table& bindings);

// The hint of a button: "click or press " + word + " " + the button's tail.
QString Button_Hint(const Key_Word_Table& words, int binding_number, const Key_Binding& binding);
