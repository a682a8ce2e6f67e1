#include "common/playlist.h"

#include "platform/dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <variant>

namespace {

// A runtime error as the message shows it: description and number.
struct LoadError {
    int number;
    QString description;
};
struct Refused {};
struct Loaded {
    QStringList paths;
    QStringList names;
};
using Outcome = std::variant<Loaded, Refused, LoadError>;

const LoadError kAccessError{75, QStringLiteral("Path/File access error")};
const LoadError kInvalidCall{5, QStringLiteral("Invalid procedure call or argument")};
const LoadError kOutOfRange{9, QStringLiteral("Subscript out of range")};

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes);
}

QStringList splitLines(const QString& text) {
    if (!text.contains(QLatin1String("\r\n")) && text.contains(u'\n')) return text.split(u'\n');
    return text.split(QLatin1String("\r\n"));
}

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

QString toSlashes(QString path) {
    return path.replace(u'\\', u'/');
}

// The title of a song line: its file name before the last ".".
std::optional<QString> titleFromPath(const QString& line) {
    const QString name = line.mid(lastSeparator(line) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) return std::nullopt;
    return name.left(dot);
}

Outcome readPlaylist(const QString& filename) {
    if (filename.isEmpty() || !QFileInfo(filename).isFile()) return Refused{};
    const QString folder = m3uFolder(filename);

    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) return kAccessError;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return kAccessError;

    const QStringList lines = splitLines(decodeText(bytes));
    if (lines.size() <= 3 || lines.at(0) != QLatin1String("#EXTM3U")) return Refused{};

    Loaded out;
    bool titlePending = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.startsWith(QLatin1String("#EXTINF"))) {
            out.names.append(line.mid(line.indexOf(u',') + 1));
            titlePending = true;
        } else if (titlePending) {
            out.paths.append(m3uResolvePath(folder, line));
            titlePending = false;
        } else if (!line.isEmpty()) {
            const auto title = titleFromPath(line);
            if (!title) return kInvalidCall;
            out.names.append(*title);
            out.paths.append(m3uResolvePath(folder, line));
        }
    }
    if (out.paths.isEmpty()) return kOutOfRange;
    // Titles beyond the last path are dropped. (A path never lacks a title.)
    out.names.resize(out.paths.size());
    return out;
}

} // namespace

QString m3uFolder(const QString& playlistPath) {
    return playlistPath.left(lastSeparator(playlistPath) + 1);
}

QString m3uResolvePath(const QString& folder, const QString& line) {
    const bool localFolder = folder.startsWith(u'/');
    if (line.startsWith(u'\\') && line.mid(1, 1) != QLatin1String("\\"))
        return localFolder ? toSlashes(line) : folder.left(2) + line;
    if (line.startsWith(QLatin1String("\\\\"))) return line;
    if (line.startsWith(u'/')) return line;
    if (line.mid(1, 1) != QLatin1String(":"))
        return folder + (localFolder ? toSlashes(line) : line);
    return line;
}

bool LoadM3U(const QString& strFilename, QStringList& strFilePaths, QStringList& strNames) {
    Outcome outcome = readPlaylist(strFilename);
    if (auto* loaded = std::get_if<Loaded>(&outcome)) {
        strFilePaths = std::move(loaded->paths);
        strNames = std::move(loaded->names);
        return true;
    }
    if (const auto* error = std::get_if<LoadError>(&outcome))
        MsgBox(error->description + QStringLiteral(" Number: ") + QString::number(error->number),
               MsgIcon::Exclamation);
    return false;
}
