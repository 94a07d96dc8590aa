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

// Replaces what the preferences file holds; false when not all of it could be written.
inline bool writeFile(const QByteArray &bytes)
{
    QFile file(prefModule::filePath());
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the preferences file holds; empty when there is none.
inline QByteArray readFile()
{
    QFile file(prefModule::filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestPrefs
