#include "common/id3v1.h"

#include <QFile>

namespace {
constexpr qint64 kTagSize = 128;

// Removes blanks (spaces only) at both ends.
QString trimBlanks(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin);
}
} // namespace

std::optional<Id3v1Tag> readId3v1(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const qint64 length = file.size();
    if (length < kTagSize || !file.seek(length - kTagSize)) return std::nullopt;
    const QByteArray tag = file.read(kTagSize);
    if (tag.size() != kTagSize || !tag.startsWith("TAG")) return std::nullopt;

    qsizetype pos = 3;
    auto field = [&](qsizetype size) {
        const QString text = QString::fromLatin1(tag.mid(pos, size));
        pos += size;
        return trimBlanks(text);
    };
    Id3v1Tag result;
    result.title = field(30);
    result.artist = field(30);
    result.album = field(30);
    result.year = field(4);
    result.comment = field(30);
    return result; // the genre byte is not used
}
