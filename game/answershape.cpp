#include "game/answershape.h"

#include <QPainter>

AnswerShape::AnswerShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AnswerShape::setBorderColor(qint32 colour) {
    if (borderColor_ == colour) return;
    borderColor_ = colour;
    update();
}

void AnswerShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    constexpr qreal kWidth = 5;
    painter.setPen(QPen(vbColor(borderColor_), kWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(
        QRectF(rect()).adjusted(kWidth / 2, kWidth / 2, -kWidth / 2, -kWidth / 2), 10, 10);
}

QColor vbColor(qint32 colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

qint32 answerColour(qint32 antwoord) {
    switch (antwoord) {
    case 1:
        return kColourBlue;
    case 2:
        return kColourOrange;
    case 3:
        return kColourGreen;
    case 4:
        return kColourYellow;
    default:
        return kColourBlack;
    }
}
