#pragma once

#include <QByteArray>
#include <QString>

// What becomes of a file at the path that the user may not write.
enum class UnwritableFile {
    Keep,    // the save fails
    Replace, // replaced all the same by a new file, as deleting it and making it anew would
};

// Replaces the file at path with bytes, whole or not at all: they go to a temporary file
// beside it that then takes its place, so a failed save leaves an earlier file as it was.
// The folder is created when missing. Only a regular file is ever replaced (a link is
// followed to a regular file or to nothing): a folder, a pipe, a device or a link that loops
// at path is left alone and the save fails. A file replaced keeps its mode, unless the user
// could not write it: the new file then has the mode of any new one. True when the file
// holds the bytes.
bool saveAtomically(const QString &path, const QByteArray &bytes, UnwritableFile unwritable);
