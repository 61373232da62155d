#include "settings/key_choices.h"

#include "settings/settings_key.h"

#include <cstdint>

namespace {

struct Key_Choice {
  const char* Text;
  const char* Word;
  std::uint16_t Code;
};

// The list text and the hint word of choices 1..36 follow from the key's character.
constexpr char Choice_Char(int choice) {
  return choice <= 10 ? static_cast<char>('0' + choice - 1) : static_cast<char>('A' + choice - 11);
}

constexpr Key_Choice Special_Choices[] = {
    {"<ALT>", "'alt' key", Vk::Alt},
    {"<CTRL>", "'ctrl' key", Vk::Control},
    {"<SHIFT>", "'shift' key", Vk::Shift},
    {"<SPACEBAR>", "'spacebar'", Vk::Space},
};

bool Valid_Choice(int choice) {
  return choice >= 1 && choice <= Key_Choice_Count;
}

QString Choice_Text(int choice) {
  if (choice > 36) return QString::fromLatin1(Special_Choices[choice - 37].Text);
  return QString(QChar(Choice_Char(choice)));
}

QString Choice_Word(int choice) {
  if (choice > 36) return QString::fromLatin1(Special_Choices[choice - 37].Word);
  return QString("'%1'").arg(QChar(Choice_Char(choice)));
}

// Digits and letters have the virtual-key code of their character.
std::uint16_t Choice_Code(int choice) {
  if (choice > 36) return Special_Choices[choice - 37].Code;
  return static_cast<std::uint16_t>(Choice_Char(choice));
}

const char* const Hint_Tails[] = {
    "",
    "to reset the game",
    "or use the arrow keys to select a direction",
    "to start game/attack",
    "to select game/move",
};

} // namespace

QStringList Key_Choice_Texts() {
  QStringList texts;
  for (int choice = 1; choice <= Key_Choice_Count; ++choice)
    texts << Choice_Text(choice);
  return texts;
}

Key_Word_Table Build_Key_Words() {
  Key_Word_Table words;
  for (int choice = 1; choice <= Key_Choice_Count; ++choice)
    words[static_cast<std::size_t>(choice)] = Choice_Word(choice);
  return words;
}

void AssignWord(Key_Binding& binding) {
  if (Valid_Choice(binding.Choice)) binding.Key_Code = Choice_Code(binding.Choice);
}

void Read_Key_Bindings(Settings_Key& settings, Key_Binding_Table& bindings) {
  for (int n = Binding_All_Clear; n <= Binding_Move; ++n) {
    const auto i = static_cast<std::size_t>(n);
    const int fallback = Default_Key_Bindings[i].Choice;
    const int choice = settings.Read_Integer(Setting::Key[i], fallback);
    // A choice outside the list has no key: the button keeps its usual one.
    bindings[i].Choice = Valid_Choice(choice) ? choice : fallback;
    AssignWord(bindings[i]);
  }
}

void Store_Key_Bindings(Settings_Key& settings, Key_Binding_Table& bindings) {
  std::vector<std::pair<QString, int>> choices;
  for (int n = Binding_All_Clear; n <= Binding_Move; ++n) {
    const auto i = static_cast<std::size_t>(n);
    choices.emplace_back(Setting::Key[i], bindings[i].Choice);
    AssignWord(bindings[i]);
  }
  settings.Write_Integers(choices);
}

QString Button_Hint(const Key_Word_Table& words, int binding_number, const Key_Binding& binding) {
  if (binding_number < Binding_All_Clear || binding_number > Binding_Move) return {};
  const auto n = static_cast<std::size_t>(binding_number);
  const int choice = Valid_Choice(binding.Choice) ? binding.Choice : Default_Key_Bindings[n].Choice;
  return "click or press " + words[static_cast<std::size_t>(choice)] + " " +
         QString::fromLatin1(Hint_Tails[n]);
}
