// The trivia rules: hint masks, separators, rounding, judging and records.
#include "common/gamestate.h"
#include "common/trivia.h"
#include "tests/support/datarow.h"

#include <QtTest>

class tst_trivia : public QObject {
    Q_OBJECT

private slots:
    void masks_data() {
        QTest::addColumn<int>("aantal");
        QTest::addColumn<QString>("antwoord");
        QTest::addColumn<QString>("masker1");
        QTest::addColumn<QString>("masker2");
        const auto row = [](const char* name, int n, const char* a, const char* m1,
                            const char* m2) {
            dataRow(name, n, QString(a), QString(m1), QString(m2));
        };
        row("door", 1, "the red door", "***_***_****", "**e_*e*_d**r");
        row("digits", 1, "abc 12", "***_^^", "**c_^2");
        row("year", 1, "1984", "^^^^", "^^8^");
        row("rock", 1, "rock & roll", "****_&_****", "**c*_&_*o**");
        row("three", 3, "a", "3 answers!", "");
    }
    void masks() {
        QFETCH(int, aantal);
        QFETCH(QString, antwoord);
        const HintMasks m = hintMasks(aantal, antwoord);
        QTEST(m.masker1, "masker1");
        QTEST(m.masker2, "masker2");
    }

    void numbersCrossSeparatorsAndRoundHalfToEven() {
        QCOMPARE(readDecimal(QStringLiteral("4,26"), QStringLiteral(".")), 4.26);
        QCOMPARE(readDecimal(QStringLiteral("7.53"), QStringLiteral(",")), 7.53);
        QVERIFY(!readDecimal(QStringLiteral("inf"), QStringLiteral(".")));
        QCOMPARE(roundHalfEven2(4.255), 4.26);
        QCOMPARE(roundHalfEven2(4.265), 4.26);
        QCOMPARE(roundHalfEven2(4.2549), 4.25);
        // A time taken from a millisecond clock carries binary noise.
        QCOMPARE(roundHalfEven2(15 - 10.745), 4.26);
    }

    void findsScoreOnceAndRecordsGoToTheFastest() {
        QString antwoorden[16];
        antwoorden[1] = QStringLiteral("red");
        antwoorden[2] = QStringLiteral("green");
        antwoorden[3] = QStringLiteral("blue");
        Speler spelers[6];
        spelers[0].naam = QStringLiteral("host");
        spelers[1].naam = QStringLiteral("anna");
        const auto find = [&](int p, const char* regel, bool optijd, qint16 punten, double tijd) {
            return judgeTrivia(spelers[p], QString::fromLatin1(regel),
                               TriviaTurn{antwoorden, 3, optijd, punten, tijd});
        };
        QCOMPARE(find(1, "green", true, 12, 3).regels,
                 QStringList{QStringLiteral("anna found an answer (+12)")});
        QCOMPARE(find(1, "red", true, 6, 9).regels,
                 QStringList{QStringLiteral("anna found the answer (+6)")});
        // Found before, or too late: a match without effect.
        const TriviaJudgement again = find(1, "red", true, 5, 10);
        QVERIFY(again.match && again.regels.isEmpty());
        const TriviaJudgement late = find(0, "blue", false, 0, 15);
        QVERIFY(late.match && late.regels.isEmpty());
        QVERIFY(!find(0, "purple", true, 9, 1).match);
        QCOMPARE(completionTime(spelers[1], 3), std::nullopt);
        find(1, "blue", true, 9, 6);
        QCOMPARE(spelers[1].huidigescore, qint16(27));
        QCOMPARE(spelers[1].totaalscore, qint16(27));
        // The last of the three answers came after 9 seconds.
        QCOMPARE(completionTime(spelers[1], 3), 9.0);

        // Another player with the same time: the lower record keeps it.
        spelers[4] = spelers[1];
        spelers[4].naam = QStringLiteral("bob");
        QCOMPARE(findRecord(spelers, 3, 100.0).speler, 1);
        spelers[4].tijden[1] = 8.5;
        QCOMPARE(findRecord(spelers, 3, 100.0).speler, 4);
        // Not faster than the stored record; a question without answers has none.
        QCOMPARE(findRecord(spelers, 3, 8.5).speler, -1);
        QCOMPARE(findRecord(spelers, 0, 100.0).speler, -1);
    }
};

QTEST_MAIN(tst_trivia)
#include "tst_trivia.moc"
