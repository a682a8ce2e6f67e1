// The ID3v1 reader on a song file of fuzzed bytes.
#include "common/id3v1.h"
#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("song.mp3"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const auto tag = readId3v1(path);
    const bool hasTag = size >= 128 && std::memcmp(data + size - 128, "TAG", 3) == 0;
    FUZZ_CHECK(tag.has_value() == hasTag);
    if (tag) FUZZ_CHECK(tag->title.size() <= 30 && tag->year.size() <= 4);
    return 0;
}
