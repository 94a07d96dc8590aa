#pragma once

#include <QString>

// The folders the program reads and writes, as paths. None of them is created here.
namespace SpecialFolder {

QString Desktop();
// Where per-user preference files live: ~/Library/Preferences on macOS, the XDG
// configuration folder elsewhere.
QString Preferences();
// The child "Resources" of the parent of the executable's folder: a bundle's
// Contents/Resources on macOS, <prefix>/Resources in the build and install trees.
QString Resources();

} // namespace SpecialFolder
