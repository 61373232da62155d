// Game controllers, played on SDL's virtual pads: no device needed.
#include "game/game_fixture.h"
#include "input/virtual_pad.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <algorithm>

namespace {

class Pads : public Game_Fixture {
protected:
  void SetUp() override { ASSERT_TRUE(Controllers.Start()); }

  void TearDown() override { Unplug_Virtual_Pad(Controllers); }

  SDL_Joystick* Plug() {
    SDL_Joystick* pad = Plug_Virtual_Pad(Controllers);
    EXPECT_NE(pad, nullptr) << SDL_GetError();
    return pad;
  }
  void Unplug(SDL_Joystick* pad) { Unplug_Virtual_Pad(Controllers, pad); }
  void Button(SDL_Joystick* pad, SDL_GameControllerButton button, bool down) {
    Set_Pad_Button(Controllers, pad, button, down);
  }

  void Stick(SDL_Joystick* pad, int x, int y) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    Controllers.Pump();
  }

  void Start_Demo() {
    Game.Set_Game_Mode(Mode_Demo);
    Game.Gam_Set_Mode();
  }

  Held_Inputs Held;
  bool Has_Keyboard = true;
  std::vector<std::uint16_t> Presses, Releases;
  Game_Controllers Controllers{Held,
                               [this](std::uint16_t code) {
                                 Presses.push_back(code);
                                 Press(code);
                               },
                               [this](std::uint16_t code) {
                                 Releases.push_back(code);
                                 Release(code);
                               },
                               [this] { return Has_Keyboard; }};
};

TEST_F(Pads, SouthAndEastAreAttackAndMoveWhateverKeysAreBoundAndAHeldButtonPressesOnce) {
  // A stored duplicate leaves the keyboard without an attack key; the pad keeps its own.
  Game.Key_Bindings[Binding_Attack].Key_Code = Game.Key_Bindings[Binding_Cursor].Key_Code;
  Start_Demo();
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(Controllers.Count(), 1);

  Button(pad, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(Is_Lit(btn_attack_down));
  Button(pad, SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_1);
  EXPECT_EQ(Panel(), "L1");
  EXPECT_FALSE(Is_Lit(btn_attack_down));

  // East held while the other stick and a trigger move: one step of the level choice.
  Button(pad, SDL_CONTROLLER_BUTTON_B, true);
  for (int value = 1000; value < 30000; value += 4000) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, static_cast<Sint16>(value));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, static_cast<Sint16>(value));
    Controllers.Pump();
  }
  EXPECT_EQ(Panel(), "L2");
  Button(pad, SDL_CONTROLLER_BUTTON_B, false);
  Button(pad, SDL_CONTROLLER_BUTTON_B, true);
  Button(pad, SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_EQ(Panel(), "L3");
  EXPECT_EQ(Presses,
            (std::vector<std::uint16_t>{Button_Code(Binding_Attack), Button_Code(Binding_Move),
                                        Button_Code(Binding_Move)}));
  EXPECT_EQ(Releases, Presses);

  // Without the keyboard a press does not count, nor its release once the keyboard is back.
  Has_Keyboard = false;
  Button(pad, SDL_CONTROLLER_BUTTON_B, true);
  Has_Keyboard = true;
  Button(pad, SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_EQ(Panel(), "L3");
  EXPECT_EQ(Presses.size(), 3u);
  EXPECT_EQ(Releases.size(), 3u);

  // Start is ALL CLEAR.
  Button(pad, SDL_CONTROLLER_BUTTON_START, true);
  EXPECT_EQ(Game.Game_Mode, Mode_Reset);
  Button(pad, SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_EQ(Game.Game_Mode, Mode_Demo);
}

TEST_F(Pads, TheDpadAndTheStickPointTheCursorAndWestTurnsIt) {
  Start_Quiet();
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  Button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(Game.Cursor_Direction, 2);
  EXPECT_TRUE(Is_Lit(im_cursor_right));
  Button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  Button(pad, SDL_CONTROLLER_BUTTON_X, true);
  Button(pad, SDL_CONTROLLER_BUTTON_X, false);
  EXPECT_EQ(Game.Cursor_Direction, 3);
  Presses.clear();
  Releases.clear();

  // Past the dead zone and back: one press, one release, however the stick wavers between the
  // marks on the way.
  for (int x : {-3000, -9000, -12000, -15000, -17000, -12000, -16500, -10500, -15000, -9000, -12000,
                -15500, 0})
    Stick(pad, x, 800);
  EXPECT_EQ(Presses, (std::vector<std::uint16_t>{Vk::Left}));
  EXPECT_EQ(Releases, (std::vector<std::uint16_t>{Vk::Left}));
  EXPECT_EQ(Game.Cursor_Direction, 4);
  EXPECT_FALSE(Is_Lit(btn_cursor_down));

  // Swung from left to up without passing the middle: left is let go of, up pressed.
  Stick(pad, -20000, 0);
  Stick(pad, -14000, -14000); // the diagonal: still left
  Stick(pad, -4000, -20000);
  EXPECT_EQ(Game.Cursor_Direction, 1);
  EXPECT_EQ(Presses, (std::vector<std::uint16_t>{Vk::Left, Vk::Left, Vk::Up}));
  EXPECT_EQ(Releases, (std::vector<std::uint16_t>{Vk::Left, Vk::Left}));
}

TEST_F(Pads, APressDuringAWalkIsNotStored) {
  Start_Quiet();
  SDL_Joystick* pad = Plug();
  ASSERT_NE(pad, nullptr);
  Button(pad, SDL_CONTROLLER_BUTTON_B, true);
  Button(pad, SDL_CONTROLLER_BUTTON_B, false);
  Advance(100);
  Button(pad, SDL_CONTROLLER_BUTTON_B, true); // during the walk, and held past its end
  ASSERT_TRUE(Run_Until_Input());
  Advance(1000);
  EXPECT_EQ((Cell_Position{Game.Warrior_X, Game.Warrior_Y}), (Cell_Position{0, 9}));
  EXPECT_EQ(Sounds(), "Step@0 Step@315 Step@630");
  Button(pad, SDL_CONTROLLER_BUTTON_B, false);
  Button(pad, SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_FALSE(Game.Input_Enabled) << "the next press walks";
}

TEST_F(Pads, TwoPadsBothActAndAnUnpluggedPadLetsGoOfWhatItHeld) {
  Start_Demo();
  SDL_Joystick* first = Plug();
  SDL_Joystick* second = Plug();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Controllers.Count(), 2);
  Button(second, SDL_CONTROLLER_BUTTON_A, true);
  Stick(second, 25000, 0);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_1);
  EXPECT_TRUE(Game.Attack_Held && Game.Cursor_Held);
  Unplug(second);
  EXPECT_EQ(Controllers.Count(), 1);
  EXPECT_FALSE(Game.Attack_Held || Game.Cursor_Held);
  EXPECT_FALSE(Is_Lit(btn_attack_down) || Is_Lit(btn_cursor_down));
  EXPECT_TRUE(Held.Release_All().empty());
  std::sort(Releases.begin(), Releases.end());
  EXPECT_EQ(Releases, (std::vector<std::uint16_t>{Vk::Right, Button_Code(Binding_Attack)}));
  Button(first, SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(Game.Game_Mode, Mode_Select_Level_2);
}

TEST_F(Pads, APressWakesTheLoopThroughThePadsFileAndOnlyAPadWithoutOneIsPolled) {
  Start_Demo();
  Pad_Device_File file(Controllers);
  SDL_Joystick* pad = Plug();
  EXPECT_FALSE(Controllers.Polling());
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
  ASSERT_TRUE(file.Stir());
  EXPECT_TRUE(QTest::qWaitFor([this] { return Game.Game_Mode == Mode_Select_Level_1; }));

  Controllers.Device_File = [](SDL_Joystick*) { return std::string(); };
  pad = Plug();
  EXPECT_TRUE(Controllers.Polling());
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Panel() == "L2"; }));
  Unplug_Virtual_Pad(Controllers);
  EXPECT_FALSE(Controllers.Polling()) << "no pad, no timer";
}

TEST_F(Pads, AJoystickWithoutAMappingIsNamedAndAMappingFileBesideTheSettingsMapsIt) {
  const QByteArray config_home = qgetenv("XDG_CONFIG_HOME");
  QTemporaryDir folder;
  qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
  SDL_VirtualJoystickDesc stick{};
  stick.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  stick.nbuttons = 4;
  stick.vendor_id = stick.product_id = 0x1234;
  stick.name = "Odd stick";
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(SDL_JoystickAttachVirtualEx(&stick)), guid,
                            sizeof guid);
  QString notes;
  const auto start = [&] {
    notes.clear();
    Game_Controllers pads(Held, nullptr, nullptr, nullptr);
    pads.Trace = [&notes](const std::string& line) {
      notes += QString::fromStdString(line) + '\n';
    };
    pads.Start();
    return pads.Count();
  };
  EXPECT_EQ(start(), 0);
  EXPECT_TRUE(notes.contains("pad without a mapping, not used: Odd stick " + QString(guid)));
  EXPECT_FALSE(notes.contains("pad mappings")) << "no file, no word";
  ASSERT_TRUE(QDir(folder.path()).mkpath("Kelvamor/gamecontrollerdb.txt")); // a folder
  start();
  EXPECT_TRUE(notes.contains("pad mappings not read from ")) << notes.toStdString();
  ASSERT_TRUE(QDir(folder.path()).rmdir("Kelvamor/gamecontrollerdb.txt"));
  QFile db(folder.filePath("Kelvamor/gamecontrollerdb.txt"));
  ASSERT_TRUE(db.open(QIODevice::WriteOnly));
  db.write("\x01\xff platform:Linux,\n" + QByteArray(guid) + ",Odd stick,a:b0,platform:Linux,\n");
  db.close();
  EXPECT_EQ(start(), 1) << notes.toStdString();
  EXPECT_TRUE(notes.contains("pad mappings 1 from ")) << notes.toStdString();
  qputenv("XDG_CONFIG_HOME", config_home);
}

} // namespace
