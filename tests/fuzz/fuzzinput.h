#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as a file of the given name, for readers that take a path. The file is
// rewritten for every input and lives in a folder of its own for the whole run.
inline QString writeFuzzInput(const QString &name, const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        return QString();
    return path;
}
