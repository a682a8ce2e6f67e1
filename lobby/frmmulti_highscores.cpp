// The "High score" tab: the question bank's counts and the two rankings.
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// The rank is numbered by the session variable. The ranking is sorted in a derived
// table first (the LIMIT keeps the server from dropping that ORDER BY), so the
// numbers follow the order shown; numbered in the grouping query itself, MariaDB
// counts the groups before it sorts them.
const QString kScoresSql = QStringLiteral(
    "SET @t1=0; SELECT @t1:=(@t1+1) as `rank`, username, records, country FROM (SELECT "
    "vdrx_trivia.fastest as username, count( vdrx_trivia.questionnr ) as 'records', "
    "phpbb_users.user_from as country FROM `vdrx_trivia` inner join phpbb_users on "
    "(vdrx_trivia.fastest = phpbb_users.username) where vdrx_trivia.fastest <> 'nobody' GROUP "
    "BY fastest order by records desc LIMIT 18446744073709551615) as ranked");
const QString kPostersSql = QStringLiteral(
    "SET @t1=0; SELECT @t1:=(@t1+1) as `rank`, user, questions FROM (SELECT poster as user, "
    "count( questionnr ) AS questions FROM `vdrx_trivia` WHERE poster <> 'vondrix' GROUP BY "
    "poster ORDER BY questions DESC LIMIT 18446744073709551615) as ranked");

// Field 0 of a one-value query; an empty table's max() (NULL) counts as 0.
QString countOf(const DbRecordset& rs) {
    if (rs.Eof()) return {};
    const DbField field = rs.Fields(0);
    return field.Value.isNull() ? QStringLiteral("0") : field.Text();
}

void fillRanking(QTableWidget* grid, QLabel* status, const QString& sql) {
    runGuarded([=] {
        muisbezig();
        if (fillGrid(grid, sql).failed)
            status->setText(QStringLiteral("An error occured during the update."));
        muisnormaal();
    });
}

void checkPaging(QLineEdit* offset, QLineEdit* chunk) {
    bool offsetOk = false;
    bool chunkOk = false;
    offset->text().toInt(&offsetOk);
    chunk->text().toInt(&chunkOk);
    if (!offsetOk || !chunkOk) {
        offset->setText(QStringLiteral("0"));
        chunk->setText(QStringLiteral("10"));
    }
}

} // namespace

void frmmulti::cmdrefreshlist2_Click() {
    DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT max(questionnr) from vdrx_trivia "));
    myrslogin() = rs;
    rs.MoveFirst();
    lblscoreaantalindatabase->setText(countOf(rs));
    rs = gMyConn().Execute(
        QStringLiteral("SELECT count(questionnr) from vdrx_trivia where fastest = 'nobody'"));
    rs.MoveFirst();
    lblscoreaantalmetrecord->setText(countOf(rs));
    lblscoreaantalzonderrecord->setText(
        QString::number(lblscoreaantalindatabase->text().toLongLong() -
                        lblscoreaantalmetrecord->text().toLongLong()));

    toonlijsttriviascores();
    toonlijsttriviaposters();
    // After the rankings, also when they wait for a fill that is still running.
    gridvullingen.run(QStringLiteral("highscorewidths"), [this] { breedteshighscoreinstellen(); });
}

void frmmulti::toonlijsttriviascores() {
    gridtabel = QStringLiteral("vdrx_trivia");
    scoresql = kScoresSql;
    txtsqlscores->setText(scoresql);
    txtOffset->setText(QStringLiteral("0"));
    txtChunk->setText(QStringLiteral("10"));
    scorelijstquerystarten();
}

void frmmulti::toonlijsttriviaposters() {
    gridtabel = QStringLiteral("vdrx_trivia");
    scoresql = kPostersSql;
    txtsqlscores->setText(scoresql);
    txtOffset->setText(QStringLiteral("0"));
    txtChunk->setText(QStringLiteral("10"));
    posterlijstquerystarten();
}

void frmmulti::scorelijstquerystarten() {
    checkPaging(txtOffset, txtChunk);
    txtsqlscores->setText(scoresql);
    scorelijstvullen();
}

void frmmulti::posterlijstquerystarten() {
    checkPaging(txtOffset, txtChunk);
    txtsqlscores->setText(scoresql);
    posterlijstvullen();
}

void frmmulti::scorelijstvullen() {
    const QString sql = txtsqlscores->text();
    gridvullingen.run(QStringLiteral("fgdata2"),
                      [=, this] { fillRanking(fgdata2, lblstatus, sql); });
}

void frmmulti::posterlijstvullen() {
    const QString sql = txtsqlscores->text();
    gridvullingen.run(QStringLiteral("fgdata3"),
                      [=, this] { fillRanking(fgdata3, lblstatus, sql); });
}

void frmmulti::breedteshighscoreinstellen() {
    const int players[] = {650, 1850, 780, 1200};
    for (int c = 1; c <= 4; ++c)
        if (resultgrid::columns(fgdata2) > c)
            resultgrid::setColumnWidth(fgdata2, c, players[c - 1]);
    const int posters[] = {650, 2650};
    for (int c = 1; c <= 2; ++c)
        if (resultgrid::columns(fgdata3) > c)
            resultgrid::setColumnWidth(fgdata3, c, posters[c - 1]);
}
