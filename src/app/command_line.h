// The command line, answered before the application object exists so that --help and
// --version work with no display (over ssh, in a package build). The game itself reads no
// option: Qt's own options (-platform, -display, -style, ...) are let through to Qt, anything
// else is refused.
#pragma once

#include <iosfwd>
#include <optional>

// Returns the exit status when the command line has been answered (help, version or a usage
// error, written to `out` or `err`), or nothing when the game is to start.
std::optional<int> Answer_Command_Line(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err);
