// Bytes as "My Message.png": loading gives the picture or nothing, never a crash, never a
// picture beyond what a backdrop may take.
#include "framework/pngfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("My Message.png"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QImage picture = PngFile::load(path);
    if (!picture.isNull() &&
        (picture.format() != QImage::Format_RGB32 ||
         qint64(picture.width()) * picture.height() > qint64(16) * 1024 * 1024))
        __builtin_trap();
    return 0;
}
