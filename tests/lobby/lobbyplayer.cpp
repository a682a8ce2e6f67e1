// A test program, not a product feature: one logged-in user on the Lobby tab.
//
//   vdx_lobbyplayer USER PASSWORD
//
// Reads commands on stdin and answers each with one line on stdout:
//   send <text>   types the text into the chat input and presses Enter  -> SENT
//   tick          one tick of the lobby timer -> CHAT <chat box> USERS <users box>
//   leave         selects the Info tab -> LEFT
//   show          shows the window and lets it paint for a second -> SHOWN
// Box texts are percent-encoded. Message boxes are answered OK and written as MSG <text>.
#include "common/gamestate.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"
#include "platform/gui/xbackingstore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

namespace {
void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
QString encoded(const QTextEdit* box) {
    return QString::fromLatin1(box->toPlainText().toUtf8().toPercentEncoding());
}
} // namespace

int main(int argc, char** argv) {
    preferPlainXImages();
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    setDialogHandlers({[](const MessageRequest& m) {
                           say(QStringLiteral("MSG ") + m.text);
                           return vbOK;
                       },
                       {}});
    frmmulti& w = frmmulti::instance();
    w.txtusrlogin->setText(QString::fromLocal8Bit(argv[1]));
    w.txtusrpassword->setText(QString::fromLocal8Bit(argv[2]));
    w.Command5->click();
    w.tmrlobbychat->stop(); // ticks come from stdin only
    say(QStringLiteral("READY"));

    QTextStream in(stdin);
    QString line;
    while (in.readLineInto(&line)) {
        if (line.startsWith(QStringLiteral("send "))) {
            w.txtlobbysturen->setText(line.mid(5));
            QTest::keyClick(w.txtlobbysturen, Qt::Key_Return);
            say(QStringLiteral("SENT"));
        } else if (line == QStringLiteral("tick")) {
            w.tmrlobbychat_Timer();
            say(QStringLiteral("CHAT ") + encoded(w.txtlobbychat) + QStringLiteral(" USERS ") +
                encoded(w.txtlobbyonline));
        } else if (line == QStringLiteral("show")) {
            w.show();
            QTest::qWait(1000);
            say(QStringLiteral("SHOWN"));
        } else if (line == QStringLiteral("leave")) {
            w.SSTab1->setCurrentIndex(kTabInfo);
            say(QStringLiteral("LEFT"));
        }
    }
    frmmulti::unload();
    return 0;
}
