// Bytes as the preferences file: reading must end, never crash, and leave the position
// within Int32 whatever the file holds.
#include "app/prefmodule.h"
#include "framework/textnumber.h"
#include "tests/fuzz/fuzzinput.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(QStringLiteral("tavrelo.txt"), data, size);
    if (path.isEmpty())
        return 0;
    prefModule::gDirectives.assign(1, directiveClass());
    if (!prefModule::extractDirectives(path))
        __builtin_trap();
    // Every directive came from one line: none can outgrow the file.
    for (const directiveClass &directive : prefModule::gDirectives) {
        if (std::size_t(directive.name.size() + directive.text.size()) > size)
            __builtin_trap();
        (void)prefModule::toInt32(Val(directive.text.section(u',', 0, 0)));
        (void)prefModule::toInt32(Val(directive.text.section(u',', 1, 1)));
    }
    return 0;
}
