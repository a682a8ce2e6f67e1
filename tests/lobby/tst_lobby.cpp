#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "lobby/lobbypoll.h"
#include "platform/gui/shell.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"

#include <QComboBox>
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

namespace {

const QString kKeys = QStringLiteral("[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\n"
                                     "button3=e\r\nbutton4=r\r\n");

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

// This test process as one logged-in program, on the Lobby tab.
class Session {
public:
    explicit Session(const QString& naam) {
        resetState();
        QFile ini(folder.file(QStringLiteral("settings.ini")));
        if (ini.open(QIODevice::WriteOnly)) ini.write(kKeys.toLatin1());
        frmmulti& w = window();
        w.txtusrlogin->setText(naam);
        w.txtusrpassword->setText(QStringLiteral("pw"));
        w.Command5->click();
        w.tmrlobbychat->stop(); // the test ticks by hand
        dialogs.clear();
    }
    ~Session() { frmmulti::unload(); }
    frmmulti& window() { return frmmulti::instance(); }

    TempProgramFolder folder;
    DialogRecorder dialogs;
};

// The other logged-in program: vdx_lobbyplayer.
class Player {
public:
    explicit Player(const QString& naam) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VONDRIX_HOME"), folder.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QFile ini(folder.file(QStringLiteral("settings.ini")));
        if (ini.open(QIODevice::WriteOnly)) ini.write(kKeys.toLatin1());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VDX_LOBBYPLAYER), {naam, QStringLiteral("pw")});
        ready = !reply(QString(), QStringLiteral("READY")).isNull();
    }
    ~Player() {
        process.closeWriteChannel();
        if (!process.waitForFinished(10000)) process.kill();
    }
    // Sends a command and returns the answer line that starts with prefix.
    QString reply(const QString& command, const QString& prefix) {
        if (!command.isNull()) process.write(command.toUtf8() + '\n');
        while (process.canReadLine() || process.waitForReadyRead(15000)) {
            const QString line = QString::fromUtf8(process.readLine()).chopped(1);
            if (line.startsWith(prefix)) return line.mid(prefix.size());
        }
        return {};
    }
    // The chat and users boxes after a tick.
    QPair<QString, QString> tick() {
        const QStringList parts =
            reply(QStringLiteral("tick"), QStringLiteral("CHAT ")).split(QStringLiteral(" USERS "));
        if (parts.size() != 2) return {};
        return {QUrl::fromPercentEncoding(parts[0].toLatin1()),
                QUrl::fromPercentEncoding(parts[1].toLatin1())};
    }

    TempProgramFolder folder;
    QProcess process;
    bool ready = false;
};

QString lines(const QStringList& rows) {
    return rows.isEmpty() ? QString() : rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Drops gMyConn's session as a server restart or a network fault would.
void killConnection(AdminDb& admin) {
    const QVariant id = gMyConn().Execute(QStringLiteral("select connection_id()")).Fields(0).Value;
    admin.exec(QStringLiteral("kill connection ") + QString::number(id.toLongLong()));
}

} // namespace

class tst_lobby : public QObject {
    Q_OBJECT

private slots:
    void twoProgramsChat() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_a_"));
        const QString bert = uniqueName(QStringLiteral("lobby_b_"));
        QVERIFY(addUser(admin, anna) && addUser(admin, bert));
        QVERIFY(admin.exec(QStringLiteral("insert into vdrx_systemmessages (van,bericht,naar,"
                                          "gelezen) values ('op','<b>approved</b>',?,'nee'),"
                                          "('op','old',?,'ja')"),
                           {anna, anna}));

        Session session(anna);
        frmmulti& w = session.window();
        QCOMPARE(w.txtsystemmessages->toPlainText(), QStringLiteral("<op> <b>approved</b>\n"));
        Player player(bert);
        QVERIFY(player.ready);

        const QString typed = QStringLiteral("it's a \\ and <b>bold</b>");
        w.txtlobbysturen->setText(typed);
        QTest::keyClick(w.txtlobbysturen, Qt::Key_Return);
        QVERIFY(w.txtlobbysturen->text().isEmpty());
        QCOMPARE(player.reply(QStringLiteral("send <i>hi</i>"), QStringLiteral("SENT")), QString());
        QCOMPARE(
            admin.value(QStringLiteral("select bericht from vdrx_messages where van = ?"), {anna})
                .toString(),
            typed);

        w.tmrlobbychat_Timer();
        const QString chat = lines({QLatin1Char('<') + anna + QStringLiteral("> ") + typed,
                                    QLatin1Char('<') + bert + QStringLiteral("> <i>hi</i>")});
        QCOMPARE(w.txtlobbychat->toPlainText(), chat);
        const QString both = lines({QLatin1Char('<') + anna + QLatin1Char('>'),
                                    QLatin1Char('<') + bert + QLatin1Char('>')});
        QVERIFY(w.txtlobbyonline->toPlainText().contains(both));
        QCOMPARE(w.txtlobbychat->textCursor().selectedText().size(), 1);
        const auto seen = player.tick();
        QCOMPARE(seen.first, chat);
        QVERIFY(seen.second.contains(both));

        // Nothing new: boxes and the user's own selection stay as they are.
        QTextCursor mine(w.txtlobbychat->document());
        mine.setPosition(2);
        mine.setPosition(6, QTextCursor::KeepAnchor);
        w.txtlobbychat->setTextCursor(mine);
        w.tmrlobbychat_Timer();
        w.tmrlobbychat_Timer();
        QCOMPARE(w.txtlobbychat->textCursor().selectionStart(), 2);
        QCOMPARE(w.txtlobbychat->textCursor().selectionEnd(), 6);
        QCOMPARE(w.txtlobbychat->toPlainText(), chat);

        // Leaving the tab takes a user off the list.
        QCOMPARE(player.reply(QStringLiteral("leave"), QStringLiteral("LEFT")), QString());
        w.tmrlobbychat_Timer();
        QVERIFY(!w.txtlobbyonline->toPlainText().contains(bert));
        QVERIFY(
            w.txtlobbyonline->toPlainText().contains(QLatin1Char('<') + anna + QLatin1Char('>')));

        w.Command12->click();
        QCOMPARE(w.txtsystemmessages->toPlainText(), QStringLiteral("<none>"));
        QCOMPARE(admin
                     .value(QStringLiteral("select count(*) from vdrx_systemmessages where naar "
                                           "= ? and gelezen = 'nee'"),
                            {anna})
                     .toInt(),
                 0);
        QVERIFY(session.dialogs.texts().isEmpty());
    }

    // Lines of one second come in the order they were written, read whole or in
    // parts; a lost connection keeps the boxes and the unsent line, and the next
    // tick connects again.
    void orderAndLostConnection() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_c_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.window();
        const QString second = state().servertijd;
        ChatReader whole(ChatReader::Mode::Reread);
        ChatReader parts(ChatReader::Mode::Append);
        QVERIFY(whole.poll(gMyConn(), second) && parts.poll(gMyConn(), second));
        const QString insert = QStringLiteral("insert into vdrx_messages (van,naar,bericht,"
                                              "servertime) values (?,'all',?,?)");
        for (const QString& text : {QStringLiteral("zz"), QStringLiteral("mm")})
            QVERIFY(admin.exec(insert, {anna, text, second}));
        QVERIFY(parts.poll(gMyConn(), second));
        for (const QString& text : {QStringLiteral("aa"), QStringLiteral("bb")})
            QVERIFY(admin.exec(insert, {anna, text, second}));
        QVERIFY(whole.poll(gMyConn(), second) && parts.poll(gMyConn(), second));
        QVERIFY(whole.text().contains(QStringLiteral("> zz\r\n<") + anna +
                                      QStringLiteral("> mm\r\n<") + anna +
                                      QStringLiteral("> aa\r\n<") + anna + QStringLiteral("> bb")));
        QCOMPARE(parts.text(), whole.text());

        w.tmrlobbychat_Timer();
        const QString shown = w.txtlobbychat->toPlainText();
        QVERIFY(shown.endsWith(QStringLiteral("> bb\n")));
        killConnection(admin);
        w.txtlobbysturen->setText(QStringLiteral("lost?"));
        w.cmdlobbysend->click();
        QCOMPARE(w.txtlobbysturen->text(), QStringLiteral("lost?"));
        QCOMPARE(session.dialogs.texts().size(), 1);
        QVERIFY(
            session.dialogs.texts().at(0).startsWith(QStringLiteral("Your message was not sent")));
        QCOMPARE(gMyConn().State(), DbConnection::kNotConnected);
        QVERIFY(admin.exec(insert, {anna, QStringLiteral("back"), second}));
        w.tmrlobbychat_Timer();
        QCOMPARE(w.txtlobbychat->toPlainText(),
                 shown + QLatin1Char('<') + anna + QStringLiteral("> back\n"));
        w.cmdlobbysend->click();
        QVERIFY(w.txtlobbysturen->text().isEmpty());
    }

    void postingQuestions() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_p_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.window();
        const auto posted = [&](const QString& question) {
            return admin.rows(
                QStringLiteral("select aantal, answ1, answ2, coalesce(answ3, 'NULL'), fastest from "
                               "vdrx_triviaposts where poster = ? and question = ?"),
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
        QCOMPARE(w.txtpostquestion->text(), question);
        QCOMPARE(w.txtpostanswers[2]->text(), QStringLiteral("c"));

        session.dialogs.clear();
        w.txtpostanswers[1]->setText(QStringLiteral("b"));
        w.cmdPostQuestion->click();
        QCOMPARE(session.dialogs.texts().size(), 2);
        QCOMPARE(session.dialogs.texts().at(0),
                 QStringLiteral("INSERT INTO vdrx_triviaposts (question,aantal,poster,answ1,answ2,"
                                "answ3,fastest) VALUES('Who\\'s \"the\" \\\\ best?',3,'") +
                     anna + QStringLiteral("','o\\'neil','b','c','nobody');"));
        QCOMPARE(session.dialogs.texts().at(1),
                 QStringLiteral("Thank you!\r\n\r\nA new question by ") + anna +
                     QStringLiteral(" was added to the list to be checked,\r\nyou will be "
                                    "informed by a system message"));
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
        QVERIFY(w.txtpostanswers[2]->isHidden());
        QCOMPARE(w.txtpostanswers[4]->text(), QStringLiteral("4"));
        w.txtpostquestion->setText(QStringLiteral("two?"));
        w.cmdPostQuestion->click();
        QCOMPARE(posted(QStringLiteral("two?")),
                 (QList<QVariantList>{{2, "0", "1", "NULL", "nobody"}}));

        // A failed post says so only, and keeps what was typed.
        session.dialogs.clear();
        gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"),
                                 QStringLiteral("x"), QStringLiteral("x"), freePort(), 0);
        w.txtpostquestion->setText(QStringLiteral("lost"));
        w.txtpostanswers[0]->setText(QStringLiteral("kept"));
        w.cmdPostQuestion->click();
        QCOMPARE(session.dialogs.texts().size(), 2);
        QVERIFY(session.dialogs.texts().at(1).startsWith(QStringLiteral("Error ")));
        QCOMPARE(w.txtpostquestion->text(), QStringLiteral("lost"));
        QCOMPARE(w.txtpostanswers[0]->text(), QStringLiteral("kept"));
    }

    void problemReports() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString anna = uniqueName(QStringLiteral("lobby_r_"));
        QVERIFY(addUser(admin, anna));
        Session session(anna);
        frmmulti& w = session.window();
        w.SSTab1->setCurrentIndex(kTabProblems);
        w.txtrepemail->setText(QStringLiteral("a@b.c"));
        w.txtrepdescription->setPlainText(QStringLiteral("it's broken \\ <b>"));
        w.Command3->click();
        QCOMPARE(session.dialogs.texts(), QStringList(QStringLiteral("message sent")));
        QCOMPARE(admin.rows(QStringLiteral("select emailaddress, message, date, version from "
                                           "vdrx_reports where username = ?"),
                            {anna}),
                 (QList<QVariantList>{
                     {"a@b.c", "it's broken \\ <b>",
                      QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), "4"}}));
        QCOMPARE(w.txtrepusername->text(), anna);
        QVERIFY(w.txtrepemail->text().isEmpty() && w.txtrepdescription->toPlainText().isEmpty());

        // Not connected: the mail message, three tabs off, nothing stored.
        session.dialogs.clear();
        gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"),
                                 QStringLiteral("x"), QStringLiteral("x"), freePort(), 0);
        w.txtrepdescription->setPlainText(QStringLiteral("offline"));
        w.Command3->click();
        QCOMPARE(session.dialogs.texts(),
                 QStringList(QStringLiteral("mail to: support@vondrix.net don't forget to include "
                                            "your username - thx in advance!")));
        for (int tab : {kTabHost, kTabJoin, kTabControls})
            QVERIFY(!w.SSTab1->isTabEnabled(tab));
        QVERIFY(w.SSTab1->isTabEnabled(kTabExpand));
        QCOMPARE(w.txtrepdescription->toPlainText(), QStringLiteral("offline"));

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
