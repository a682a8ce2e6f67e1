#include "common/gamestate.h"
#include "common/musicdraw.h"
#include "platform/rnd.h"
#include "tests/support/datarow.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
// Plays back given random numbers and fails the test when the draw asks for more.
class ScriptedRnd {
public:
    explicit ScriptedRnd(QList<double> values) : values_(std::move(values)) {}
    double operator()() {
        if (next_ >= values_.size()) {
            exhausted_ = true;
            return 0;
        }
        return values_.at(next_++);
    }
    qsizetype used() const { return next_; }
    bool exhausted() const { return exhausted_; }

private:
    QList<double> values_;
    qsizetype next_ = 0;
    bool exhausted_ = false;
};

// The value of Rnd that makes Int((L + 1) * Rnd) give index x.
double valueFor(int x, int L) {
    return (x + 0.5) / (L + 1);
}

QList<double> valuesFor(const QList<int>& indices, int L) {
    QList<double> v;
    for (int x : indices)
        v.append(valueFor(x, L));
    return v;
}

QStringList numbered(const QString& prefix, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(prefix + QString::number(i));
    return list;
}
} // namespace

class tst_musicdraw : public QObject {
    Q_OBJECT

    // A playlist of count songs: paths "p0".., titles "t0"..
    QStringList paths_, titles_;
    void playlist(int count) {
        paths_ = numbered("p", count);
        titles_ = numbered("t", count);
    }

    MusicQuestion draw(qint16 L, ScriptedRnd& rnd) {
        MusicQuestion q;
        if (!drawMusicQuestion(paths_, titles_, L, std::ref(rnd), q))
            QTest::qFail("the draw was refused", __FILE__, __LINE__);
        if (rnd.exhausted()) QTest::qFail("the draw wanted more numbers", __FILE__, __LINE__);
        return q;
    }

private slots:
    void init() { resetState(); }
    void cleanup() { setRndSource({}); }

    void placeOfRightTitleWithBoundEight_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("place");
        const int places[9] = {1, 1, 2, 2, 3, 3, 3, 4, 4};
        for (int a = 0; a <= 8; ++a)
            QTest::addRow("a=%d", a) << a << places[a];
    }
    void placeOfRightTitleWithBoundEight() {
        QFETCH(int, a);
        QFETCH(int, place);
        playlist(10);
        // The song, b and c keep out of a's way.
        const int song = a == 8 ? 7 : 8;
        const int b = a == 0 ? 1 : 0;
        const int c = (a == 2 || b == 2) ? 3 : 2;
        ScriptedRnd rnd(valuesFor({song, a, b, c}, 8));
        const MusicQuestion q = draw(8, rnd);
        QCOMPARE(rnd.used(), 4);
        QCOMPARE(q.huidiglied, song);
        QCOMPARE(q.juistekeuze, place);
        QCOMPARE(q.keuzes[place], titles_.at(song));
        // The other three fill the remaining places in the order a, b, c.
        QStringList others;
        for (int i = 1; i <= 4; ++i)
            if (i != place) others.append(q.keuzes[i]);
        QCOMPARE(others, (QStringList{titles_.at(a), titles_.at(b), titles_.at(c)}));
    }

    void divisorIsOnePointThreeThree() {
        // L = 4: 4 / 1.33 = 3.007..., so a = 3 is third; with 4/3 it would be fourth.
        playlist(6);
        ScriptedRnd rnd(valuesFor({4, 3, 0, 1}, 4));
        QCOMPARE(draw(4, rnd).juistekeuze, 3);
        ScriptedRnd last(valuesFor({3, 4, 0, 1}, 4));
        QCOMPARE(draw(4, last).juistekeuze, 4);
    }

    void equalIndicesAreRedrawn() {
        playlist(10);
        // a repeats the song twice; b hits the song then a; c hits a, b and the song.
        ScriptedRnd rnd(valuesFor({5, 5, 5, 1, 5, 1, 2, 1, 2, 5, 7}, 8));
        const MusicQuestion q = draw(8, rnd);
        QVERIFY(!rnd.exhausted());
        QCOMPARE(rnd.used(), 11);
        QCOMPARE(q.huidiglied, 5);
        QCOMPARE(q.juistekeuze, 1); // a = 1
        QCOMPARE(q.keuzes[1], "t5");
        QCOMPARE(q.keuzes[2], "t1");
        QCOMPARE(q.keuzes[3], "t2");
        QCOMPARE(q.keuzes[4], "t7");
    }

    void pathRule_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("file");
        dataRow("one backslash", "\\music\\a.mp3", "c:\\music\\a.mp3");
        dataRow("network", "\\\\server\\music\\a.mp3", "\\\\server\\music\\a.mp3");
        dataRow("drive", "D:\\music\\a.mp3", "D:\\music\\a.mp3");
        dataRow("here", "/home/me/a.mp3", "/home/me/a.mp3");
        dataRow("lone backslash", "\\", "c:\\");
    }
    void pathRule() {
        QFETCH(QString, path);
        QFETCH(QString, file);
        QCOMPARE(songFilePath(path), file);
        playlist(5);
        paths_[2] = path;
        ScriptedRnd rnd(valuesFor({2, 0, 1, 3}, 3));
        QCOMPARE(draw(3, rnd).liedpad, file);
    }

    void shortPlaylistsAreRefused() {
        playlist(3);
        QCOMPARE(songDrawBound(3), 2);
        QVERIFY(!canDrawMusicQuestion(songDrawBound(3), paths_, titles_));
        QVERIFY(!canDrawMusicQuestion(songDrawBound(1), paths_.mid(0, 1), titles_.mid(0, 1)));
        QVERIFY(!canDrawMusicQuestion(songDrawBound(0), {}, {}));
        playlist(kMinDrawableSongs);
        QVERIFY(canDrawMusicQuestion(songDrawBound(kMinDrawableSongs), paths_, titles_));
        playlist(5);
        // A bound beyond either list cannot be drawn either.
        QVERIFY(!canDrawMusicQuestion(5, paths_, titles_));
        QVERIFY(!canDrawMusicQuestion(4, paths_, titles_.mid(0, 4)));
        QVERIFY(canDrawMusicQuestion(4, paths_, titles_));
    }

    void refusedDrawLeavesQuestionAlone() {
        playlist(4);
        MusicQuestion q;
        q.keuzes[1] = "before";
        q.juistekeuze = 2;
        int calls = 0;
        QVERIFY(!drawMusicQuestion(
            paths_, titles_, 2, [&] { return ++calls, 0.5; }, q));
        QCOMPARE(calls, 0);
        QCOMPARE(q.keuzes[1], "before");
        QCOMPARE(q.juistekeuze, 2);
    }

    void stuckSourceStillEnds_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("almost one") << 0.999999;
        QTest::newRow("one") << 1.0;
        QTest::newRow("negative") << -0.5;
        QTest::newRow("nan") << std::nan("");
    }
    void stuckSourceStillEnds() {
        QFETCH(double, value);
        playlist(5);
        MusicQuestion q;
        QVERIFY(drawMusicQuestion(
            paths_, titles_, 3, [value] { return value; }, q));
        QStringList shown(q.keuzes + 1, q.keuzes + 5);
        shown.sort();
        QCOMPARE(shown, (QStringList{"t0", "t1", "t2", "t3"}));
        QCOMPARE(q.keuzes[q.juistekeuze], titles_.at(q.huidiglied));
    }

    void randomDrawsKeepTheRules() {
        playlist(12);
        const qint16 L = songDrawBound(12);
        QRandomGenerator gen(7);
        for (int i = 0; i < 2000; ++i) {
            MusicQuestion q;
            QVERIFY(drawMusicQuestion(
                paths_, titles_, L, [&] { return gen.generateDouble(); }, q));
            QSet<QString> shown(q.keuzes + 1, q.keuzes + 5);
            QCOMPARE(shown.size(), 4);
            QVERIFY(q.huidiglied >= 0 && q.huidiglied <= L);
            QCOMPARE(q.keuzes[q.juistekeuze], titles_.at(q.huidiglied));
            QCOMPARE(q.liedpad, paths_.at(q.huidiglied));
        }
    }

    void prepareFillsTheGameState() {
        GameState& s = state();
        s.liedpaden = {"\\a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"};
        s.liedtitels = {"A", "B", "C", "D", "E"};
        s.liedbovengrens = songDrawBound(s.liedpaden.size());
        ScriptedRnd rnd(valuesFor({0, 4, 1, 2}, 4));
        setRndSource(std::ref(rnd));
        qint16 huidiglied = -1;
        QVERIFY(prepareMusicQuestion(huidiglied));
        QCOMPARE(huidiglied, 0);
        QCOMPARE(s.liedpad, "c:\\a.mp3");
        QCOMPARE(s.juistekeuze, 4); // a = 4 >= 4 / 1.33
        QCOMPARE((QStringList{s.keuzes[1], s.keuzes[2], s.keuzes[3], s.keuzes[4]}),
                 (QStringList{"E", "B", "C", "A"}));
    }

    // A game's questions bring up every song of the playlist, as the song and
    // among the other titles, down to the shortest playlist a game takes.
    void everySongComesUp_data() {
        QTest::addColumn<int>("count");
        for (int count : {4, 5, 8})
            QTest::addRow("%d songs", count) << count;
    }
    void everySongComesUp() {
        QFETCH(int, count);
        GameState& s = state();
        s.liedpaden = numbered("p", count);
        s.liedtitels = numbered("t", count);
        s.liedbovengrens = songDrawBound(count);
        QRandomGenerator gen(26);
        setRndSource([&] { return gen.generateDouble(); });
        QSet<qint16> songs;
        QSet<QString> titles;
        for (int question = 0; question < 100; ++question) {
            qint16 huidiglied = -1;
            QVERIFY(prepareMusicQuestion(huidiglied));
            songs << huidiglied;
            for (int i = 1; i <= 4; ++i)
                if (i != s.juistekeuze) titles << s.keuzes[i];
        }
        QCOMPARE(songs.size(), count);
        QCOMPARE(titles, QSet<QString>(s.liedtitels.cbegin(), s.liedtitels.cend()));
    }

    void prepareRefusesShortPlaylist() {
        GameState& s = state();
        s.liedpaden = {"a", "b", "c"};
        s.liedtitels = {"A", "B", "C"};
        s.liedbovengrens = songDrawBound(3);
        s.liedpad = "old";
        s.keuzes[1] = "old";
        s.juistekeuze = 3;
        qint16 huidiglied = 7;
        QVERIFY(!prepareMusicQuestion(huidiglied));
        QCOMPARE(huidiglied, 7);
        QCOMPARE(s.liedpad, "old");
        QCOMPARE(s.keuzes[1], "old");
        QCOMPARE(s.juistekeuze, 3);
    }
};

QTEST_GUILESS_MAIN(tst_musicdraw)
#include "tst_musicdraw.moc"
