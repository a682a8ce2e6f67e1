#include "common/trivia.h"

#include "common/gamestate.h"
#include "common/points.h"
#include "common/protocol.h"

#include <QLocale>
#include <cmath>

namespace {

QChar maskOf(QChar c) {
    if (c == u' ') return u'_';
    if (c >= u'a' && c <= u'z') return u'*';
    if (c >= u'0' && c <= u'9') return u'^';
    return c;
}

} // namespace

int usableAnswerCount(int aantal) {
    return qBound(0, aantal, kMaxTriviaAnswers);
}

HintMasks hintMasks(int aantal, const QString& antwoord1) {
    HintMasks m;
    if (aantal != 1) {
        m.masker1 = QString::number(aantal) + QStringLiteral(" answers!");
        return m;
    }
    for (qsizetype i = 0; i < antwoord1.size(); ++i) {
        const QChar c = antwoord1.at(i);
        m.masker1 += maskOf(c);
        m.masker2 += (i + 1) % 3 == 0 ? c : maskOf(c);
    }
    return m;
}

QString decimaalteken() {
    return QLocale().toString(3.0 / 2).mid(1, 1);
}

std::optional<double> readDecimal(QString text, const QString& separator) {
    const QString other = separator == u"." ? QStringLiteral(",") : QStringLiteral(".");
    if (!text.contains(separator)) text.replace(other, separator);
    text.replace(separator, QStringLiteral("."));
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString writeDecimal(double value, const QString& separator) {
    return wire::formatDecimal(value, separator.isEmpty() ? QChar(u'.') : separator.at(0));
}

double roundHalfEven2(double value) {
    // The shortest decimal form, so that 4.255 counts as a tie although the
    // double just below it is stored.
    const double hundredths = QString::number(value * 100, 'f', 6).toDouble();
    const double lower = std::floor(hundredths);
    const double rest = hundredths - lower;
    double whole = lower;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(lower, 2.0) != 0)) whole = lower + 1;
    return whole / 100;
}

TriviaJudgement judgeTrivia(Speler& speler, const QString& regel, const TriviaTurn& turn) {
    TriviaJudgement out;
    const int n = usableAnswerCount(turn.aantal);
    for (int k = 1; k <= n; ++k) {
        if (regel != turn.antwoorden[k]) continue;
        out.match = true;
        if (!turn.optijd || speler.gevonden[k] == u"1") continue;
        speler.gevonden[k] = QStringLiteral("1");
        speler.huidigescore = addPoints(speler.huidigescore, turn.punten);
        speler.totaalscore = addPoints(speler.totaalscore, turn.punten);
        speler.tijden[k] = turn.tijd;
        out.regels << speler.naam +
                          (k == 1 ? QStringLiteral(" found the answer (+")
                                  : QStringLiteral(" found an answer (+")) +
                          QString::number(turn.punten) + u')';
    }
    return out;
}

std::optional<double> completionTime(const Speler& speler, int aantal) {
    // A question without answers is never completed.
    if (aantal < 1 || aantal > kMaxTriviaAnswers) return std::nullopt;
    double tijd = speler.tijden[1];
    for (int k = 1; k <= aantal; ++k) {
        if (speler.gevonden[k] != u"1") return std::nullopt;
        tijd = std::max(tijd, speler.tijden[k]);
    }
    return tijd;
}

QString answersLine(const QString* antwoorden, int aantal) {
    const int n = usableAnswerCount(aantal);
    if (n < 1) return {};
    if (n == 1) return QStringLiteral("The answer was: '") + antwoorden[1] + u'\'';
    QString line = QStringLiteral("The answers were: '") + antwoorden[1] + u'\'';
    for (int k = 2; k <= n; ++k)
        line += QStringLiteral(",'") + antwoorden[k] + u'\'';
    return line;
}

TriviaRecord findRecord(const Speler* spelers, int aantal, double stored) {
    TriviaRecord best;
    for (int p = 0; p <= 5; ++p) {
        const std::optional<double> t = completionTime(spelers[p], aantal);
        if (t && *t < stored && *t < best.tijd) {
            best.speler = p;
            best.tijd = *t;
        }
    }
    return best;
}
