#include "app/command_line.h"

#include "desktop/zoom.h"
#include "game/program_facts.h"
#include "settings/settings_key.h"

#include <charconv>

#include <ostream>
#include <string>
#include <string_view>

namespace {

// The help text goes on after the program's title.
constexpr std::string_view Usage_Head = "Usage: grathmoor [OPTION]... [QT OPTION]...\nPlay ";
constexpr std::string_view Usage_Tail = R"(: a picture of the
handheld LCD dungeon game whose segments light as the handheld's do. Press its
four buttons with the mouse or with the keys; right-click it for the menu.

Options:
  -h, --help           show this help and exit
      --version        show the version and exit
      --lcd-response=on|off
                       whether the LCD's segments darken and fade as liquid
                       crystal does (on) or switch at once (off); without
                       the option the settings file decides, by default on
      --zoom=PERCENT   how large the floating handheld is for this run, in whole
                       steps: 100, 200, 300... (at most the largest that fits
                       the screen); without the option the settings file
                       decides, by default 100. Full screen always fills the
                       screen. The mouse wheel over the handheld and "Size" in
                       its menu change the size too, and keep the choice

Qt options are passed on to Qt, among them:
  -platform NAME       the window system plug-in: xcb, wayland, offscreen...
  -display DISPLAY     the X display to open
  -style STYLE         the widget style of the side windows

Environment:
  GRATHMOOR_TRACE      when 1, write one line per event of the handheld
                       (segment shown, sound played, button pressed) to
                       standard error
  QT_SCALE_FACTOR      draw the handheld larger by this factor, rounded to a
                       whole number
  QT_QPA_PLATFORM      the window system plug-in, as -platform
  XDG_CONFIG_HOME      the folder of the settings file (default ~/.config)

The settings (sound output, splash screen, full-screen mode, size, the four
keys) are kept in $XDG_CONFIG_HOME/)";

void Print_Usage(std::ostream& out) {
  const std::string file =
      std::string(Settings_Organisation) + "/" + Settings_Application + ".conf";
  out << Usage_Head << Program_Title << Usage_Tail << file << ", by default\n~/.config/" << file
      << "; a line LcdResponse=0 there makes the LCD switch\nat once.\n";
}

// The options Qt takes from the command line itself. Qt accepts them with one dash or two;
// the style options also as -style=NAME.
struct Qt_Option {
  std::string_view Name;
  bool Takes_Value;
};
constexpr Qt_Option Qt_Options[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true},
    {"qwindowicon", true},     {"geometry", true},
    {"title", true},           {"icon", true},
    {"display", true},         {"name", true},
    {"visual", true},          {"session", true},
    {"style", true},           {"stylesheet", true},
    {"reverse", false},        {"nograb", false},
    {"dograb", false},         {"widgetcount", false},
    {"testability", false},
};

const Qt_Option* Find_Qt_Option(std::string_view name) {
  for (const Qt_Option& option : Qt_Options)
    if (option.Name == name) return &option;
  return nullptr;
}

// "200" or "200%": a whole step of the zoom, capped where no screen could show it.
std::optional<int> Zoom_Percent(std::string_view text) {
  if (text.ends_with('%')) text.remove_suffix(1);
  int zoom = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), zoom);
  if (problem != std::errc() || end != text.data() + text.size() || !Is_Whole_Step(zoom))
    return std::nullopt;
  return Valid_Zoom(zoom);
}

int Usage_Error(std::ostream& err, std::string_view problem, std::string_view argument) {
  err << "grathmoor: " << problem << " '" << argument << "'\n\n";
  Print_Usage(err);
  return 2;
}

} // namespace

std::optional<int> Answer_Command_Line(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err, Game_Options& options) {
  bool help = false;
  bool version = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      help = true;
      continue;
    }
    if (argument == "--version") {
      version = true;
      continue;
    }
    if (argument.starts_with("--lcd-response=")) {
      const std::string_view value = argument.substr(argument.find('=') + 1);
      if (value != "on" && value != "off")
        return Usage_Error(err, "on or off is wanted in", argument);
      options.Lcd_Response_On = value == "on";
      continue;
    }
    if (argument.starts_with("--zoom=")) {
      options.Zoom = Zoom_Percent(argument.substr(argument.find('=') + 1));
      if (!options.Zoom)
        return Usage_Error(err, "a whole step (100, 200, 300...) is wanted in", argument);
      continue;
    }
    if (argument.size() < 2 || argument[0] != '-')
      return Usage_Error(err, "unexpected argument", argument);
    std::string_view name = argument.substr(argument[1] == '-' ? 2 : 1);
    const bool joined_style = name.starts_with("style=") || name.starts_with("stylesheet=");
    if (joined_style) name = name.substr(0, name.find('='));
    const Qt_Option* option = Find_Qt_Option(name);
    if (option == nullptr) return Usage_Error(err, "unknown option", argument);
    if (option->Takes_Value && !joined_style && ++i == argc)
      return Usage_Error(err, "a value is missing after", argument);
  }
  if (help) {
    Print_Usage(out);
    return 0;
  }
  if (version) {
    // One line, as the tools that read it (help2man) expect.
    out << "grathmoor " << Program_Version << "\n";
    return 0;
  }
  return std::nullopt;
}
