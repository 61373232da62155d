// The command line, answered before the application object exists so that --help and
// --version work with no display (over ssh, in a package build). The game reads one option of
// its own, how the LCD is drawn and how large the floating handheld is; Qt's options (-platform,
// -display, -style, ...) are let through to Qt, anything else is refused.
#pragma once

#include <iosfwd>
#include <optional>

// What the command line asks of the game.
struct Game_Options {
  std::optional<bool> Lcd_Response_On; // --lcd-response=on|off; unset, the settings decide
  std::optional<int> Zoom;             // --zoom=PERCENT, a whole step; unset, the settings decide
};

// Returns the exit status when the command line has been answered (help, version or a usage
// error, written to `out` or `err`), or nothing when the game is to start with the options.
std::optional<int> Answer_Command_Line(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err, Game_Options& options);
