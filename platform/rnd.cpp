#include "platform/rnd.h"

#include <QRandomGenerator>
#include <chrono>

namespace {
QRandomGenerator& generator() {
    static QRandomGenerator g(1);
    return g;
}

RndSource& source() {
    static RndSource s;
    return s;
}
} // namespace

double Rnd() {
    return source() ? source()() : generator().generateDouble();
}

void Randomize() {
    // Mixed into the current state, so two reseeds within one clock step still differ.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    const quint64 mixed = generator().generate64() ^ quint64(ns);
    generator().seed(quint32(mixed ^ (mixed >> 32)));
}

void setRndSource(RndSource s) {
    source() = std::move(s);
}
