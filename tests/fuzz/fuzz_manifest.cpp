// Bytes as an update manifest: reading its four values and comparing its version must never
// crash, and every value read is a piece of the body.
#include "update/manifest.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Manifest::Values values = Manifest::read(body);
    for (const QString *value : {&values.version, &values.description, &values.downloadAddress}) {
        if (value->size() > body.size())
            __builtin_trap();
    }
    (void)Manifest::isCurrent(values.version, 2, 1, 0);
    return 0;
}
