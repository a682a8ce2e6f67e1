// The "Problems" tab: problem reports, stored centrally or sent by mail.
#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"
#include "platform/gui/shell.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

QString frmmulti::supportMail() {
    return QStringLiteral("support@vondrix.net");
}

void frmmulti::Command3_Click() {
    if (gMyConn().State() == DbConnection::kNotConnected) {
        MsgBox(QStringLiteral("mail to: ") + supportMail() +
               QStringLiteral(" don't forget to include your username - thx in advance!"));
        for (int tab : {kTabHost, kTabJoin, kTabControls})
            SSTab1->setTabEnabled(tab, false);
        return;
    }
    gMyConn().Execute(QStringLiteral("INSERT INTO vdrx_reports (username,emailaddress, message, "
                                     "date, version) VALUES(?,?,?,?,'4');"),
                      {txtrepusername->text(), txtrepemail->text(),
                       txtrepdescription->toPlainText(),
                       QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)});
    if (gMyConn().Error().Number != 0) {
        CheckChange(QStringLiteral("Your report")); // every text stays as typed
        return;
    }
    MsgBox(QStringLiteral("message sent"));
    txtrepdescription->clear();
    txtrepemail->clear();
}

void frmmulti::Label8_Click() {
    shellopen(QStringLiteral("open"),
              QStringLiteral("mailto:") + supportMail() + QStringLiteral("?") +
                  QStringLiteral("&subject=") + QStringLiteral("Problem username:") +
                  QStringLiteral("&body=") + QStringLiteral("Username: ") +
                  QString::fromLatin1(QUrl::toPercentEncoding(state().gebruikersnaam)) +
                  QStringLiteral("%0D%0A") + QStringLiteral("%0D%0A") +
                  QStringLiteral(" - Detailed error description and pc information (Windows "
                                 "version, language,...)"),
              {}, {}, 1);
}

// Connects the commands of the Lobby, Expand db and Problems tabs.
void frmmulti::wireLobbyCommands() {
    connect(cmdlobbysend, &QPushButton::clicked, this, &frmmulti::cmdlobbysend_Click);
    connect(tmrlobbychat, &QTimer::timeout, this, &frmmulti::tmrlobbychat_Timer);
    connect(Command12, &QPushButton::clicked, this, &frmmulti::Command12_Click);
    connect(Combo1, &QComboBox::currentTextChanged, this, &frmmulti::Combo1_Change);
    connect(Combo1, &QComboBox::activated, this, &frmmulti::Combo1_Click);
    connect(cmdPostQuestion, &QPushButton::clicked, this, &frmmulti::cmdPostQuestion_Click);
    connect(Command3, &QPushButton::clicked, this, &frmmulti::Command3_Click);
    connect(Label8, &ClickLabel::clicked, this, &frmmulti::Label8_Click);
}
