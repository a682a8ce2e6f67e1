// The trivia rules: hint masks, separators, rounding, judging and records.
#include "common/gamestate.h"
#include "common/trivia.h"

#include <QtTest>

class tst_trivia : public QObject {
    Q_OBJECT

private slots:
    void masks_data() {
        QTest::addColumn<int>("aantal");
        QTest::addColumn<QString>("antwoord");
        QTest::addColumn<QString>("masker1");
        QTest::addColumn<QString>("masker2");
        QTest::newRow("door") << 1 << "the red door"
                              << "***_***_****"
                              << "**e_*e*_d**r";
        QTest::newRow("digits") << 1 << "abc 12"
                                << "***_^^"
                                << "**c_^2";
        QTest::newRow("year") << 1 << "1984"
                              << "^^^^"
                              << "^^8^";
        QTest::newRow("rock") << 1 << "rock & roll"
                              << "****_&_****"
                              << "**c*_&_*o**";
        QTest::newRow("space kept") << 1 << "ab cd"
                                    << "**_**"
                                    << "** **";
        QTest::newRow("three") << 3 << "a"
                               << "3 answers!"
                               << "";
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
        QCOMPARE(readDecimal(QStringLiteral("7,531"), QStringLiteral(",")), 7.531);
        QVERIFY(!readDecimal(QStringLiteral("abc"), QStringLiteral(".")));
        QVERIFY(!readDecimal(QStringLiteral("inf"), QStringLiteral(".")));
        QCOMPARE(writeDecimal(4.26, QStringLiteral(",")), QStringLiteral("4,26"));
        QCOMPARE(writeDecimal(100, QStringLiteral(",")), QStringLiteral("100"));
        QCOMPARE(roundHalfEven2(4.255), 4.26);
        QCOMPARE(roundHalfEven2(4.265), 4.26);
        QCOMPARE(roundHalfEven2(4.256), 4.26);
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
        QCOMPARE(spelers[0].totaalscore, qint16(0));
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
        spelers[4].tijden[2] = 2.5;
        QCOMPARE(findRecord(spelers, 3, 100.0).speler, 1); // still 9 s: the last find counts
        spelers[4].tijden[1] = 8.5;
        spelers[4].tijden[3] = 1;
        const TriviaRecord record = findRecord(spelers, 3, 100.0);
        QCOMPARE(record.speler, 4);
        QCOMPARE(record.tijd, 8.5);
        // Not faster than the stored record; a question without answers has none.
        QCOMPARE(findRecord(spelers, 3, 8.5).speler, -1);
        QCOMPARE(findRecord(spelers, 0, 100.0).speler, -1);
        QCOMPARE(answersLine(antwoorden, 3),
                 QStringLiteral("The answers were: 'red','green','blue'"));
        QCOMPARE(answersLine(antwoorden, 1), QStringLiteral("The answer was: 'red'"));
        QCOMPARE(answersLine(antwoorden, 0), QString());
        QCOMPARE(answersLine(antwoorden, 99).count(u'\''), 30); // cut to the 15 slots
    }
};

QTEST_MAIN(tst_trivia)
#include "tst_trivia.moc"
