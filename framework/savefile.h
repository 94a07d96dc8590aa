#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, whole or not at all: they go to a temporary file
// beside it that then takes its place, so a failed save leaves an earlier file as it was.
// The folder is created when missing. Only a regular file is ever replaced (a link is
// followed to a regular file or to nothing): a folder, a pipe, a device or a link that loops
// at path is left alone and the save fails. True when the file holds the bytes.
bool saveAtomically(const QString &path, const QByteArray &bytes);
