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

// What the preferences file holds; empty when there is none.
inline QByteArray readFile()
{
    QFile file(prefModule::filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestPrefs
