// Both receive splitters fed a run of reads of fuzzed sizes.
// Input: one byte (bit 0: host side, bit 1: settle at the end), then reads, each a
// 16-bit little-endian size and that many bytes.
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "fuzzinput.h"

#include <span>

namespace {

bool startsWithTagOf(const QByteArray& m, std::span<const char* const> tags) {
    for (const char* tag : tags)
        if (m.startsWith(tag)) return m.endsWith(wire::closingTag(tag));
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t flags = in.byte();
    const bool host = flags & 1;
    ReceiveBuffer buffer(host ? ReceiveBuffer::Side::Host : ReceiveBuffer::Side::Client);
    const std::span<const char* const> tags =
        host ? std::span<const char* const>(wire::kHostTagOrder)
             : std::span<const char* const>(wire::kClientTagOrder);

    QByteArray sent;
    QByteArray out;
    bool lossy = false; // a warning, an overflow or a given-up song drops bytes
    bool song = false;
    qint64 songBytes = 0;
    QObject::connect(&buffer, &ReceiveBuffer::messageReceived, [&](const QByteArray& m) {
        FUZZ_CHECK(!song || m == wire::bareMessage(wire::vxseclos));
        FUZZ_CHECK(startsWithTagOf(m, tags));
        FUZZ_CHECK(m.size() <= ReceiveBuffer::kMaxPending);
        if (song) song = false;
        if (!host && m.startsWith(wire::vxseopen)) {
            song = true;
            songBytes = 0;
        }
        out += m;
    });
    QObject::connect(&buffer, &ReceiveBuffer::untaggedReceived, [&](const QByteArray& piece) {
        FUZZ_CHECK(!song);
        FUZZ_CHECK(!piece.isEmpty() && !piece.startsWith(host ? "vxcl" : "vxse"));
        out += piece;
    });
    QObject::connect(&buffer, &ReceiveBuffer::songData, [&](const QByteArray& bytes) {
        FUZZ_CHECK(song && !host);
        songBytes += bytes.size();
        FUZZ_CHECK(songBytes <= buffer.songLimit());
        out += bytes;
    });
    QObject::connect(&buffer, &ReceiveBuffer::songAborted, [&] {
        FUZZ_CHECK(song);
        song = false;
        lossy = true;
    });
    QObject::connect(&buffer, &ReceiveBuffer::warningLine, [&](const QString&) { lossy = true; });
    QObject::connect(&buffer, &ReceiveBuffer::overflowed, [&](qsizetype) { lossy = true; });

    while (!in.empty()) {
        const QByteArray read = in.take(in.word());
        sent += read;
        buffer.append(read);
        FUZZ_CHECK(buffer.pendingBytes() <= ReceiveBuffer::kMaxPending);
        FUZZ_CHECK(buffer.receivingSong() == song);
        if (!lossy) FUZZ_CHECK(out + sent.right(buffer.pendingBytes()) == sent);
    }
    if (flags & 2) {
        buffer.settle();
        if (!lossy) FUZZ_CHECK(out + sent.right(buffer.pendingBytes()) == sent);
    }
    return 0;
}
