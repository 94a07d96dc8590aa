#pragma once

#include "app/prefmodule.h"

#include <QFile>

// The preferences module's globals and file, as tests set them up and read them.
namespace TestPrefs {

// The preferences globals as a new process has them.
inline void resetGlobals()
{
    prefModule::gDirectives.clear();
    prefModule::Window1Top = 0;
    prefModule::Window1Left = 0;
}

// A position line as the program writes it; the numbers may lie beyond Int32.
inline QByteArray positionLine(qint64 top, qint64 left)
{
    return "#Window1Position " + QByteArray::number(top) + ',' + QByteArray::number(left) + '\n';
}

// Replaces what the preferences file, or the file at path, holds; false when not all of it
// could be written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeFile(const QByteArray &bytes)
{
    return writeFile(prefModule::filePath(), bytes);
}

// What the preferences file, or the file at path, holds; empty when there is none.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray readFile()
{
    return readFile(prefModule::filePath());
}

} // namespace TestPrefs
