// Bytes as the preferences file: reading must end, never crash, and leave the position
// within Int32 whatever the file holds.
#include "app/prefmodule.h"
#include "framework/textnumber.h"
#include "tests/fuzz/fuzzinput.h"
#include "tests/support/prefs.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(QStringLiteral("tavrelo.txt"), data, size);
    if (path.isEmpty())
        return 0;
    TestPrefs::resetGlobals();
    if (!prefModule::extractDirectives(path))
        __builtin_trap();
    // Every directive came from one line: none can outgrow the file.
    prefModule::gDirectives.forEach([size](QLatin1StringView name, QLatin1StringView text) {
        if (std::size_t(name.size() + text.size()) > size)
            __builtin_trap();
        (void)prefModule::toInt32(Val(QString(text).section(u',', 0, 0)));
        (void)prefModule::toInt32(Val(QString(text).section(u',', 1, 1)));
    });
    return 0;
}
