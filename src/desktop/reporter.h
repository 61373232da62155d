// Problems for the user. Whatever finds one tells it through a reporter its caller hands in, one
// message a problem, with the file's path in front of the reader's words where a file is at
// fault; the caller decides where the message goes (the main window shows it in a box).
#pragma once

#include <QString>
#include <functional>

using Reporter = std::function<void(const QString& message)>;

// A problem with a file, told the one way: the file's path, then what is wrong with it.
QString Problem_In(const QString& path, const QString& words);

// The reporter, or where none was handed in, one that writes each message as a line of standard
// error, so that no problem goes untold.
Reporter Or_Standard_Error(Reporter report);
