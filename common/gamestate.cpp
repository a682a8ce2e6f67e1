#include "common/gamestate.h"

const QString& Speler::knop(int n) const {
    switch (n) {
    case 1: return knop1;
    case 2: return knop2;
    case 3: return knop3;
    default: return knop4;
    }
}

QString& Speler::knop(int n) {
    return const_cast<QString&>(static_cast<const Speler*>(this)->knop(n));
}

GameState& state() {
    static GameState s;
    return s;
}

void clearQuestionState(GameState& s) {
    for (Speler& speler : s.spelers) {
        speler.antwoord = 0;
        speler.antwoordtijd = 0;
        speler.huidigescore = 0;
        for (int k = 1; k <= 15; ++k) {
            speler.tijden[k] = 0;
            speler.gevonden[k] = QStringLiteral("0");
        }
    }
}

void resetState() { state() = GameState{}; }
