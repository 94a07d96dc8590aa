#pragma once

#include <QImage>

// The picture area's background, "backgroundjpg.jpg" from the Resources folder. Loaded once
// and shared; while it cannot be loaded every call tries the file again (null result).
QImage backgroundjpg();
