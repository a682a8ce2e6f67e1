// The trivia question: drawn on the host from the trivia table, and shown.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "common/trivia.h"
#include "lobby/centraldb.h"
#include "platform/gui/mediaplayer.h"
#include "platform/rnd.h"

#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

// Draws before the round start gives up: the table may hold no active question.
// Without the server the first failed draw is the last.
constexpr int kMaxTriviaDraws = 50;

const QString kTriviaSelect = QStringLiteral(
    "select questionnr,question,answ1,answ2,answ3,answ4,answ5,answ6,answ7,answ8,answ9,answ10,"
    "answ11,answ12,answ13,answ14,answ15,aantal,active,poster,fastest,fastesttime from "
    "vdrx_trivia where questionnr = ");

// Reads the current row of myrslogin into the trivia variables.
void readQuestion(DbRecordset& rs) {
    GameState& s = state();
    s.triviavraagnr = rs.Fields(QStringLiteral("questionnr")).Text();
    const int aantal = qBound(0, rs.Fields(QStringLiteral("aantal")).Value.toInt(), 15);
    s.aantaltriviaantwoorden = qint16(aantal);
    for (int k = 1; k <= aantal; ++k)
        s.triviaantwoorden[k] = rs.Fields(QStringLiteral("answ%1").arg(k)).Text().toLower();
    s.triviavraag = rs.Fields(QStringLiteral("question")).Text().toLower();
    s.triviaposter = rs.Fields(QStringLiteral("poster")).Text();
    s.triviafastest = rs.Fields(QStringLiteral("fastest")).Text();
    if (s.triviafastest == QLatin1String("nobody")) {
        s.triviafastesttime = 100.0;
        return;
    }
    // Stored with "." whatever the locale. A time that is no number is no record.
    const std::optional<double> tijd =
        readDecimal(rs.Fields(QStringLiteral("fastesttime")).Text(), QStringLiteral("."));
    if (!tijd) {
        s.triviafastest = QStringLiteral("nobody");
        s.triviafastesttime = 100.0;
        return;
    }
    s.triviafastesttime = *tijd;
}

} // namespace

bool Form1::triviavoorbereiden() {
    GameState& s = state();
    WindowsMediaPlayer1->stop();
    WindowsMediaPlayer1->close();
    Randomize();
    s.triviavraagnr = QStringLiteral("0");
    const int aantal = s.aantaltriviavragen.toInt();
    if (aantal < 1) return false;
    for (int poging = 0; poging < kMaxTriviaDraws; ++poging) {
        Randomize();
        // Every question number from 1 to the count can be drawn.
        const int n = int(std::floor(aantal * Rnd())) + 1;
        int count = 0;
        DbRecordset& rs = myrslogin();
        rs = gMyConn().Execute(kTriviaSelect + QString::number(n) + QStringLiteral(" and active=1"),
                               count);
        if (rs.RecordCount() == 1) {
            readQuestion(rs);
            if (s.triviavraagnr.toInt() != 0) return true;
        }
        s.triviavraagnr = QStringLiteral("0");
        // Another draw would only wait for the server again.
        if (gMyConn().Error().lostConnection) break;
    }
    return false;
}

void Form1::triviaspelen() {
    const GameState& s = state();
    txtchat1->setFocus();
    cmdchat->setEnabled(true);
    txttriviavraag->setText(s.triviavraag);
    txttriviaposter->setText(s.triviaposter);
    txttriviamask->setText(s.triviamasker1);
    txttriviavraag->show();
    txttriviaposter->show();
    txttriviamask->show();
}
