#include "common/protocol.h"

#include "common/gamestate.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace wire {

namespace {

constexpr QChar kBrokenBar(0xA6);

// The fields of a message with this tag when it carries at least count of them.
std::optional<QStringList> fieldsOf(QByteArrayView message, QByteArrayView tag, int count) {
    if (!message.startsWith(tag)) return std::nullopt;
    QStringList parts = splitMessage(message);
    if (parts.size() < count + 2) return std::nullopt;
    return parts;
}

QByteArray number(qint32 value) {
    return QByteArray::number(value);
}

// Values of a row; a name that holds "_" (from a sender that did not replace it)
// is joined again between the fixed values before and after it.
std::optional<QStringList> rowValues(const QString& row, int count) {
    QStringList values = row.split(u'_');
    if (values.size() < count) return std::nullopt;
    const int extra = int(values.size()) - count;
    if (extra > 0) {
        values[4] = values.mid(4, extra + 1).join(u'_');
        values.remove(5, extra);
    }
    return values;
}

// Values 0..3 and 5 of a row as numbers, in the order of the row.
std::optional<std::array<qint16, 5>> rowNumbers(const QStringList& values) {
    std::array<qint16, 5> out{};
    const int at[5] = {0, 1, 2, 3, 5};
    for (int k = 0; k < 5; ++k) {
        const std::optional<qint16> n = parseInt16(values.at(at[k]));
        if (!n) return std::nullopt;
        out[k] = *n;
    }
    return out;
}

bool isWholeNumber(const QString& text) {
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

} // namespace

// Windows-1252 at 0x80-0x9F; 0 marks the five bytes it leaves unused.
constexpr char16_t kHighCodes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QByteArray toWireText(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        const auto hit = std::find(std::begin(kHighCodes), std::end(kHighCodes), c);
        out.append(c != 0 && hit != std::end(kHighCodes)
                       ? char(0x80 + (hit - std::begin(kHighCodes)))
                       : '?');
    }
    return out;
}

QString fromWireText(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        char16_t u = c;
        if (c >= 0x80 && c <= 0x9F) u = kHighCodes[c - 0x80] ? kHighCodes[c - 0x80] : u'?';
        *to++ = QChar(u);
    }
    return out;
}

QString cutText(const QString& text, qsizetype maxLength) {
    if (text.size() <= maxLength) return text;
    qsizetype n = std::max<qsizetype>(0, maxLength);
    if (n > 0 && text.at(n - 1).isHighSurrogate()) --n;
    return text.left(n);
}

QByteArray closingTag(QByteArrayView tag) {
    return tag.toByteArray() + "einde";
}

namespace {

// Chops bytes off the longest of parts until excess bytes are gone or nothing is
// left to cut.
void cutLongest(const QList<QByteArray*>& parts, qsizetype excess) {
    while (excess > 0 && !parts.isEmpty()) {
        QByteArray* longest = *std::max_element(
            parts.begin(), parts.end(),
            [](const QByteArray* a, const QByteArray* b) { return a->size() < b->size(); });
        const qsizetype cut = std::min(longest->size(), excess);
        if (cut == 0) break;
        longest->chop(cut);
        excess -= cut;
    }
}

} // namespace

QByteArray frameMessage(QByteArrayView tag, QList<QByteArray> fields) {
    qsizetype size = 2 * tag.size() + 6;
    QList<QByteArray*> parts;
    for (QByteArray& f : fields) {
        size += f.size() + 1;
        parts << &f;
    }
    cutLongest(parts, size - kMaxMessage);
    QByteArray out = tag.toByteArray();
    for (const QByteArray& f : fields)
        out += '|' + f;
    out += '|' + closingTag(tag);
    return out;
}

QByteArray bareMessage(QByteArrayView tag) {
    return frameMessage(tag, {});
}

QStringList splitMessage(QByteArrayView message) {
    return fromWireText(message).split(u'|');
}

QString fieldText(const QString& text) {
    QString out = text;
    out.replace(u'|', kBrokenBar);
    out.replace(QLatin1String("vxse"), QLatin1String("vXse"));
    out.replace(QLatin1String("vxcl"), QLatin1String("vXcl"));
    return out;
}

QString rowText(const QString& text) {
    return fieldText(text).replace(u'_', u'-');
}

QString escapeChat(const QString& line) {
    QString out = line;
    out.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    out.replace(QLatin1String("'"), QLatin1String("\\'"));
    return out;
}

QString unescapeChat(const QString& line) {
    QString out = line;
    out.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    out.replace(QLatin1String("\\'"), QLatin1String("'"));
    return out;
}

std::optional<qint16> parseInt16(const QString& text) {
    bool ok = false;
    const qint16 value = text.toShort(&ok);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<double> parseDecimal(const QString& text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString formatDecimal(double value, QChar separator) {
    return QString::number(value, 'g', 15).replace(u'.', separator);
}

QString formatClock(double seconds, QChar separator) {
    if (!std::isfinite(seconds) || seconds <= 0) return QStringLiteral("0");
    // Cut in the shortest decimal form, so that 7.531 (stored a hair below) stays 7.531.
    QString text = QString::number(seconds, 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0) {
        text.truncate(point + 4);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.')) text.chop(1);
    }
    return text.replace(u'.', separator);
}

// --- "vxsestar", "vxcluser", "vxseregi", "vxsekeuz"

QByteArray build(const StartMessage& m) {
    return frameMessage(vxsestar, {toWireText(fieldText(m.vraagtijd)), number(m.landnummer)});
}

std::optional<StartMessage> parseStart(QByteArrayView message) {
    const auto f = fieldsOf(message, vxsestar, 2);
    if (!f) return std::nullopt;
    const auto tijd = parseInt16(f->at(1));
    const auto land = parseInt16(f->at(2));
    if (!tijd || !land) return std::nullopt;
    return StartMessage{f->at(1), *land};
}

QByteArray build(const UserMessage& m) {
    return frameMessage(vxcluser, {toWireText(fieldText(m.naam)), number(m.landnummer)});
}

std::optional<UserMessage> parseUser(QByteArrayView message) {
    const auto f = fieldsOf(message, vxcluser, 2);
    if (!f) return std::nullopt;
    const auto land = parseInt16(f->at(2));
    if (!land) return std::nullopt;
    return UserMessage{f->at(1), *land};
}

QByteArray build(const RegistrationMessage& m) {
    return frameMessage(vxseregi,
                        {toWireText(fieldText(m.naam)), number(m.spelernr), number(m.landnummer)});
}

std::optional<RegistrationMessage> parseRegistration(QByteArrayView message) {
    const auto f = fieldsOf(message, vxseregi, 3);
    if (!f) return std::nullopt;
    const auto nr = parseInt16(f->at(2));
    const auto land = parseInt16(f->at(3));
    if (!nr || !land || *nr < 1 || *nr > 4) return std::nullopt;
    return RegistrationMessage{f->at(1), *nr, *land};
}

QByteArray build(const ChoicesMessage& m) {
    QList<QByteArray> fields;
    for (const QString& k : m.keuzes)
        fields << toWireText(fieldText(k));
    fields << number(m.vraagnummer) << number(m.slot);
    return frameMessage(vxsekeuz, fields);
}

std::optional<ChoicesMessage> parseChoices(QByteArrayView message) {
    const auto f = fieldsOf(message, vxsekeuz, 6);
    if (!f) return std::nullopt;
    const auto vraag = parseInt16(f->at(5));
    const auto slot = parseInt16(f->at(6));
    if (!vraag || !slot || *slot < 1 || *slot > 4) return std::nullopt;
    ChoicesMessage m;
    for (int k = 0; k < 4; ++k)
        m.keuzes[k] = f->at(k + 1);
    m.vraagnummer = *vraag;
    m.slot = *slot;
    return m;
}

// --- Row tables

RoundResultRow RoundResultRow::of(const Speler& s, qint16 juistekeuze) {
    if (s.naam.isEmpty()) return RoundResultRow{0, 0, 0, 0, QString(), juistekeuze, 0};
    return RoundResultRow{s.antwoord, s.antwoordtijd, s.huidigescore, s.totaalscore,
                          s.naam,     juistekeuze,    s.landnummer};
}

FinalScoreRow FinalScoreRow::of(const Speler& s, qint16 juistekeuze) {
    if (s.naam.isEmpty()) return FinalScoreRow{0, 0, 0, 0, QString(), juistekeuze};
    return FinalScoreRow{s.antwoord,    s.antwoordtijd, s.huidigescore,
                         s.totaalscore, s.naam,         juistekeuze};
}

namespace {

constexpr int kNameValue = 4;

// A table message: each row's values joined by "_", then an empty field. When
// the whole is too long the longest names are cut, never a row's numbers, so
// every row still parses.
QByteArray frameRows(QByteArrayView tag, QList<QByteArrayList> rows) {
    qsizetype size = 2 * tag.size() + 6 + 1;
    QList<QByteArray*> names;
    for (QByteArrayList& row : rows) {
        size += row.join('_').size() + 1;
        names << &row[kNameValue];
    }
    cutLongest(names, size - kMaxMessage);
    QList<QByteArray> fields;
    for (const QByteArrayList& row : rows)
        fields << row.join('_');
    fields << QByteArray();
    return frameMessage(tag, fields);
}

} // namespace

QByteArray buildRoundResults(QByteArrayView tag, const RoundResultTable& rows) {
    QList<QByteArrayList> values;
    for (const RoundResultRow& r : rows) {
        values << QByteArrayList{number(r.antwoord),          number(r.antwoordtijd),
                                 number(r.huidigescore),      number(r.totaalscore),
                                 toWireText(rowText(r.naam)), number(r.juistekeuze),
                                 number(r.landnummer)};
    }
    return frameRows(tag, values);
}

std::optional<RoundResultTable> parseRoundResults(QByteArrayView message) {
    if (!message.startsWith(vxseantw) && !message.startsWith(vxseant2)) return std::nullopt;
    const auto f = fieldsOf(message, message.first(kTagLength), 6);
    if (!f) return std::nullopt;
    RoundResultTable table;
    for (int i = 0; i < 5; ++i) {
        const auto values = rowValues(f->at(i + 1), 7);
        if (!values) return std::nullopt;
        const auto n = rowNumbers(*values);
        const auto land = parseInt16(values->at(6));
        if (!n || !land) return std::nullopt;
        table[i] =
            RoundResultRow{(*n)[0], (*n)[1], (*n)[2], (*n)[3], values->at(4), (*n)[4], *land};
    }
    return table;
}

QByteArray buildFinalScores(const FinalScoreTable& rows) {
    QList<QByteArrayList> values;
    for (const FinalScoreRow& r : rows) {
        values << QByteArrayList{number(r.antwoord),          number(r.antwoordtijd),
                                 number(r.huidigescore),      number(r.totaalscore),
                                 toWireText(rowText(r.naam)), number(r.juistekeuze)};
    }
    return frameRows(vxseeind, values);
}

std::optional<FinalScoreTable> parseFinalScores(QByteArrayView message) {
    const auto f = fieldsOf(message, vxseeind, 6);
    if (!f) return std::nullopt;
    FinalScoreTable table;
    for (int i = 0; i < 5; ++i) {
        const auto values = rowValues(f->at(i + 1), 6);
        if (!values) return std::nullopt;
        const auto n = rowNumbers(*values);
        if (!n) return std::nullopt;
        table[i] = FinalScoreRow{(*n)[0], (*n)[1], (*n)[2], (*n)[3], values->at(4), (*n)[4]};
    }
    return table;
}

// --- One-text messages

QByteArray buildHostChat(const QString& line) {
    return frameMessage(vxsechat, {toWireText(escapeChat(fieldText(line)))});
}

QByteArray buildText(QByteArrayView tag, const QString& text) {
    return frameMessage(tag, {toWireText(fieldText(text))});
}

std::optional<QString> parseText(QByteArrayView message) {
    if (message.size() < kTagLength) return std::nullopt;
    const auto f = fieldsOf(message, message.first(kTagLength), 1);
    if (!f) return std::nullopt;
    return f->at(1);
}

// --- Trivia

QByteArray build(const TriviaQuestionMessage& m, QChar decimalSeparator) {
    const auto text = [](const QString& t) { return toWireText(fieldText(t)); };
    return frameMessage(vxsetriv, {text(m.triviavraagnr), text(m.triviavraag),
                                   number(m.aantaltriviaantwoorden), text(m.triviamasker1),
                                   text(m.triviaposter), number(m.schermnummer), text(m.leeg),
                                   text(m.triviafastest),
                                   text(formatDecimal(m.triviafastesttime, decimalSeparator)),
                                   text(m.triviamasker2)});
}

std::optional<TriviaQuestionMessage> parseTriviaQuestion(QByteArrayView message) {
    const auto f = fieldsOf(message, vxsetriv, 10);
    if (!f) return std::nullopt;
    const bool vraagnr = isWholeNumber(f->at(1));
    const auto aantal = parseInt16(f->at(3));
    const auto scherm = parseInt16(f->at(6));
    const auto tijd = parseDecimal(f->at(9));
    if (!vraagnr || !aantal || !scherm || !tijd) return std::nullopt;
    return TriviaQuestionMessage{f->at(1), f->at(2), *aantal,  f->at(4), f->at(5),
                                 *scherm,  f->at(7), f->at(8), *tijd,    f->at(10)};
}

QByteArray buildStop() {
    return frameMessage(vxsestop, {QByteArray()});
}

bool parseStop(QByteArrayView message) {
    return fieldsOf(message, vxsestop, 1).has_value();
}

QByteArray build(const ClientAnswerMessage& m) {
    return frameMessage(vxclantw, {number(m.antwoord), number(m.antwoordtijd)});
}

std::optional<ClientAnswerMessage> parseClientAnswer(QByteArrayView message) {
    const auto f = fieldsOf(message, vxclantw, 2);
    if (!f) return std::nullopt;
    const auto antwoord = parseInt16(f->at(1));
    const auto tijd = parseInt16(f->at(2));
    if (!antwoord || !tijd) return std::nullopt;
    return ClientAnswerMessage{*antwoord, *tijd};
}

QByteArray build(const TriviaAnswerMessage& m, QChar decimalSeparator) {
    return frameMessage(vxcltriv, {toWireText(fieldText(m.antwoord)),
                                   toWireText(formatClock(m.klokwaarde, decimalSeparator))});
}

std::optional<TriviaAnswerMessage> parseTriviaAnswer(QByteArrayView message) {
    const auto f = fieldsOf(message, vxcltriv, 2);
    if (!f) return std::nullopt;
    const auto klok = parseDecimal(f->at(2));
    if (!klok) return std::nullopt;
    return TriviaAnswerMessage{f->at(1), *klok};
}

} // namespace wire
