#include "game/answerwatch.h"

#include <QTimer>

AnswerWatch::AnswerWatch(QTimer* timer)
    : QObject(timer), timer_(timer), lookMs_(timer->interval()) {
    connect(timer_, &QTimer::timeout, this, &AnswerWatch::tick);
}

void AnswerWatch::start() {
    timer_->start(lookMs_);
}

void AnswerWatch::poke() {
    if (!timer_->isActive()) return;
    if (timer_->remainingTime() > lookMs_) timer_->start(lookMs_);
}

void AnswerWatch::tick() {
    if (timer_->interval() != kRestMs) timer_->setInterval(kRestMs);
}
