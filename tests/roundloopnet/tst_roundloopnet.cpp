// The host's round loop with one client on loopback: the round preparation lets
// events run while it sends, and the watch's ticks run inside it.
#include "common/gamestate.h"
#include "game/Form1.h"
#include "lobby/frmmulti.h"
#include "netgame/servermodule.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

class tst_roundloopnet : public QObject {
    Q_OBJECT

private slots:
    void nestedWatchTicksLeaveTheRoundBeingPreparedAlone() {
        resetState();
        for (auto& slot : clientslots())
            slot = ClientSlot{};
        TempProgramFolder folder;
        DialogRecorder dialogs;
        GameState& s = state();
        s.gebruikersnaam = QStringLiteral("host");
        QByteArray m3u = "#EXTM3U\r\n";
        for (int n = 1; n <= 6; ++n) {
            const QString song = folder.file(QStringLiteral("song%1.mp3").arg(n));
            QFile file(song);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(2000, char('a' + n)));
            m3u += song.toUtf8() + "\r\n";
        }
        QFile list(folder.file(QStringLiteral("list.m3u")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(m3u);
        list.close();

        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        const quint16 port = freePort();
        w.txtserverinfo->setText(QStringLiteral("test game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(QString::number(port));
        w.txtpad->setText(list.fileName());
        w.cmbtijd->setCurrentText(QStringLiteral("20"));
        w.optlan->setChecked(true);
        w.cmdHost->click();
        QVERIFY(Form1::exists());

        Peer client;
        QVERIFY(client.connectTo(port));
        QVERIFY(client.waitFor("vxsestareinde"));
        client.send("vxcluser|kees|20|vxclusereinde");
        QVERIFY(waitUntil([] { return !state().spelers[1].naam.isEmpty(); }));

        // The host answers by keyboard with a, s, d, f.
        s.keyboard1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QStringLiteral("asdf").mid(k - 1, 1);
        Form1& f = Form1::instance();
        f.Command8_Click();
        QVERIFY(client.waitFor("vxsecloseinde"));
        // The ticks of this round come from the test.
        f.tmrAntwoordenTonen->stop();
        f.tmrKlok->stop();
        client.send("vxclantw|" + QByteArray::number(s.juistekeuze) + "|12|vxclantweinde");
        QVERIFY(waitUntil([] { return state().aantalclientantwoorden == 1; }));
        f.Text1_KeyPress(QStringLiteral("asdf").mid(s.juistekeuze - 1, 1));
        QCOMPARE(s.aantalantwoorden, qint16(1));

        // The clock closes the round; the delay shows and scores it.
        f.txtklok->setText(QStringLiteral("0"));
        f.tmrKlok_Timer();
        for (int i = 0; i < 3; ++i)
            f.tmrdelay_Timer();
        QCOMPARE(s.spelers[0].totaalscore, qint16(20));
        QCOMPARE(s.spelers[1].totaalscore, qint16(12));

        // The next round is prepared inside a tick of the watch, with the watch
        // running: its ticks inside the sends see a complete count of the round
        // just closed, and must leave the new round alone.
        f.tmrAntwoordenTonen->start();
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(s.vraagnummer, qint16(2));
        QVERIFY(client.waitFor("vxseantweinde"));
        QVERIFY(!f.tmrdelay->isActive());
        QVERIFY(f.tmrKlok->isActive());
        QCOMPARE(s.spelers[0].totaalscore, qint16(20));
        QCOMPARE(f.score[0]->text(), QStringLiteral("20"));
        QCOMPARE(s.aantalantwoorden, qint16(0));

        client.close();
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(tst_roundloopnet)
#include "tst_roundloopnet.moc"
