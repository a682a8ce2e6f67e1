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

void resetState() { state() = GameState{}; }
