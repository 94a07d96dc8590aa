#pragma once

#include <QString>

// The folders the program reads and writes, as paths. None of them is created here. The
// user's folders are empty without a usable home (HOME unset, empty or relative), so that
// nothing is ever read or written under the current folder or the root instead.
namespace SpecialFolder {

// The XDG Desktop folder outside macOS: the one user-dirs.dirs names, else ~/Desktop.
QString Desktop();
// Where per-user preference files live: ~/Library/Preferences on macOS, the XDG
// configuration folder elsewhere. A relative XDG setting is ignored, as the XDG rules say.
QString Preferences();
// The child "Resources" of the parent of the executable's folder: a bundle's
// Contents/Resources on macOS, <prefix>/Resources in the build and install trees.
QString Resources();

} // namespace SpecialFolder
