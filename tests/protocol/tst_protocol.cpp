#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>
#include <functional>
#include <memory>

using namespace wire;

namespace {

const QByteArray kClose = "vxseclos|vxsecloseinde";

// What a splitter handed over, in order: "M" message, "U" untagged, "S" song, "W" warning.
struct Recorder {
    QList<QPair<char, QByteArray>> events;

    explicit Recorder(ReceiveBuffer& buffer) {
        QObject::connect(&buffer, &ReceiveBuffer::messageReceived, &buffer,
                         [this](const QByteArray& m) {
                             events.append({'M', m});
                         });
        QObject::connect(&buffer, &ReceiveBuffer::untaggedReceived, &buffer,
                         [this](const QByteArray& u) {
                             events.append({'U', u});
                         });
        QObject::connect(&buffer, &ReceiveBuffer::songData, &buffer, [this](const QByteArray& s) {
            events.append({'S', s});
        });
        QObject::connect(&buffer, &ReceiveBuffer::warningLine, &buffer, [this](const QString& w) {
            events.append({'W', w.toLatin1()});
        });
    }

    // Song pieces joined: how the song is cut into reads does not matter.
    QList<QPair<char, QByteArray>> merged() const {
        QList<QPair<char, QByteArray>> out;
        for (const auto& e : events) {
            if (e.first == 'S' && !out.isEmpty() && out.last().first == 'S') {
                out.last().second += e.second;
            } else {
                out.append(e);
            }
        }
        return out;
    }

    QByteArrayList messages() const {
        QByteArrayList out;
        for (const auto& e : events)
            if (e.first == 'M') out << e.second;
        return out;
    }

    QByteArray song() const {
        QByteArray out;
        for (const auto& e : events)
            if (e.first == 'S') out += e.second;
        return out;
    }

    int count(char kind) const {
        return int(std::count_if(events.begin(), events.end(),
                                 [kind](const auto& e) { return e.first == kind; }));
    }
};

QByteArray chat(const QString& line) {
    return buildHostChat(line);
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char& c : out)
        c = char(rng.bounded(256));
    return out;
}

// Random song bytes with the byte runs a receiver could mistake for protocol text.
QByteArray trickySong(qsizetype size, quint32 seed) {
    QByteArray song = randomBytes(size, seed);
    const QList<QByteArray> plants = {"vxse",
                                      "vxcl",
                                      "vxseclos|",
                                      "vxseclos|vxseclo",
                                      "vxsechat|hello|vxsechateinde",
                                      "vxsekik1|vxsekik1einde",
                                      kClose + "\xFF\xFB\x90\x64",
                                      kClose + "vxsech",
                                      kClose + kClose + "ID3"};
    for (int i = 0; i < plants.size(); ++i) {
        const qsizetype at = (size / (plants.size() + 1)) * (i + 1);
        song.replace(at, plants[i].size(), plants[i]);
    }
    return song;
}

// Feeds data in reads of random size.
void feedInPieces(ReceiveBuffer& buffer, const QByteArray& data, quint32 seed) {
    QRandomGenerator rng(seed);
    for (qsizetype at = 0; at < data.size();) {
        const qsizetype n = std::min<qsizetype>(data.size() - at, 1 + rng.bounded(70000));
        buffer.append(data.mid(at, n));
        at += n;
    }
}

// Whether the parser for the message's tag takes it.
bool accepted(const QByteArray& m) {
    const QByteArray tag = m.left(kTagLength);
    if (tag == vxsestar) return parseStart(m).has_value();
    if (tag == vxcluser) return parseUser(m).has_value();
    if (tag == vxseregi) return parseRegistration(m).has_value();
    if (tag == vxsekeuz) return parseChoices(m).has_value();
    if (tag == vxseantw || tag == vxseant2) return parseRoundResults(m).has_value();
    if (tag == vxseeind) return parseFinalScores(m).has_value();
    if (tag == vxsetriv) return parseTriviaQuestion(m).has_value();
    if (tag == vxsestop) return parseStop(m);
    if (tag == vxclantw) return parseClientAnswer(m).has_value();
    if (tag == vxcltriv) return parseTriviaAnswer(m).has_value();
    return parseText(m).has_value();
}

Speler player(const QString& naam, qint16 antwoord, qint16 tijd, qint16 huidig, qint16 totaal,
              qint16 land) {
    Speler s;
    s.naam = naam;
    s.antwoord = antwoord;
    s.antwoordtijd = tijd;
    s.huidigescore = huidig;
    s.totaalscore = totaal;
    s.landnummer = land;
    return s;
}

} // namespace

class tst_protocol : public QObject {
    Q_OBJECT

private slots:
    // --- Message formats

    void messagesWithoutFieldsSplitIntoTagAndClosingTag() {
        QCOMPARE(splitMessage(bareMessage(vxsekik1)), QStringList({"vxsekik1", "vxsekik1einde"}));
        QCOMPARE(bareMessage(vxseopen), QByteArray("vxseopen|vxseopeneinde"));
        QCOMPARE(bareMessage(vxseclos), kClose);
    }

    void hostChatEscapesApostropheAndBackslash() {
        const QString typed = QStringLiteral("<server> it's in C:\\songs");
        const QByteArray sent = buildHostChat(typed);
        QCOMPARE(sent, QByteArray("vxsechat|<server> it\\'s in C:\\\\songs|vxsechateinde"));
        QCOMPARE(unescapeChat(*parseText(sent)), typed);
        // Only the host's chat line is escaped.
        QCOMPARE(buildText(vxclchat, typed), "vxclchat|" + typed.toLatin1() + "|vxclchateinde");
        QCOMPARE(buildText(vxsecha2, "it's"), QByteArray("vxsecha2|it's|vxsecha2einde"));
    }

    void chatLinesComeBackAsTyped_data() {
        QTest::addColumn<QString>("line");
        for (const char* s : {"\\'", "\\\\'", "'\\", "\\", "''\\\\''", "a\\'b\\\\'c", "\\\\\\"})
            QTest::newRow(s) << QString::fromLatin1(s);
    }
    void chatLinesComeBackAsTyped() {
        QFETCH(QString, line);
        QCOMPARE(unescapeChat(*parseText(buildHostChat(line))), line);
    }

    void roundResultsOfHostAndOneClient() {
        Speler spelers[5];
        spelers[0] = player("anna", 3, 12, 12, 40, 21);
        spelers[1] = player("bob", 1, 4, 0, 17, 75);
        spelers[3] = player("", 2, 9, 9, 30, 5); // left the game: record no longer in use
        RoundResultTable rows;
        for (int i = 0; i < 5; ++i)
            rows[i] = RoundResultRow::of(spelers[i], 3);
        const QByteArray sent = buildRoundResults(vxseantw, rows);
        QCOMPARE(sent, QByteArray("vxseantw|3_12_12_40_anna_3_21|1_4_0_17_bob_3_75|0_0_0_0__3_0|"
                                  "0_0_0_0__3_0|0_0_0_0__3_0||vxseantweinde"));
        QCOMPARE(splitMessage(sent).at(6), QString());
        QCOMPARE(*parseRoundResults(sent), rows);
        QVERIFY(buildRoundResults(vxseant2, rows).startsWith("vxseant2|3_12_12_40_anna_3_21|"));
        QVERIFY(buildRoundResults(vxseant2, rows).endsWith("||vxseant2einde"));
    }

    void finalScoresCarrySixValues() {
        FinalScoreTable rows;
        rows[0] = FinalScoreRow::of(player("anna", 3, 12, 12, 40, 21), 2);
        for (int i = 1; i < 5; ++i)
            rows[i] = FinalScoreRow::of(Speler(), 2);
        const QByteArray sent = buildFinalScores(rows);
        QCOMPARE(sent, QByteArray("vxseeind|3_12_12_40_anna_2|0_0_0_0__2|0_0_0_0__2|0_0_0_0__2|"
                                  "0_0_0_0__2||vxseeindeinde"));
        QCOMPARE(*parseFinalScores(sent), rows);
    }

    void stopAlwaysCarriesAnEmptyReason() {
        QCOMPARE(buildStop(), QByteArray("vxsestop||vxsestopeinde"));
        QVERIFY(parseStop(buildStop()));
        QVERIFY(!parseStop("vxsestop|vxsestopeinde"));
    }

    void fractionsCarryTheSendersSeparator() {
        // A clock value keeps three decimals, cut: never more seconds than were left
        // (7.996 scores 7, as the host's own answer would), "0" only when none are.
        const QList<std::pair<double, QByteArray>> clocks = {
            {7.531, "7,531"}, {7.996, "7,996"}, {7.9999, "7,999"}, {8 - 1e-12, "7,999"},
            {12.5, "12,5"},   {20, "20"},       {0.0049, "0,004"}, {15 - 14.998, "0,002"},
            {0.0009, "0"},    {0, "0"},         {-0.001, "0"}};
        for (const auto& [klok, text] : clocks)
            QCOMPARE(build(TriviaAnswerMessage{"red door", klok}, u','),
                     "vxcltriv|red door|" + text + "|vxcltriveinde");
        QCOMPARE(build(TriviaAnswerMessage{"red door", 7.0401}, u'.'),
                 QByteArray("vxcltriv|red door|7.04|vxcltriveinde"));
        QCOMPARE(parseTriviaAnswer("vxcltriv|x|7,531|vxcltriveinde")->klokwaarde, 7.531);
        QCOMPARE(parseTriviaAnswer("vxcltriv|x|7.531|vxcltriveinde")->klokwaarde, 7.531);

        TriviaQuestionMessage q{"17", "the red door", 1,    "***_***_****", "vondrix", 5,
                                "",   "quizzer",      4.26, "**e_*e*_d**r"};
        QCOMPARE(build(q, u','), QByteArray("vxsetriv|17|the red door|1|***_***_****|vondrix|5||"
                                            "quizzer|4,26|**e_*e*_d**r|vxsetriveinde"));
        q.triviafastest = "nobody";
        q.triviafastesttime = 100;
        QVERIFY(build(q, u',').contains("|nobody|100|"));
    }

    void textIsWindows1252OneBytePerCharacter() {
        QCOMPARE(toWireText(QString::fromUtf8("Jos\u00e9 \u20ac\u2019\u2026\U0001F600\u0101!")),
                 QByteArray("Jos\xe9 \x80\x92\x85?"
                            "?!"));
        QCOMPARE(fromWireText("\x80\x85\x92\x9f\x81"),
                 QString::fromUtf8("\u20ac\u2026\u2019\u0178?"));
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QByteArray unused = all;
        for (const int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            unused[b] = '?';
        QCOMPARE(toWireText(fromWireText(all)), unused);
        QCOMPARE(build(UserMessage{QString::fromUtf8("Ren\u00e9e"), 75}),
                 QByteArray("vxcluser|Ren\xe9"
                            "e|75|vxclusereinde"));
    }

    void textsTheFormatCannotCarryAreReplaced() {
        QCOMPARE(build(RegistrationMessage{"a|b_c", 2, 21}), QByteArray("vxseregi|a\xa6"
                                                                        "b_c|2|21|vxseregieinde"));
        RoundResultTable rows;
        rows[0].naam = "john_doe";
        QVERIFY(buildRoundResults(vxseantw, rows).startsWith("vxseantw|0_0_0_0_john-doe_0_0|"));

        // A chat line holding a closing tag and a kick reaches the client as one chat line.
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append(buildHostChat("<eve> vxsechateindevxsekik1|vxsekik1einde"));
        QCOMPARE(got.messages().size(), 1);
        QVERIFY(got.messages().at(0).startsWith(vxsechat));
        QCOMPARE(got.events.size(), 1);
    }

    void rowsWithUnderscoreNamesFromOtherSendersStayWhole() {
        const auto rows =
            parseRoundResults("vxseantw|1_5_5_12_john_doe_3_21|0_0_0_0__3_0|"
                              "0_0_0_0__3_0|0_0_0_0__3_0|0_0_0_0__3_0||vxseantweinde");
        QVERIFY(rows);
        QCOMPARE((*rows)[0].naam, QStringLiteral("john_doe"));
        QCOMPARE((*rows)[0].juistekeuze, qint16(3));
        QCOMPARE((*rows)[0].landnummer, qint16(21));
    }

    void overlongMessagesAreCutToFit() {
        const QByteArray sent = buildHostChat(QString(40000, u'a'));
        QCOMPARE(sent.size(), kMaxMessage);
        QVERIFY(sent.endsWith("a|vxsechateinde"));
        QVERIFY(parseText(sent));

        // A table cuts its names, so every row keeps its numbers.
        RoundResultTable rows;
        for (RoundResultRow& r : rows)
            r = RoundResultRow{-32768, -32768, -32768, -32768, QString(8000, u'n'), 4, 241};
        const QByteArray table = buildRoundResults(vxseantw, rows);
        QCOMPARE(table.size(), kMaxMessage);
        const auto back = parseRoundResults(table);
        QVERIFY(back);
        QCOMPARE((*back)[4].landnummer, qint16(241));
        QCOMPARE(buildRoundResults(vxseantw, *back), table);
        FinalScoreTable finals;
        for (FinalScoreRow& r : finals)
            r = FinalScoreRow{1, 2, 3, 4, QString(9000, u'n'), 4};
        QVERIFY(parseFinalScores(buildFinalScores(finals)));
    }

    void buildersAndParsersRoundTrip() {
        const StartMessage star{"20", 21};
        QCOMPARE(*parseStart(build(star)), star);
        const UserMessage user{"bob", 242};
        QCOMPARE(*parseUser(build(user)), user);
        const RegistrationMessage regi{"bob", 4, 75};
        QCOMPARE(*parseRegistration(build(regi)), regi);
        const ChoicesMessage keuz{{"One", "Two", "Three", "Four"}, 12, 3};
        QCOMPARE(*parseChoices(build(keuz)), keuz);
        const TriviaQuestionMessage triv{"9", "who?", 2,     "2 answers!", "vondrix",
                                         7,   "",     "ann", 12.5,         ""};
        QCOMPARE(*parseTriviaQuestion(build(triv, u',')), triv);
        QCOMPARE(*parseTriviaQuestion(build(triv, u'.')), triv);
        const ClientAnswerMessage antw{2, 12};
        QCOMPARE(build(antw), QByteArray("vxclantw|2|12|vxclantweinde"));
        QCOMPARE(*parseClientAnswer(build(antw)), antw);
        const TriviaAnswerMessage trivAnswer{"the red door", 3.25};
        QCOMPARE(*parseTriviaAnswer(build(trivAnswer, u',')), trivAnswer);
        QCOMPARE(*parseText(buildText(vxclregi, "newname")), QStringLiteral("newname"));
        RoundResultTable rows;
        rows[2] = RoundResultRow{4, 9, 9, -3, "cleo", 4, 241};
        QCOMPARE(*parseRoundResults(buildRoundResults(vxseant2, rows)), rows);
    }

    void messagesWithMissingOrNonNumericFieldsAreRejected_data() {
        QTest::addColumn<QByteArray>("message");
        const QByteArray row = "0_0_0_0__3_0|";
        const QList<QByteArray> bad = {
            "vxsestar|10|vxsestareinde",
            "vxsestar|ten|21|vxsestareinde",
            "vxsestar|10|x|vxsestareinde",
            "vxcluser|bob|vxclusereinde",
            "vxcluser|bob||vxclusereinde",
            "vxseregi|bob|x|3|vxseregieinde",
            "vxseregi|bob|9|3|vxseregieinde",
            "vxsekeuz|a|b|c|d|5|vxsekeuzeinde",
            "vxsekeuz|a|b|c|d|five|1|vxsekeuzeinde",
            "vxseantw|" + row + row + row + row + "|vxseantweinde",
            "vxseantw|0_0_0_0__3|" + row + row + row + row + "|vxseantweinde",
            "vxseantw|x_0_0_0_a_3_0|" + row + row + row + row + "|vxseantweinde",
            "vxseant2|0_0_0_0_a_3_x|" + row + row + row + row + "|vxseant2einde",
            "vxseantw|0_0_0_40000_a_3_0|" + row + row + row + row + "|vxseantweinde",
            "vxseeind|0_0_0|0_0_0_0__2|0_0_0_0__2|0_0_0_0__2|0_0_0_0__2||vxseeindeinde",
            "vxsetriv|1|q|1|m|p|5||f|4,26|vxsetriveinde",
            "vxsetriv|1|q|one|m|p|5||f|4,26|m2|vxsetriveinde",
            "vxsetriv|1|q|1|m|p|5||f|4,2,6|m2|vxsetriveinde",
            "vxclantw|2|vxclantweinde",
            "vxclantw|2|seven|vxclantweinde",
            "vxcltriv|abc|vxcltriveinde",
            "vxcltriv|abc|soon|vxcltriveinde",
            "vxsechat|vxsechateinde",
        };
        for (const QByteArray& m : bad)
            QTest::newRow(m.constData()) << m;
    }
    void messagesWithMissingOrNonNumericFieldsAreRejected() {
        QFETCH(QByteArray, message);
        QVERIFY(!accepted(message));
    }

    // --- Client splitter

    void choicesOpenAndSongBytesInOneRead() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        const QByteArray keuz = build(ChoicesMessage{{"a", "b", "c", "d"}, 1, 2});
        client.append(keuz + bareMessage(vxseopen) + "ID3\x03song");
        QCOMPARE(got.events, (QList<QPair<char, QByteArray>>{
                                 {'M', keuz}, {'M', bareMessage(vxseopen)}, {'S', "ID3\x03song"}}));
        QVERIFY(client.receivingSong());
    }

    void twoRegistrationsInOneRead() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        const QByteArray a = build(RegistrationMessage{"a", 1, 3});
        const QByteArray b = build(RegistrationMessage{"b", 2, 4});
        client.append(a + b);
        QCOMPARE(got.messages(), QByteArrayList({a, b}));
        QCOMPARE(got.count('W'), 0);
    }

    void manyMessagesInOneReadAreAllHandedOver() {
        // Ten chats in one read: all ten, no warning.
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        QByteArray read;
        for (int i = 0; i < 10; ++i)
            read += chat(QString::number(i));
        client.append(read);
        QCOMPARE(got.count('M'), 10);
        QCOMPARE(got.count('W'), 0);
        // Eight messages, a short song and its closing frame in one read: the song ends.
        client.append(build(StartMessage{"10", 1}) + read.left(read.size() / 10 * 8) +
                      bareMessage(vxseopen) + "short song" + kClose + chat("next"));
        QCOMPARE(got.messages().mid(got.messages().size() - 2),
                 QByteArrayList({kClose, chat("next")}));
        QCOMPARE(got.song(), QByteArray("short song"));
        QVERIFY(!client.receivingSong());
        QCOMPARE(got.count('W'), 0);
        // Eight messages of a client in one read: no warning to anybody.
        ReceiveBuffer host(ReceiveBuffer::Side::Host);
        Recorder fromClient(host);
        QByteArray eight;
        for (int i = 0; i < 8; ++i)
            eight += buildText(vxclchat, QString::number(i));
        host.append(eight);
        QCOMPARE(fromClient.count('M'), 8);
        QCOMPARE(fromClient.count('W'), 0);
    }

    void anUnfinishedMessageIsNotSearchedAgainOnEveryRead() {
        // 1.9 MB of one message in 32-byte reads took half a minute when every read
        // searched the whole message again.
        ReceiveBuffer host(ReceiveBuffer::Side::Host);
        Recorder got(host);
        const QByteArray line = "vxclchat|" + QByteArray(1900000, 'x') + "|vxclchateinde";
        QElapsedTimer clock;
        clock.start();
        for (qsizetype at = 0; at < line.size(); at += 32)
            host.append(line.mid(at, 32));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(got.messages(), QByteArrayList{line});
        // A closing tag cut between two reads is still found.
        host.append("vxclregi|bob|vxclregiei");
        host.append("nde");
        QCOMPARE(got.messages().last(), QByteArray("vxclregi|bob|vxclregieinde"));
    }

    void unknownTagDropsTheRestOfTheRead() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append("vxsecorr|vxsecorreinde" + chat("lost"));
        QCOMPARE(got.events,
                 (QList<QPair<char, QByteArray>>{{'W', ReceiveBuffer::kClientWarning.toLatin1()}}));
        client.append(bareMessage(vxseusrs) + chat("lost"));
        QCOMPARE(got.count('W'), 2);
        QCOMPARE(got.count('M'), 0);
    }

    void hostWarnsAtTheEighthAndTenthPass() {
        ReceiveBuffer host(ReceiveBuffer::Side::Host);
        Recorder got(host);
        host.append("vxclxxxx|junk|vxclxxxxeinde" + build(ClientAnswerMessage{1, 5}));
        QCOMPARE(got.events,
                 (QList<QPair<char, QByteArray>>{{'W', ReceiveBuffer::kHostWarning.toLatin1()},
                                                 {'W', ReceiveBuffer::kHostWarning.toLatin1()}}));
    }

    void untaggedTextOutsideASongIsNoSongData() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append("stray bytes" + chat("hi"));
        QCOMPARE(got.events,
                 (QList<QPair<char, QByteArray>>{{'U', "stray bytes"}, {'M', chat("hi")}}));
    }

    void fullExcerptOf20SecondsArrivesIdentical() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append(build(StartMessage{"20", 21}));
        QCOMPARE(client.excerptSize(), 550000);
        // Song bytes that even end like the closing frame.
        const QByteArray excerpt = trickySong(550000 - kClose.size(), 1) + kClose;
        QCOMPARE(excerpt.size(), 550000);
        const QByteArray keuz = build(ChoicesMessage{{"a", "b", "c", "d"}, 1, 2});
        feedInPieces(client, keuz + bareMessage(vxseopen) + excerpt + kClose, 7);
        // Exactly N bytes in: the end needs nothing after it.
        QVERIFY(!client.awaitingSettle());
        QVERIFY(!client.receivingSong());
        client.append(chat("after"));
        QCOMPARE(got.song(), excerpt);
        QCOMPARE(got.messages(), QByteArrayList({build(StartMessage{"20", 21}), keuz,
                                                 bareMessage(vxseopen), kClose, chat("after")}));
        QCOMPARE(got.count('W'), 0);
        QVERIFY(!client.receivingSong());
    }

    void shortSongEndsWhenNothingMoreComes() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append(build(StartMessage{"10", 1}));
        const QByteArray song = trickySong(5000, 2);
        client.append(bareMessage(vxseopen) + song + kClose);
        QVERIFY(client.awaitingSettle());
        QVERIFY(client.receivingSong());
        QCOMPARE(got.messages().size(), 2);
        client.settle();
        QCOMPARE(got.song(), song);
        QCOMPARE(got.messages().last(), kClose);
        QVERIFY(!client.receivingSong());
        QVERIFY(!client.awaitingSettle());
    }

    void shortSongEndIsTakenByTheTimer() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        QSignalSpy messages(&client, &ReceiveBuffer::messageReceived);
        client.append(bareMessage(vxseopen) + "tiny song" + kClose);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.wait(5 * ReceiveBuffer::kSettleMs));
        QCOMPARE(got.song(), QByteArray("tiny song"));
        QCOMPARE(got.messages().last(), kClose);
    }

    void shortSongEndsAtTheNextMessage() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        const QByteArray song = trickySong(3000, 3);
        client.append(bareMessage(vxseopen) + song + kClose + bareMessage(vxsekik1));
        QCOMPARE(got.song(), song);
        QCOMPARE(got.messages(),
                 QByteArrayList({bareMessage(vxseopen), kClose, bareMessage(vxsekik1)}));
        QVERIFY(!client.awaitingSettle());
    }

    void emptySongEndsAtOnce() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        client.append(bareMessage(vxseopen) + kClose + chat("x"));
        QCOMPARE(got.events, (QList<QPair<char, QByteArray>>{
                                 {'M', bareMessage(vxseopen)}, {'M', kClose}, {'M', chat("x")}}));
    }

    void everySplitOfAClientRunIsHandledAsOneRead() {
        const QByteArray song = trickySong(2000, 4);
        RoundResultTable rows;
        rows[0] = RoundResultRow{1, 3, 3, 3, "anna", 1, 21};
        const QByteArray run = build(StartMessage{"15", 21}) + buildRoundResults(vxseantw, rows) +
                               build(ChoicesMessage{{"a", "b", "c", "d"}, 2, 1}) +
                               bareMessage(vxseopen) + song + kClose + chat("it's") +
                               build(RegistrationMessage{"bob", 2, 7});
        ReceiveBuffer whole(ReceiveBuffer::Side::Client);
        Recorder expected(whole);
        whole.append(run);
        QCOMPARE(expected.count('M'), 7);
        QCOMPARE(expected.song(), song);
        QCOMPARE(expected.count('W'), 0);
        for (qsizetype cut = 1; cut < run.size(); ++cut) {
            ReceiveBuffer split(ReceiveBuffer::Side::Client);
            Recorder got(split);
            split.append(run.left(cut));
            split.append(run.mid(cut));
            QVERIFY(!split.awaitingSettle());
            if (got.merged() != expected.merged()) QFAIL(qPrintable(QString::number(cut)));
        }
    }

    void everySplitOfAHostRunIsHandledAsOneRead() {
        const QByteArray run = build(UserMessage{"bob", 75}) + build(ClientAnswerMessage{3, 14}) +
                               build(TriviaAnswerMessage{"red door", 4.5}, u',') +
                               buildText(vxclchat, "<bob> hi") + buildText(vxclregi, "rob");
        ReceiveBuffer whole(ReceiveBuffer::Side::Host);
        Recorder expected(whole);
        whole.append(run);
        QCOMPARE(expected.count('M'), 5);
        QCOMPARE(expected.count('W'), 0);
        for (qsizetype cut = 1; cut < run.size(); ++cut) {
            ReceiveBuffer split(ReceiveBuffer::Side::Host);
            Recorder got(split);
            split.append(run.left(cut));
            split.append(run.mid(cut));
            if (got.events != expected.events) QFAIL(qPrintable(QString::number(cut)));
        }
    }

    void aSongEndIsFoundWhereverTheReadsAreCut() {
        // The frame inside the song, and the real one, cut at every byte around them.
        const QByteArray song = "abc" + kClose + "\xFF\xFB" + kClose + "vxseclos|def";
        const QByteArray stream = bareMessage(vxseopen) + song + kClose + chat("x");
        for (qsizetype cut = 1; cut < stream.size(); ++cut) {
            ReceiveBuffer client(ReceiveBuffer::Side::Client);
            Recorder got(client);
            client.append(stream.left(cut));
            client.append(stream.mid(cut));
            QCOMPARE(got.song(), song);
            QCOMPARE(got.messages().last(), chat("x"));
        }
    }

    // --- Bound and re-entrancy

    void whatAPeerSendsCannotGrowTheBufferWithoutBound() {
        ReceiveBuffer host(ReceiveBuffer::Side::Host);
        Recorder got(host);
        QSignalSpy overflow(&host, &ReceiveBuffer::overflowed);
        host.append("vxclchat|");
        const QByteArray junk(64 * 1024, 'a');
        qsizetype most = 0;
        while (overflow.isEmpty()) {
            host.append(junk);
            most = std::max(most, host.pendingBytes());
        }
        QVERIFY(most <= ReceiveBuffer::kMaxPending);
        QVERIFY(most > ReceiveBuffer::kMaxPending - junk.size());
        QCOMPARE(host.pendingBytes(), 0);
        host.append(build(ClientAnswerMessage{2, 9}));
        QCOMPARE(got.messages(), QByteArrayList({build(ClientAnswerMessage{2, 9})}));
    }

    void endlessSongIsGivenUpPastAFullExcerpt() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        QSignalSpy aborted(&client, &ReceiveBuffer::songAborted);
        client.append("vxsestar|10|3|vxsestareinde");
        client.append("vxseopen|vxseopeneinde");
        const QByteArray bytes(16 * 1024, 'z');
        for (int n = 0; n < 64 && aborted.isEmpty(); ++n)
            client.append(bytes);
        QCOMPARE(aborted.size(), 1);
        QVERIFY(!client.receivingSong());
        QVERIFY(got.song().size() <= client.songLimit());
        QCOMPARE(client.songLimit(), 300000 + ReceiveBuffer::kSongMargin);
        // What follows is read as messages again; more bytes are no song.
        got.events.clear();
        client.append(bytes + chat("x"));
        QCOMPARE(got.messages(), QByteArrayList({chat("x")}));
        QVERIFY(got.song().isEmpty());
        QCOMPARE(aborted.size(), 1);
    }

    void nestedReadsAreHandedOverInArrivalOrder() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        QByteArrayList order;
        QByteArray second;
        for (int i = 5; i < 10; ++i)
            second += chat(QString::number(i));
        connect(&client, &ReceiveBuffer::messageReceived, this, [&](const QByteArray& m) {
            order << m;
            if (m == chat("1")) client.append(second); // a handler let events run
        });
        QSignalSpy warnings(&client, &ReceiveBuffer::warningLine);
        QByteArray first;
        for (int i = 0; i < 5; ++i)
            first += chat(QString::number(i));
        client.append(first);
        QCOMPARE(order.size(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(order.at(i), chat(QString::number(i)));
        QCOMPARE(warnings.size(), 0); // each read keeps its own pass counter
    }

    void theWarningDropsOnlyTheRestOfItsOwnRead() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        connect(&client, &ReceiveBuffer::messageReceived, this, [&](const QByteArray& m) {
            if (m == chat("0")) client.append(chat("nested"));
        });
        client.append(chat("0") + bareMessage(vxsecorr) + chat("lost"));
        QCOMPARE(got.count('M'), 2);
        QCOMPARE(got.events.at(1).first, 'W');
        QCOMPARE(got.events.at(2), qMakePair('M', chat("nested")));
    }

    void aNestedReadCompletesACutMessage() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        Recorder got(client);
        const QByteArray last = build(RegistrationMessage{"zoe", 3, 9});
        connect(&client, &ReceiveBuffer::messageReceived, this, [&](const QByteArray& m) {
            if (m == chat("a")) client.append(last.mid(6) + chat("c"));
        });
        client.append(chat("a") + chat("b") + last.left(6));
        QCOMPARE(got.messages(), QByteArrayList({chat("a"), chat("b"), last, chat("c")}));
    }

    void aHandlerMayResetOrDeleteTheBuffer() {
        ReceiveBuffer client(ReceiveBuffer::Side::Client);
        QByteArrayList seen;
        connect(&client, &ReceiveBuffer::messageReceived, this, [&](const QByteArray& m) {
            seen << m;
            if (m == bareMessage(vxsekik1)) client.reset();
        });
        client.append(chat("a") + bareMessage(vxsekik1) + chat("b"));
        QCOMPARE(seen, QByteArrayList({chat("a"), bareMessage(vxsekik1)}));
        client.append(chat("c"));
        QCOMPARE(seen.last(), chat("c"));

        auto owned = std::make_unique<ReceiveBuffer>(ReceiveBuffer::Side::Host);
        int delivered = 0;
        connect(owned.get(), &ReceiveBuffer::messageReceived, this, [&] {
            ++delivered;
            owned.reset();
        });
        owned->append(buildText(vxclchat, "x") + buildText(vxclchat, "y"));
        QCOMPARE(delivered, 1);
        QVERIFY(!owned);
    }
};

QTEST_GUILESS_MAIN(tst_protocol)
#include "tst_protocol.moc"
