// The desktop's "open" operation: a document with its program, a web or e-mail link. Windows
// reach the desktop only through this, so tests can record what would have been opened.
#pragma once

#include <QString>
#include <functional>

using Shell_Open = std::function<void(const QString& target)>;

// Opens the target with the desktop (xdg-open underneath); a relative file name resolves against
// the working directory. Failures are ignored.
void Desktop_Shell_Open(const QString& target);
