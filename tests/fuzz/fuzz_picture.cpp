// Bytes as "My Message.png": loading gives the picture or nothing, never a crash, never a
// picture beyond what a backdrop may take.
#include "framework/pngfile.h"
#include "tests/fuzz/fuzzinput.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(QStringLiteral("My Message.png"), data, size);
    if (path.isEmpty())
        return 0;
    const QImage picture = PngFile::load(path);
    if (!picture.isNull() &&
        (picture.format() != QImage::Format_RGB32 ||
         qint64(picture.width()) * picture.height() > qint64(16) * 1024 * 1024))
        __builtin_trap();
    return 0;
}
