// The server lists of the "Join game" tab: which list, refreshing, and filling the grid.
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"
#include "lobby/pingmodule.h"
#include "platform/dbrecordset.h"

#include <QLocale>
#include <QTime>

using namespace frmmultibuild;

namespace {

QString listStatement(const QString& type) {
    return QStringLiteral("select ipaddress, ipport, ipping, user, description, quizlength, "
                          "curplayers as current, maxplayers as max, country,version,password "
                          "from vdrx_servers where gtype = '") +
           type + QStringLiteral("' and active = '1';");
}

const QString kUpdateError = QStringLiteral("An error occured during the update.");

} // namespace

void frmmulti::buildServerLists() {
    txtSQL = textBox(this, QStringLiteral("txtSQL"));
    txtOffset = textBox(this, QStringLiteral("txtOffset"), QStringLiteral("0"));
    txtChunk = textBox(this, QStringLiteral("txtChunk"), QStringLiteral("10"));
    for (QLineEdit* box : {txtSQL, txtOffset, txtChunk})
        box->hide();
    connect(chkPublic, &QCheckBox::toggled, this, &frmmulti::chkPublic_Click);
    connect(chkprivate, &QCheckBox::toggled, this, &frmmulti::chkprivate_Click);
    connect(chkpingtime, &QCheckBox::toggled, this, &frmmulti::chkpingtime_Click);
    connect(cmdVernieuwen, &QPushButton::clicked, this, &frmmulti::cmdVernieuwen_Click);
    connect(cmdrefreshlist2, &QPushButton::clicked, this, &frmmulti::cmdrefreshlist2_Click);
}

void frmmulti::chkPublic_Click() {
    toonlijstmuziek();
}

void frmmulti::chkprivate_Click() {
    toonlijsttrivia();
}

void frmmulti::chkpingtime_Click() {
    serverlijstvernieuwen();
}

void frmmulti::cmdVernieuwen_Click() {
    serverlijstvernieuwen();
}

void frmmulti::toonlijstmuziek() {
    if (!chkPublic->isChecked()) return;
    chkprivate->setChecked(false);
    serverlijstsql = listStatement(QStringLiteral("music"));
    serverlijstvernieuwen();
}

void frmmulti::toonlijsttrivia() {
    if (!chkprivate->isChecked()) return;
    chkPublic->setChecked(false);
    serverlijstsql = listStatement(QStringLiteral("trivia"));
    serverlijstvernieuwen();
}

void frmmulti::serverlijstvernieuwen() {
    txtSQL->setText(serverlijstsql);
    serverlijstvullen();
}

void frmmulti::serverlijstvullen() {
    const QString sql = txtSQL->text();
    gridvullingen.run(QStringLiteral("fgData"), [this, sql] {
        runGuarded([this, sql] {
            muisbezig();
            const QString before = lblstatusjoin->text();
            lblstatusjoin->setText(QStringLiteral("Executing query..."));
            GridFillOptions options;
            const bool ping = chkpingtime->isChecked();
            options.column3 = [ping](DbRecordset& rs) {
                QStringList addresses;
                for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
                    addresses << rs.Fields(0).Text();
                if (!ping) return QStringList(addresses.size(), QStringLiteral("?"));
                QStringList texts = pingtijden(addresses);
                for (QString& t : texts)
                    t += QStringLiteral(" ms");
                return texts;
            };
            options.progress = [this](int row, int count) {
                lblstatusjoin->setText(QStringLiteral("updating server list... record") +
                                       QString::number(row) + QStringLiteral(" of ") +
                                       QString::number(count));
            };
            const GridFillResult result = fillGrid(fgData, sql, options);
            if (result.emptyQuery) {
                lblstatusjoin->setText(before);
            } else if (result.failed) {
                lblstatus->setText(kUpdateError);
                lblstatusjoin->setText(kUpdateError);
            } else if (result.rowCount < 1 && result.affected < 1) {
                lblstatusjoin->setText(QStringLiteral("No Vondrix servers found"));
            } else {
                lblstatusjoin->setText(QTime::currentTime().toString(QStringLiteral("HH:mm")) +
                                       QStringLiteral(": List updated in ") +
                                       QLocale().toString(result.seconds, 'f', 3) +
                                       QStringLiteral(" seconds"));
            }
            muisnormaal();
        });
    });
}
