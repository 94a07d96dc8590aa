// Bytes as an HTTP reply, fed in chunks of sizes drawn from the input itself: parsing must
// never crash, must respect the cap, and must not depend on how the bytes were cut up.
#include "framework/httpreplyparser.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    uint32_t seed;
    std::memcpy(&seed, data, sizeof seed);
    const QByteArrayView reply(reinterpret_cast<const char *>(data) + 4, qsizetype(size - 4));

    HTTPReplyParser whole;
    whole.feed(reply);
    whole.finish();

    HTTPReplyParser pieces;
    qsizetype at = 0;
    while (at < reply.size()) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype piece = qMin<qsizetype>(1 + (seed >> 16) % 64, reply.size() - at);
        pieces.feed(reply.sliced(at, piece));
        at += piece;
    }
    pieces.finish();

    if (whole.status() != pieces.status() || whole.headers() != pieces.headers() ||
        whole.content() != pieces.content())
        __builtin_trap();
    if (whole.content().size() > HTTPReplyParser::kMaxReply)
        __builtin_trap();
    return 0;
}
