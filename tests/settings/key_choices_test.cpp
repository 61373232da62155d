#include "settings/key_choices.h"

#include "settings_fixture.h"

namespace {

TEST(Key_Choices, ListTextsWordsAndCodesAgree) {
  const QStringList texts = Key_Choice_Texts();
  ASSERT_EQ(texts.size(), 40);
  EXPECT_EQ(texts.first(), "0");
  EXPECT_EQ(texts[9], "9");
  EXPECT_EQ(texts[10], "A");
  EXPECT_EQ(texts[35], "Z");
  EXPECT_EQ(texts.mid(36), (QStringList{"<ALT>", "<CTRL>", "<SHIFT>", "<SPACEBAR>"}));

  const Key_Word_Table words = Build_Key_Words();
  EXPECT_EQ(words[1], "'0'");
  EXPECT_EQ(words[6], "'5'");
  EXPECT_EQ(words[11], "'A'");
  EXPECT_EQ(words[36], "'Z'");
  EXPECT_EQ(words[37], "'alt' key");
  EXPECT_EQ(words[38], "'ctrl' key");
  EXPECT_EQ(words[39], "'shift' key");
  EXPECT_EQ(words[40], "'spacebar'");

  const std::pair<int, std::uint16_t> codes[] = {{1, 0x30},  {10, 0x39}, {11, 0x41}, {36, 0x5A},
                                                 {37, 0x12}, {38, 0x11}, {39, 0x10}, {40, 0x20}};
  for (auto [choice, code] : codes) {
    Key_Binding binding{choice, 0};
    AssignWord(binding);
    EXPECT_EQ(binding.Key_Code, code) << "choice " << choice;
  }
  for (int choice : {0, 41, -1}) { // no key of its own: the code stays
    Key_Binding binding{choice, 0x35};
    AssignWord(binding);
    EXPECT_EQ(binding.Key_Code, 0x35);
  }
}

TEST(Key_Choices, HintsNameTheKeyAndTheButtonsRole) {
  const Key_Word_Table words = Build_Key_Words();
  const Key_Binding_Table& d = Default_Key_Bindings;
  EXPECT_EQ(Button_Hint(words, 1, d[1]), "click or press '5' to reset the game");
  EXPECT_EQ(Button_Hint(words, 2, d[2]),
            "click or press 'shift' key or use the arrow keys to select a direction");
  EXPECT_EQ(Button_Hint(words, 3, d[3]), "click or press 'ctrl' key to start game/attack");
  EXPECT_EQ(Button_Hint(words, 4, d[4]), "click or press 'alt' key to select game/move");
  EXPECT_EQ(Button_Hint(words, 3, Key_Binding{11, 0x41}),
            "click or press 'A' to start game/attack");
}

using Key_Bindings_Store = Settings_Test;

TEST_F(Key_Bindings_Store, AFirstReadGivesTheDefaultsAndOnlyTheStoreWritesThem) {
  Settings_Key settings;
  Key_Binding_Table bindings{};
  Read_Key_Bindings(settings, bindings);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(bindings[n].Choice, Default_Key_Bindings[n].Choice);
    EXPECT_EQ(bindings[n].Key_Code, Default_Key_Bindings[n].Key_Code);
  }
  EXPECT_EQ(Stored("Key1"), "<no file>");
  Store_Key_Bindings(settings, bindings);
  EXPECT_EQ(Stored("Key1"), "6");
  EXPECT_EQ(Stored("Key2"), "39");
  EXPECT_EQ(Stored("Key3"), "38");
  EXPECT_EQ(Stored("Key4"), "37");
}

TEST_F(Key_Bindings_Store, StoredChoicesOutsideTheListFallBackToTheDefault) {
  Write_Store("[General]\nKey1=0\nKey2=41\nKey3=11\nKey4=x\n");
  Settings_Key settings;
  Key_Binding_Table bindings{};
  Read_Key_Bindings(settings, bindings);
  Store_Key_Bindings(settings, bindings);
  EXPECT_EQ(bindings[1].Choice, 6);
  EXPECT_EQ(bindings[1].Key_Code, 0x35);
  EXPECT_EQ(bindings[2].Choice, 39);
  EXPECT_EQ(bindings[3].Choice, 11);
  EXPECT_EQ(bindings[3].Key_Code, 0x41);
  EXPECT_EQ(bindings[4].Choice, 37);
  EXPECT_EQ(Stored("Key1"), "6");
  EXPECT_EQ(Stored("Key2"), "39");
  EXPECT_EQ(Stored("Key3"), "11");
}

TEST_F(Key_Bindings_Store, StoredBindingsSurviveIntoTheNextRun) {
  Key_Binding_Table bindings = Default_Key_Bindings;
  bindings[2].Choice = 40;
  bindings[4].Choice = 1;
  {
    Settings_Key settings;
    Store_Key_Bindings(settings, bindings);
  }
  EXPECT_EQ(bindings[2].Key_Code, 0x20);
  EXPECT_EQ(bindings[4].Key_Code, 0x30);
  EXPECT_EQ(Stored("Key2"), "40");
  EXPECT_EQ(Stored("Key4"), "1");

  Settings_Key next_run;
  Key_Binding_Table loaded{};
  Read_Key_Bindings(next_run, loaded);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(loaded[n].Choice, bindings[n].Choice);
    EXPECT_EQ(loaded[n].Key_Code, bindings[n].Key_Code);
  }
}

} // namespace
