#pragma once

#include <QString>

// An http address on 127.0.0.1 at a port that was free a moment ago and has nothing listening
// now, so connecting to it is refused. Empty if no port could be had.
QString refusedAddress(const QString &path = QStringLiteral("/"));
