// readini and writeini on a settings file of fuzzed bytes.
// Input: section, key and value (NUL-separated), then the file's bytes.
#include "common/settings.h"
#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

// A name or value the file can keep: 8-bit, no control characters (the file's
// end is trimmed of them), no "[", no "=" in names.
bool keepable(const QString& s, bool name) {
    for (const QChar c : s) {
        if (c < u' ' || c == u'[' || (name && (c == u'=' || c == u']'))) return false;
    }
    return !name || !s.trimmed().isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QString section = QString::fromLatin1(in.field());
    const QString key = QString::fromLatin1(in.field());
    const QString value = QString::fromLatin1(in.field());
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("settings.ini"));
    const QByteArray before = in.rest();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(before);
    }
    // Control characters other than line breaks in the file: the writer trims
    // them from its ends, so the reader may see other lines afterwards.
    const bool plainFile = std::none_of(before.begin(), before.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n';
    });
    readini(path, section, key);
    readini(path, QStringLiteral("controls"), QStringLiteral("key1"));
    writeini(path, section, key, value);
    // What was written is read back, when the file can keep it.
    if (plainFile && keepable(section, true) && keepable(key, true) && keepable(value, false) &&
        !key.contains(u' ') && !section.contains(u' '))
        FUZZ_CHECK(readini(path, section, key) == value);
    return 0;
}
