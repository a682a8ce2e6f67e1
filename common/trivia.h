#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct Speler;

// The rules of the trivia quiz that need no window: hint masks, decimal
// separators, judging a typed line, the record time. The host's module and the
// client's module build on them.

// Colours of the trivia system lines (Windows colour values, blue in the high byte).
constexpr qint32 kTriviaGreen = 49152;   // a player found an answer
constexpr qint32 kTriviaBlue = 16711680; // the accepted answers
constexpr qint32 kTriviaRed = 255;       // a new record

// Accepted answers are kept in slots 1..15.
constexpr int kMaxTriviaAnswers = 15;
// The number of answers that can be looked at safely: a count outside 1..15 (a
// bad row, a forged message) is cut to the slots there are.
int usableAnswerCount(int aantal);

struct HintMasks {
    QString masker1;
    QString masker2;
};
// One accepted answer: mask 1 turns a space into "_", a-z into "*", 0-9 into "^"
// and keeps the rest; mask 2 keeps every third character and masks the others
// the same way. Any other count: "<count> answers!" and an empty mask 2.
HintMasks hintMasks(int aantal, const QString& antwoord1);

// The decimal separator of the current locale: the second character of 1.5.
QString decimaalteken();

// A number from a peer or the table, its decimal point turned into separator
// first (a "." or "," that is not the separator becomes it). Nothing when the
// text is no finite number.
std::optional<double> readDecimal(QString text, const QString& separator);
// A number as text with the separator, shortest form ("4,26", "100").
QString writeDecimal(double value, const QString& separator);

// Rounded to two decimals, a tie going to the even neighbour (4.255 and 4.265 both
// give 4.26). The value's shortest decimal form decides what is a tie.
double roundHalfEven2(double value);

// One typed line judged for one player against the accepted answers.
struct TriviaTurn {
    const QString* antwoorden = nullptr; // triviaantwoorden, slots 1..15
    int aantal = 0;                      // aantaltriviaantwoorden
    bool optijd = false;                 // the answer came while the question was open
    qint16 punten = 0;                   // points for a find
    double tijd = 0;                     // seconds the player needed
};
struct TriviaJudgement {
    bool match = false; // the line equals an accepted answer
    QStringList regels; // one green line per answer found now
};
// Marks every accepted answer that equals the line and that the player had not
// found yet: gevonden "1", tijden, the scores, and its line ("<naam> found the
// answer (+n)" for the first answer, "found an answer" for the others). A late
// line or one found before matches without effect.
TriviaJudgement judgeTrivia(Speler& speler, const QString& regel, const TriviaTurn& turn);

// The time a player needed for the whole question: the moment its last accepted
// answer was found; nothing unless it found all of them (1..15).
std::optional<double> completionTime(const Speler& speler, int aantal);

// "The answer was: 'a'" / "The answers were: 'a','b'"; empty without answers.
QString answersLine(const QString* antwoorden, int aantal);

struct TriviaRecord {
    int speler = -1; // player record 0..5, -1 = no new record
    double tijd = 100.0;
};
// The new record of a question: among records 0..5 the fastest who found every
// answer and beat the stored time; with equal times the lower record keeps it.
TriviaRecord findRecord(const Speler* spelers, int aantal, double stored);
