#include "common/settings.h"

#include "platform/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Texts of files that could not be written, by absolute path, and the paths
// whose failure the user has already been told about.
QHash<QString, QByteArray>& keptTexts() {
    static QHash<QString, QByteArray> texts;
    return texts;
}

QSet<QString>& toldPaths() {
    static QSet<QString> paths;
    return paths;
}

QString keyOf(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The file holds 8-bit text: every name and value goes through Latin-1, so that
// lower-casing keeps the length and positions of the text.
QString latin1(const QString& s) {
    return QString::fromLatin1(s.toLatin1());
}

// Creates a missing file empty and makes an existing one writable for its owner.
// Failures show up later, when the file is read or written.
void prepareFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly)) created.close();
    }
    if (QFileInfo(path).isFile()) {
        const auto perms = QFile::permissions(path);
        if (!(perms & QFileDevice::WriteOwner))
            QFile::setPermissions(path, perms | QFileDevice::WriteOwner);
    }
}

// The current text of the settings: the kept text when there is one, else the
// file's bytes. Empty when there is no file; nullopt when a file exists but
// cannot be read.
std::optional<QByteArray> currentText(const QString& path) {
    const auto kept = keptTexts().constFind(keyOf(path));
    if (kept != keptTexts().constEnd()) return *kept;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
    if (QFileInfo::exists(path)) return std::nullopt;
    return QByteArray();
}

// Reads line by line; a line ends at CR LF or at a lone CR (a lone LF does not).
QString valueIn(const QString& text, const QString& section, const QString& key) {
    const QString header = QLatin1Char('[') + section.toLower() + QLatin1Char(']');
    const QString keyText = key.toLower() + QLatin1Char('=');
    const QString lower = text.toLower();
    bool inSection = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\r'), pos);
        if (end < 0) end = text.size();
        const QStringView line = QStringView(lower).mid(pos, end - pos);
        const qsizetype start = pos;
        pos = end + 1;
        if (pos < text.size() && text.at(pos) == QLatin1Char('\n')) ++pos;

        const bool bracket = line.contains(QLatin1Char('['));
        if (bracket) inSection = false;
        if (line == header) inSection = true;
        if (bracket || !inSection) continue;
        if (line.startsWith(keyText))
            return text.mid(start + keyText.size(), end - start - keyText.size());
    }
    return {};
}

// The whole text after setting the key, without the final CR LF.
QString updatedText(QString t, const QString& section, const QString& key, const QString& value) {
    const QString headerMark = kCrLf + QLatin1Char('[') + section.toLower() + QStringLiteral("]\r");
    const QString keyMark = QLatin1Char('\n') + key.toLower() + QLatin1Char('=');

    t = kCrLf + t + QStringLiteral("[]");
    const QString lower = t.toLower();
    const qsizetype p = lower.indexOf(headerMark);
    if (p >= 0) {
        const qsizetype n = lower.indexOf(QLatin1Char('['), p + headerMark.size());
        // The key at the start of a line as readini sees lines: after a CR.
        qsizetype k = lower.indexOf(keyMark, p);
        while (k > 0 && lower.at(k - 1) != QLatin1Char('\r'))
            k = lower.indexOf(keyMark, k + 1);
        t.chop(2);
        if (k < 0 || k > n) {
            // After the end of the header line: CR LF or a lone CR.
            qsizetype at = qMin(p + headerMark.size(), t.size());
            if (at < t.size() && t.at(at) == QLatin1Char('\n')) ++at;
            t.insert(at, key + QLatin1Char('=') + value + kCrLf);
        } else {
            const qsizetype cr = t.indexOf(QLatin1Char('\r'), k);
            t = t.left(k + 1) + key + QLatin1Char('=') + value + (cr < 0 ? QString() : t.mid(cr));
        }
    } else {
        t.chop(2);
        t += kCrLf + kCrLf + QLatin1Char('[') + section + QLatin1Char(']') + kCrLf + key +
             QLatin1Char('=') + value;
    }
    t.remove(0, 1);

    const QString threeBreaks = kCrLf + kCrLf + kCrLf;
    while (t.contains(threeBreaks))
        t.replace(threeBreaks, kCrLf + kCrLf);

    while (!t.isEmpty() && t.back().unicode() <= 13)
        t.chop(1);
    qsizetype lead = 0;
    while (lead < t.size() && t.at(lead).unicode() <= 13)
        ++lead;
    t.remove(0, lead);
    return t;
}

// Writes beside the file and renames over it, so a failed write leaves the old file.
// The explicit flush matters: commit() does not notice a failing flush of the buffer.
bool saveFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // On failure the destructor discards the temporary file.
    if (file.write(bytes) != bytes.size() || !file.flush()) return false;
    return file.commit();
}

void tellOnce(const QString& path) {
    if (toldPaths().contains(keyOf(path))) return;
    toldPaths().insert(keyOf(path));
    MsgBox(QStringLiteral("The settings could not be saved to %1. Your changes are kept until "
                          "the program ends.")
               .arg(QDir::toNativeSeparators(path)),
           MsgIcon::Exclamation);
}

} // namespace

QString readini(const QString& path, const QString& section, const QString& key) {
    prepareFile(path);
    const auto text = currentText(path);
    if (!text) return {};
    return valueIn(QString::fromLatin1(*text), latin1(section), latin1(key));
}

void writeini(const QString& path, const QString& section, const QString& key,
              const QString& value) {
    prepareFile(path);
    const auto text = currentText(path);
    const QString t = updatedText(QString::fromLatin1(text.value_or(QByteArray())), latin1(section),
                                  latin1(key), latin1(value));
    const QByteArray bytes = (t + kCrLf).toLatin1();
    // An unreadable file is not overwritten: its contents are unknown.
    if (text && saveFile(path, bytes)) {
        keptTexts().remove(keyOf(path));
        return;
    }
    keptTexts().insert(keyOf(path), bytes);
    tellOnce(path);
}
