#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "lobby/lobbypoll.h"
#include "platform/clock.h"
#include "platform/gui/shell.h"
#include "tests/db/privateserver.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QtTest>
#include <ctime>
#include <memory>
#include <vector>

namespace {

void writeKeys(const TempProgramFolder& folder) {
    QFile ini(folder.file(QStringLiteral("settings.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\n"
                  "button4=r\r\n");
}

QString uniqueName(const QString& stem) {
    return stem + QUuid::createUuid().toString(QUuid::Id128).left(10);
}

bool addUser(AdminDb& db, const QString& naam) {
    for (int attempt = 0; attempt < 5; ++attempt)
        if (db.exec(QStringLiteral("insert into phpbb_users (user_id, username, user_password) "
                                   "select coalesce(max(user_id),0)+1, ?, md5('pw') from "
                                   "phpbb_users"),
                    {naam}))
            return true;
    return false;
}

// A chat line written now, as the server's clock has it.
bool say(AdminDb& db, const QString& van, const QString& text) {
    return db.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                  "values (?,'all',?,now())"),
                   {van, text});
}

// gMyConn as a stopped server leaves it: not connected.
void goOffline() {
    gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"), QStringLiteral("x"),
                             QStringLiteral("x"), freePort(), 0);
}

// This test process as one logged-in program, on the Lobby tab; the test ticks by hand.
class Session {
public:
    explicit Session(const QString& naam) {
        resetState();
        writeKeys(folder);
        w.txtusrlogin->setText(naam);
        w.txtusrpassword->setText(QStringLiteral("pw"));
        w.Command5->click();
        w.tmrlobbychat->stop();
        dialogs.clear();
    }
    ~Session() { frmmulti::unload(); }

    TempProgramFolder folder;
    DialogRecorder dialogs;
    frmmulti& w = frmmulti::instance();
};

// The other logged-in program: vdx_lobbyplayer, driven through stdin.
class Player {
public:
    explicit Player(const QString& naam) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VONDRIX_HOME"), folder.path());
        writeKeys(folder);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VDX_LOBBYPLAYER), {naam, QStringLiteral("pw")});
        ready = !reply(QString(), QStringLiteral("READY")).isNull();
    }
    ~Player() {
        process.closeWriteChannel();
        if (!process.waitForFinished(10000)) process.kill();
    }
    // Sends a command; returns the rest of the answer line that starts with prefix.
    QString reply(const QString& command, const QString& prefix) {
        if (!command.isNull()) process.write(command.toUtf8() + '\n');
        while (process.canReadLine() || process.waitForReadyRead(15000)) {
            const QString line = QString::fromUtf8(process.readLine()).chopped(1);
            if (line.startsWith(prefix)) return line.mid(prefix.size());
        }
        return {};
    }

    TempProgramFolder folder;
    QProcess process;
    bool ready = false;
};

} // namespace

class tst_lobby : public QObject {
    Q_OBJECT

private slots:
    // On a server of its own: the boxes show every line and every user in the lobby,
    // also those that other suites (and earlier runs of this one) left there.
    void twoProgramsChat() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        goOffline(); // the login opens the connection to it
        const auto offline = qScopeGuard([] { goOffline(); });
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_a_"));
        const QString bert = uniqueName(QStringLiteral("lobby_b_"));
        QVERIFY(addUser(admin, anna) && addUser(admin, bert));
        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_systemmessages (van,bericht,naar,"
                                          "gelezen) values ('op','<b>ok</b>',?,'nee'),"
                                          "('op','old',?,'ja')"),
                           {anna, anna}));
        Session session(anna);
        frmmulti& w = session.w;
        QCOMPARE(w.txtsystemmessages->toPlainText(), QStringLiteral("<op> <b>ok</b>\n"));
        Player player(bert);
        QVERIFY(player.ready);

        const QString typed = QStringLiteral("it's a \\ and <b>bold</b>");
        w.txtlobbysturen->setText(typed);
        QTest::keyClick(w.txtlobbysturen, Qt::Key_Return);
        QVERIFY(w.txtlobbysturen->text().isEmpty());
        QCOMPARE(player.reply(QStringLiteral("send <i>hi</i>"), QStringLiteral("SENT")), QString());
        w.tmrlobbychat_Timer();
        const QString chat = QStringLiteral("<%1> %2\n<%3> <i>hi</i>\n").arg(anna, typed, bert);
        const QString both = QStringLiteral("<%1>\n<%2>\n").arg(anna, bert);
        QCOMPARE(w.txtlobbychat->toPlainText(), chat);
        QVERIFY(w.txtlobbyonline->toPlainText().contains(both));
        QCOMPARE(w.txtlobbychat->textCursor().selectedText().size(), 1);
        const QString seen = QUrl::fromPercentEncoding(
            player.reply(QStringLiteral("tick"), QStringLiteral("CHAT ")).toLatin1());
        QVERIFY(seen.startsWith(chat + QStringLiteral(" USERS ")) && seen.contains(both));

        // Nothing new: boxes and the user's own selection stay as they are.
        QTextCursor mine(w.txtlobbychat->document());
        mine.setPosition(2);
        mine.setPosition(6, QTextCursor::KeepAnchor);
        w.txtlobbychat->setTextCursor(mine);
        w.tmrlobbychat_Timer();
        w.tmrlobbychat_Timer();
        QCOMPARE(w.txtlobbychat->textCursor().selectionStart(), 2);
        QCOMPARE(w.txtlobbychat->textCursor().selectionEnd(), 6);

        QCOMPARE(player.reply(QStringLiteral("leave"), QStringLiteral("LEFT")), QString());
        w.tmrlobbychat_Timer();
        QVERIFY(!w.txtlobbyonline->toPlainText().contains(bert));
        w.Command12->click();
        QCOMPARE(w.txtsystemmessages->toPlainText(), QStringLiteral("<none>"));
        QCOMPARE(admin.value(QStringLiteral("select count(*) from vdrx_systemmessages where naar "
                                            "= ? and gelezen = 'nee'"),
                             {anna}),
                 QVariant(0));
        QVERIFY(session.dialogs.texts().isEmpty());
    }

    // Lines of one second come in the order they were written, read whole or in
    // parts, beyond 16-bit counts; a line sent after the connection was killed
    // goes out on a new one.
    void orderAndLostConnection() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_c_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.w;
        const QString second = state().servertijd;
        const auto insert = [&](const QString& text) {
            return admin.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,"
                                             "servertime) values (?,'all',?,?)"),
                              {anna, text, second});
        };
        QVERIFY(insert(QStringLiteral("zz")) && insert(QStringLiteral("mm")));
        w.tmrlobbychat_Timer();
        QVERIFY(insert(QStringLiteral("aa")) && insert(QStringLiteral("bb")));
        w.tmrlobbychat_Timer();
        QString shown = w.txtlobbychat->toPlainText();
        QVERIFY(shown.endsWith(QStringLiteral("<%1> zz\n<%1> mm\n<%1> aa\n<%1> bb\n").arg(anna)));
        ChatReader whole(ChatReader::Mode::Reread);
        QVERIFY(whole.poll(gMyConn(), second));
        QCOMPARE(QString(whole.text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                 shown);

        // The server's clock went back an hour; of two lines of one second, the one
        // inserted first commits after the other was shown, and after several polls
        // (59 s later by this PC's clock). Every line shows, once, by messageID.
        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                          "values (?,'all','an hour back',? - interval 1 hour)"),
                           {anna, second}));
        AdminDb other;
        QVERIFY(admin.exec(QStringLiteral("start transaction")) && insert(QStringLiteral("first")));
        QVERIFY(other.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                          "values (?,'all','second',?)"),
                           {anna, second}));
        {
            ManualClock clock;
            w.tmrlobbychat_Timer();
            for (int poll = 0; poll < 3; ++poll) {
                clock.advance(19000);
                w.tmrlobbychat_Timer();
            }
            QCOMPARE(w.txtlobbychat->toPlainText(),
                     shown + QStringLiteral("<%1> an hour back\n<%1> second\n").arg(anna));
            clock.advance(2000);
            QVERIFY(admin.exec(QStringLiteral("commit")));
            w.tmrlobbychat_Timer();
            w.tmrlobbychat_Timer();
        }
        QCOMPARE(w.txtlobbychat->toPlainText(),
                 shown + QStringLiteral("<%1> an hour back\n<%1> first\n<%1> second\n").arg(anna));
        shown = w.txtlobbychat->toPlainText();

        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                          "select 'many','all',seq,? from seq_1_to_33000"),
                           {second}));
        QVERIFY(whole.poll(gMyConn(), second) && whole.lastRows() >= 33000);
        QVERIFY(whole.text().endsWith(QStringLiteral("<many> 33000\r\n")));
        QVERIFY(admin.exec(QStringLiteral("delete from vdrx_messages where van = 'many'")));

        const QVariant id =
            gMyConn().Execute(QStringLiteral("select connection_id()")).Fields(0).Value;
        QVERIFY(admin.exec(QStringLiteral("kill connection ") + id.toString()));
        w.txtlobbysturen->setText(QStringLiteral("lost?"));
        w.cmdlobbysend->click();
        QVERIFY(w.txtlobbysturen->text().isEmpty());
        QVERIFY(session.dialogs.texts().isEmpty());
        QVERIFY(insert(QStringLiteral("back")));
        w.tmrlobbychat_Timer();
        const QString after = w.txtlobbychat->toPlainText();
        QVERIFY(after.startsWith(shown));
        QVERIFY(after.contains(QStringLiteral("<%1> lost?\n").arg(anna)));
        QVERIFY(after.contains(QStringLiteral("<%1> back\n").arg(anna)));
    }

    // The central server stops answering during a lobby session and comes back: the
    // boxes stay as they were, after the first tick no tick waits for more than a
    // second, and the chat goes on. Once it answers again, the first line and the
    // first report go out, and the Join tab takes the user for logged in.
    void serverOutageDuringTheLobby() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        const auto offline = qScopeGuard([] { // before the shared server is back
            gMyConn().setTimeouts(5, 10, 10);
            goOffline();
        });
        AdminDb admin;
        QVERIFY2(admin.isOpen(), qPrintable(admin.lastError()));
        const QString anna = uniqueName(QStringLiteral("lobby_o_"));
        QVERIFY(addUser(admin, anna));
        goOffline();
        gMyConn().setTimeouts(2, 2, 2);
        Session session(anna);
        frmmulti& w = session.w;
        QVERIFY(w.SSTab1->isTabEnabled(kTabHost));
        QVERIFY(say(admin, anna, QStringLiteral("before")));
        w.tmrlobbychat_Timer();
        const QString chat = w.txtlobbychat->toPlainText();
        const QString users = w.txtlobbyonline->toPlainText();
        QVERIFY(chat.endsWith(QStringLiteral("<%1> before\n").arg(anna)));

        server.freeze();
        QElapsedTimer took;
        took.start();
        w.tmrlobbychat_Timer();
        QVERIFY2(took.elapsed() < 10000, qPrintable(QString::number(took.elapsed())));
        qint64 longest = 0;
        for (int tick = 0; tick < 8; ++tick) {
            took.restart();
            w.tmrlobbychat_Timer();
            longest = qMax(longest, took.elapsed());
            QTest::qWait(200);
        }
        QVERIFY2(longest < 1500, qPrintable(QString::number(longest)));
        QCOMPARE(w.txtlobbychat->toPlainText(), chat);
        QCOMPARE(w.txtlobbyonline->toPlainText(), users);
        QCOMPARE(gMyConn().State(), DbConnection::kConnected);

        // Answering again: the first line and report go out.
        server.thaw();
        session.dialogs.clear();
        w.txtlobbysturen->setText(QStringLiteral("thawed"));
        w.cmdlobbysend->click();
        w.txtrepusername->setText(anna);
        w.txtrepdescription->setPlainText(QStringLiteral("after the outage"));
        w.Command3->click();
        QCOMPARE(session.dialogs.texts(), QStringList{QStringLiteral("message sent")});
        QCOMPARE(admin.value(QStringLiteral("select count(*) from vdrx_reports where username = "
                                            "? and message = 'after the outage'"),
                             {anna}),
                 QVariant(1));
        w.SSTab1->setCurrentIndex(kTabJoin);
        QCOMPARE(w.SSTab1->currentIndex(), int(kTabJoin));
        for (int tab : {kTabHost, kTabJoin, kTabControls})
            QVERIFY(w.SSTab1->isTabEnabled(tab));

        w.SSTab1->setCurrentIndex(kTabLobby);
        QVERIFY(say(admin, anna, QStringLiteral("after")));
        w.tmrlobbychat_Timer();
        QCOMPARE(w.txtlobbychat->toPlainText(),
                 chat + QStringLiteral("<%1> thawed\n<%1> after\n").arg(anna));
    }

    // A line, a user name and a notice hold characters that the boxes read back
    // otherwise (separators, a lone CR, characters the box uses itself), on a chat
    // table without the index on servertime, and then also without messageID: the
    // chat goes on, and polls with nothing new leave every box as it is.
    void oddTextOnOtherTables() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        const auto offline = qScopeGuard([] { goOffline(); });
        AdminDb admin;
        QVERIFY(admin.exec(QStringLiteral("alter table vdrx_messages drop index idx_servertime")));
        const QString odd = QStringLiteral("a\u2028b\u2029c\rd\uFDD0e\uFDD1f\u00A0g");
        const QString anna = QStringLiteral("anna");
        QVERIFY(addUser(admin, anna) && addUser(admin, odd));
        QVERIFY(admin.exec(QStringLiteral("update phpbb_users set locatie = 'lobby'")));
        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_systemmessages (van,bericht,naar) "
                                          "values (?,?,?)"),
                           {odd, odd, anna}));
        goOffline();
        for (const bool withId : {true, false}) {
            Session session(anna);
            frmmulti& w = session.w;
            QVERIFY(say(admin, anna, odd) && say(admin, anna, QStringLiteral("plain")));
            w.tmrlobbychat_Timer();
            QVERIFY(w.txtlobbychat->toPlainText().endsWith(QStringLiteral("<anna> plain\n")));
            QVERIFY(w.txtlobbyonline->toPlainText().startsWith(QStringLiteral("<a")));
            QVERIFY(w.txtsystemmessages->toPlainText().startsWith(QStringLiteral("<a")));

            QList<QTextEdit*> boxes{w.txtlobbychat, w.txtlobbyonline, w.txtsystemmessages};
            std::vector<std::unique_ptr<QSignalSpy>> changes;
            for (QTextEdit* box : boxes) {
                QTextCursor mine(box->document());
                mine.setPosition(1);
                mine.setPosition(3, QTextCursor::KeepAnchor);
                box->setTextCursor(mine);
                changes.push_back(std::make_unique<QSignalSpy>(box, &QTextEdit::textChanged));
            }
            for (int poll = 0; poll < 2; ++poll) {
                w.tmrlobbychat_Timer();
                w.controleeropsysteemberichten();
            }
            for (int i = 0; i < boxes.size(); ++i) {
                QCOMPARE(changes[size_t(i)]->count(), 0);
                QCOMPARE(boxes[i]->textCursor().selectionStart(), 1);
                QCOMPARE(boxes[i]->textCursor().selectionEnd(), 3);
            }
            QVERIFY(say(admin, anna, QStringLiteral("more")));
            w.tmrlobbychat_Timer();
            QVERIFY(w.txtlobbychat->toPlainText().endsWith(
                QStringLiteral("<anna> plain\n<anna> more\n")));
            if (withId)
                QVERIFY(admin.exec(QStringLiteral("alter table vdrx_messages drop messageID")));
        }
    }

    // The server's time at the login falls in this PC's spring-forward gap: the chat
    // still starts at the login. Without the login's time it starts at the next
    // poll, never at the first line ever written.
    void loginInTheClockGap() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_g_"));
        QVERIFY(addUser(admin, anna));
        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                          "values (?,'all','yesterday',now() - interval 1 day)"),
                           {anna}));
        const QString now = admin.value(QStringLiteral("select cast(now() as char)")).toString();
        const QDate day = QDate::fromString(now.left(10), QStringLiteral("yyyy-MM-dd"));
        const QTime time = QTime::fromString(now.mid(11), QStringLiteral("HH:mm:ss"));
        // This PC's clocks skip two hours from the start of the server's hour.
        const QByteArray zone = QStringLiteral("VXS0VXD-2,%1/%2,%3/0")
                                    .arg(day.dayOfYear() - 1)
                                    .arg(time.hour())
                                    .arg((day.dayOfYear() + 180) % 365)
                                    .toLatin1();
        const QByteArray oldZone = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
        const auto restore = qScopeGuard([&] {
            oldZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldZone);
            tzset();
        });
        QVERIFY(!QDateTime(day, time).isValid());

        Session session(anna);
        frmmulti& w = session.w;
        const QString old = QStringLiteral("<%1> yesterday").arg(anna);
        QVERIFY2(state().servertijd.size() == 19 && state().servertijd >= now,
                 qPrintable(state().servertijd));
        QVERIFY(say(admin, anna, QStringLiteral("today")));
        w.tmrlobbychat_Timer();
        QVERIFY(w.txtlobbychat->toPlainText().contains(QStringLiteral("<%1> today").arg(anna)));
        QVERIFY(!w.txtlobbychat->toPlainText().contains(old));
        state().servertijd.clear();
        w.tmrlobbychat_Timer();
        QVERIFY(state().servertijd >= now);
        QVERIFY(say(admin, anna, QStringLiteral("later")));
        w.tmrlobbychat_Timer();
        QVERIFY(w.txtlobbychat->toPlainText().contains(QStringLiteral("<%1> later").arg(anna)));
        QVERIFY(!w.txtlobbychat->toPlainText().contains(old));
        // Not into the chat of a login in this second.
        QVERIFY(admin.exec(QStringLiteral("delete from vdrx_messages where van = ?"), {anna}));
    }

    void postingQuestions() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_p_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.w;
        const auto posted = [&](const QString& question) {
            return admin.rows(
                QStringLiteral("select aantal, answ1, answ2, coalesce(answ3, 'NULL'), "
                               "fastest from vdrx_triviaposts where poster = ? and "
                               "question = ?"),
                {anna, question});
        };

        // Three answers, the second one missing: refused, nothing lost.
        w.Combo1->setCurrentText(QStringLiteral("3"));
        QVERIFY(!w.txtpostanswers[2]->isHidden() && w.txtpostanswers[3]->isHidden());
        const QString question = QStringLiteral("Who's \"the\" \\ best?");
        w.txtpostquestion->setText(question);
        w.txtpostanswers[0]->setText(QStringLiteral("o'neil"));
        w.txtpostanswers[2]->setText(QStringLiteral("c"));
        w.cmdPostQuestion->click();
        QCOMPARE(session.dialogs.texts(),
                 QStringList(QStringLiteral("fill in all answer fiels you have selected")));
        QCOMPARE(w.txtpostquestion->text() + w.txtpostanswers[2]->text(), question + 'c');

        session.dialogs.clear();
        w.txtpostanswers[1]->setText(QStringLiteral("b"));
        w.cmdPostQuestion->click();
        QCOMPARE(session.dialogs.texts(),
                 QStringList({QStringLiteral("INSERT INTO vdrx_triviaposts (question,aantal,poster,"
                                             "answ1,answ2,answ3,fastest) VALUES('Who\\'s \"the\" "
                                             "\\\\ best?',3,'%1','o\\'neil','b','c','nobody');")
                                  .arg(anna),
                              QStringLiteral("Thank you!\r\n\r\nA new question by %1 was added to "
                                             "the list to be checked,\r\nyou will be informed by "
                                             "a system message")
                                  .arg(anna)}));
        QCOMPARE(posted(question), (QList<QVariantList>{{3, "o'neil", "b", "c", "nobody"}}));
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("1"));
        QVERIFY(w.txtpostquestion->text().isEmpty() && w.txtpostanswers[2]->text().isEmpty());
        QVERIFY(!w.txtpostanswers[0]->isHidden() && w.txtpostanswers[1]->isHidden());

        // Five answers typed, then two chosen: the hidden three keep their text.
        w.Combo1->setCurrentText(QStringLiteral("5"));
        QTest::keyClick(w.Combo1, Qt::Key_7);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("5"));
        for (int i = 0; i < 5; ++i)
            w.txtpostanswers[i]->setText(QString::number(i));
        w.Combo1->setCurrentText(QStringLiteral("2"));
        QVERIFY(w.txtpostanswers[2]->isHidden() && w.txtpostanswers[4]->text() == "4");
        w.txtpostquestion->setText(QStringLiteral("two?"));
        w.cmdPostQuestion->click();
        QCOMPARE(posted(QStringLiteral("two?")),
                 (QList<QVariantList>{{2, "0", "1", "NULL", "nobody"}}));

        // A failed post says so only, and keeps what was typed.
        session.dialogs.clear();
        goOffline();
        w.txtpostquestion->setText(QStringLiteral("lost"));
        w.txtpostanswers[0]->setText(QStringLiteral("kept"));
        w.cmdPostQuestion->click();
        QCOMPARE(session.dialogs.texts().size(), 2);
        QVERIFY(session.dialogs.texts().at(1).startsWith(QStringLiteral("Error ")));
        QCOMPARE(w.txtpostquestion->text() + w.txtpostanswers[0]->text(),
                 QStringLiteral("lostkept"));
    }

    void problemReports() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_r_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.w;
        w.SSTab1->setCurrentIndex(kTabProblems);
        w.txtrepemail->setText(QStringLiteral("a@b.c"));
        w.txtrepdescription->setPlainText(QStringLiteral("it's broken \\ <b>"));
        w.Command3->click();
        QCOMPARE(session.dialogs.texts(), QStringList(QStringLiteral("message sent")));
        const QString today = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
        QCOMPARE(admin.rows(QStringLiteral("select emailaddress, message, date, version from "
                                           "vdrx_reports where username = ?"),
                            {anna}),
                 (QList<QVariantList>{{"a@b.c", "it's broken \\ <b>", today, "4"}}));
        QCOMPARE(w.txtrepusername->text(), anna);
        QVERIFY(w.txtrepemail->text().isEmpty() && w.txtrepdescription->toPlainText().isEmpty());

        // Not connected: the mail message, three tabs off, nothing stored.
        session.dialogs.clear();
        goOffline();
        w.txtrepdescription->setPlainText(QStringLiteral("offline"));
        w.Command3->click();
        QCOMPARE(session.dialogs.texts(),
                 QStringList(QStringLiteral("mail to: support@vondrix.net don't forget to include "
                                            "your username - thx in advance!")));
        QVERIFY(!w.SSTab1->isTabEnabled(kTabHost) && !w.SSTab1->isTabEnabled(kTabJoin) &&
                !w.SSTab1->isTabEnabled(kTabControls) && w.SSTab1->isTabEnabled(kTabExpand));

        QStringList opened;
        setShellOpenSink([&](const QString& op, const QString& file) { opened << op << file; });
        state().gebruikersnaam = QStringLiteral("Jo & Co");
        QTest::mouseClick(w.Label8, Qt::LeftButton);
        setShellOpenSink({});
        QCOMPARE(opened,
                 (QStringList{QStringLiteral("open"),
                              QStringLiteral("mailto:support@vondrix.net?&subject=Problem "
                                             "username:&body=Username: Jo%20%26%20Co%0D%0A"
                                             "%0D%0A - Detailed error description and pc "
                                             "information (Windows version, language,...)")}));
    }
};

QTEST_MAIN(tst_lobby)
#include "tst_lobby.moc"
