#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct Speler;

// Messages between the host and its clients.
//
// A message is an 8-byte tag, then "|" + text for every field, then "|" + the tag
// + "einde": "vxseregi|anna|2|21|vxseregieinde"; without fields "vxseopen|vxseopeneinde".
// Host tags begin with "vxse", client tags with "vxcl". Numbers are decimal text;
// fractional values carry the sender's decimal separator ("4,26" or "4.26").
// Text is one byte per character in Windows-1252 (Latin-1 with printable
// characters such as "€", "’" and "…" at 0x80-0x9F); a character it cannot hold
// goes out as "?", and the five bytes it leaves unused come in as "?".
//
// Builders make the exact bytes. Parsers take one whole message as the receive
// splitter hands it over and give nothing back when a field is missing or a number
// field holds no number, so the caller drops the message without effect.
//
// The format cannot carry "|" in a field, "_" in a row value or a tag inside a
// text, since receivers cut at them. Every text a builder sends therefore gets "|"
// replaced by "¦" and "vxse"/"vxcl" by "vXse"/"vXcl"; a name inside a row also gets
// "_" replaced by "-". Only the line of "vxsechat" is escaped: "\" becomes "\\",
// then "'" becomes "\'".
//
// A framed message is at most kMaxMessage bytes; a builder cuts its longest field
// to fit, and a table builder its longest names.

namespace wire {

// Host to client.
inline constexpr char vxsechat[] = "vxsechat";
inline constexpr char vxsekik1[] = "vxsekik1";
inline constexpr char vxsecha2[] = "vxsecha2";
inline constexpr char vxsecha3[] = "vxsecha3";
inline constexpr char vxsecha4[] = "vxsecha4";
inline constexpr char vxseantw[] = "vxseantw";
inline constexpr char vxseant2[] = "vxseant2";
inline constexpr char vxsetriv[] = "vxsetriv";
inline constexpr char vxseeind[] = "vxseeind";
inline constexpr char vxsestar[] = "vxsestar";
inline constexpr char vxsekeuz[] = "vxsekeuz";
inline constexpr char vxsestop[] = "vxsestop";
inline constexpr char vxseregi[] = "vxseregi";
inline constexpr char vxseopen[] = "vxseopen";
inline constexpr char vxseclos[] = "vxseclos";
inline constexpr char vxsecorr[] = "vxsecorr";
inline constexpr char vxseusrs[] = "vxseusrs";
// Client to host.
inline constexpr char vxclchat[] = "vxclchat";
inline constexpr char vxcluser[] = "vxcluser";
inline constexpr char vxclantw[] = "vxclantw";
inline constexpr char vxcltriv[] = "vxcltriv";
inline constexpr char vxclregi[] = "vxclregi";

inline constexpr qsizetype kTagLength = 8;
inline constexpr qsizetype kMaxMessage = 32767;

// The order in which each side's receive splitter tries the tags.
inline constexpr std::array<const char*, 15> kClientTagOrder = {
    vxsechat, vxsekik1, vxsecha2, vxsecha3, vxsecha4, vxseantw, vxseant2, vxsetriv,
    vxseeind, vxsestar, vxsekeuz, vxsestop, vxseregi, vxseopen, vxseclos};
inline constexpr std::array<const char*, 5> kHostTagOrder = {vxclchat, vxcluser, vxclantw, vxcltriv,
                                                             vxclregi};

// Text to bytes and back.
QByteArray toWireText(const QString& text);
QString fromWireText(QByteArrayView bytes);

// Texts from a peer are cut before they are shown, stored or sent on: a chat or
// system line to kMaxPeerLine characters, a player name to kMaxPeerName. So a
// long line cannot stall the chat box and no table message can pass kMaxMessage.
inline constexpr qsizetype kMaxPeerLine = 300;
inline constexpr qsizetype kMaxPeerName = 40;
// text cut to at most maxLength characters, without splitting a surrogate pair.
QString cutText(const QString& text, qsizetype maxLength);
inline QString peerLine(const QString& line) {
    return cutText(line, kMaxPeerLine);
}
inline QString peerName(const QString& name) {
    return cutText(name, kMaxPeerName);
}

// tag + "einde".
QByteArray closingTag(QByteArrayView tag);
// tag, "|" + field for each field, "|" + closing tag; the longest field is cut
// while the whole is longer than kMaxMessage.
QByteArray frameMessage(QByteArrayView tag, QList<QByteArray> fields);
// A message without fields: "vxseopen|vxseopeneinde".
QByteArray bareMessage(QByteArrayView tag);
// The message split at every "|": tag, fields, closing tag.
QStringList splitMessage(QByteArrayView message);

// A text made safe for a field, and for a value inside a row.
QString fieldText(const QString& text);
QString rowText(const QString& text);

// The chat escaping of "vxsechat" and its undoing.
QString escapeChat(const QString& line);
QString unescapeChat(const QString& line);

// A 16-bit whole number, or nothing.
std::optional<qint16> parseInt16(const QString& text);
// A fractional number written with "," or "." as decimal separator, or nothing.
std::optional<double> parseDecimal(const QString& text);
// A fractional number with the given decimal separator, up to 15 significant digits.
QString formatDecimal(double value, QChar separator);
// Seconds left on a clock with at most three decimals, cut (never rounded up), with
// the given decimal separator; "0" when nothing is left.
QString formatClock(double seconds, QChar separator);

// Bytes of the song excerpt for a question time: (seconds + 2) x 25000.
constexpr qint32 excerptSize(qint32 seconds) {
    return (seconds + 2) * 25000;
}

// "vxsestar": the host greets a new connection.
struct StartMessage {
    QString vraagtijd;     // seconds per question as the host holds it ("10", "15", "20")
    qint16 landnummer = 0; // the host's country
    bool operator==(const StartMessage&) const = default;
};
QByteArray build(const StartMessage& m);
std::optional<StartMessage> parseStart(QByteArrayView message);

// "vxcluser": a client's answer to the greeting.
struct UserMessage {
    QString naam;
    qint16 landnummer = 0;
    bool operator==(const UserMessage&) const = default;
};
QByteArray build(const UserMessage& m);
std::optional<UserMessage> parseUser(QByteArrayView message);

// "vxseregi": a player announced to the clients.
struct RegistrationMessage {
    QString naam;
    qint16 spelernr = 0; // 1..4, the host's socket index
    qint16 landnummer = 0;
    bool operator==(const RegistrationMessage&) const = default;
};
QByteArray build(const RegistrationMessage& m);
std::optional<RegistrationMessage> parseRegistration(QByteArrayView message);

// "vxsekeuz": the four titles of a music question.
struct ChoicesMessage {
    std::array<QString, 4> keuzes; // choices 1..4
    qint16 vraagnummer = 0;        // number of this question
    qint16 slot = 0;               // the receiver's own player number, 1..4
    bool operator==(const ChoicesMessage&) const = default;
};
QByteArray build(const ChoicesMessage& m);
std::optional<ChoicesMessage> parseChoices(QByteArrayView message);

// One player's row of "vxseantw" and "vxseant2".
struct RoundResultRow {
    qint16 antwoord = 0;
    qint16 antwoordtijd = 0;
    qint16 huidigescore = 0;
    qint16 totaalscore = 0;
    QString naam;
    qint16 juistekeuze = 0;
    qint16 landnummer = 0;
    bool operator==(const RoundResultRow&) const = default;

    // The row of a player record; a record not in use gives zeros, an empty name
    // and the right choice.
    static RoundResultRow of(const Speler& speler, qint16 juistekeuze);
};

// One player's row of "vxseeind": the first six values of a RoundResultRow.
struct FinalScoreRow {
    qint16 antwoord = 0;
    qint16 antwoordtijd = 0;
    qint16 huidigescore = 0;
    qint16 totaalscore = 0;
    QString naam;
    qint16 juistekeuze = 0;
    bool operator==(const FinalScoreRow&) const = default;

    static FinalScoreRow of(const Speler& speler, qint16 juistekeuze);
};

using RoundResultTable = std::array<RoundResultRow, 5>; // player records 0..4
using FinalScoreTable = std::array<FinalScoreRow, 5>;

// "vxseantw" or "vxseant2" (the tag decides): five rows, then an empty field.
QByteArray buildRoundResults(QByteArrayView tag, const RoundResultTable& rows);
std::optional<RoundResultTable> parseRoundResults(QByteArrayView message);
// "vxseeind": five rows, then an empty field.
QByteArray buildFinalScores(const FinalScoreTable& rows);
std::optional<FinalScoreTable> parseFinalScores(QByteArrayView message);

// "vxsechat" from the host: the line goes out escaped.
QByteArray buildHostChat(const QString& line);
// One text field: "vxsecha2", "vxsecha3", "vxsecha4", "vxclchat" (not escaped),
// "vxclregi".
QByteArray buildText(QByteArrayView tag, const QString& text);
// Field 1 of a one-text message as it was sent (a "vxsechat" line is still escaped).
std::optional<QString> parseText(QByteArrayView message);

// "vxsetriv": one trivia question.
struct TriviaQuestionMessage {
    QString triviavraagnr;             // 1: number in the trivia table
    QString triviavraag;               // 2
    qint16 aantaltriviaantwoorden = 0; // 3
    QString triviamasker1;             // 4
    QString triviaposter;              // 5
    qint16 schermnummer = 0;           // 6: number of the question on the screens
    QString leeg;                      // 7: always empty
    QString triviafastest;             // 8
    double triviafastesttime = 0;      // 9
    QString triviamasker2;             // 10
    bool operator==(const TriviaQuestionMessage&) const = default;
};
QByteArray build(const TriviaQuestionMessage& m, QChar decimalSeparator);
std::optional<TriviaQuestionMessage> parseTriviaQuestion(QByteArrayView message);

// "vxsestop": the host stops; the reason is always empty.
QByteArray buildStop();
bool parseStop(QByteArrayView message);

// "vxclantw": a client's music answer.
struct ClientAnswerMessage {
    qint16 antwoord = 0;     // 1..4
    qint16 antwoordtijd = 0; // whole seconds left
    bool operator==(const ClientAnswerMessage&) const = default;
};
QByteArray build(const ClientAnswerMessage& m);
std::optional<ClientAnswerMessage> parseClientAnswer(QByteArrayView message);

// "vxcltriv": a typed trivia answer with the client's clock.
struct TriviaAnswerMessage {
    QString antwoord;      // lower case
    double klokwaarde = 0; // seconds left
    bool operator==(const TriviaAnswerMessage&) const = default;
};
// The clock value goes out rounded to hundredths, as the clock box shows it: 0.00 as "0".
QByteArray build(const TriviaAnswerMessage& m, QChar decimalSeparator);
std::optional<TriviaAnswerMessage> parseTriviaAnswer(QByteArrayView message);

} // namespace wire
