// The "Expand db" tab: posting a trivia question for review.
#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// A text as it reads inside the shown statement: between apostrophes, a
// backslash doubled and an apostrophe preceded by a backslash.
QString quoted(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

void frmmulti::aantalantwoordentonen() {
    const int aantal = Combo1->currentText().toInt();
    for (int i = 0; i < 12; ++i)
        txtpostanswers[i]->setVisible(i < aantal);
}

void frmmulti::Combo1_Change() {
    aantalantwoordentonen();
}

void frmmulti::Combo1_Click() {
    aantalantwoordentonen();
}

void frmmulti::cmdPostQuestion_Click() {
    const QString question = txtpostquestion->text();
    if (question.isEmpty()) return;
    const QString& poster = state().gebruikersnaam;
    const int aantal = Combo1->currentText().toInt();

    QString columns;
    QString marks;
    QString shownAnswers;
    QVariantList values{question, aantal, poster};
    for (int i = 0; i < aantal; ++i) {
        const QString answer = txtpostanswers[i]->text();
        if (answer.isEmpty()) {
            MsgBox(QStringLiteral("fill in all answer fiels you have selected"));
            return;
        }
        columns += QStringLiteral(",answ") + QString::number(i + 1);
        marks += QStringLiteral(",?");
        if (i > 0) shownAnswers += QLatin1Char(',');
        shownAnswers += quoted(answer);
        values << answer;
    }
    const QString head = QStringLiteral("INSERT INTO vdrx_triviaposts (question,aantal,poster") +
                         columns + QStringLiteral(",fastest) ");
    MsgBox(head + QStringLiteral("VALUES(") + quoted(question) + QLatin1Char(',') +
           Combo1->currentText() + QLatin1Char(',') + quoted(poster) + QLatin1Char(',') +
           shownAnswers + QStringLiteral(",'nobody');"));
    gMyConn().Execute(head + QStringLiteral("VALUES(?,?,?") + marks + QStringLiteral(",'nobody');"),
                      values);
    if (gMyConn().Error().Number != 0) {
        CheckChange(QStringLiteral("Your question")); // every text stays as typed
        return;
    }
    MsgBox(QStringLiteral("Thank you!\r\n\r\nA new question by ") + poster +
           QStringLiteral(" was added to the list to be checked,\r\nyou will be informed by a "
                          "system message"));

    txtpostquestion->clear();
    txtpostanswers[0]->clear();
    Combo1->setCurrentText(QStringLiteral("1"));
    for (int i = 1; i < 12; ++i) {
        txtpostanswers[i]->hide();
        txtpostanswers[i]->clear();
    }
    txtpostquestion->setFocus();
}
