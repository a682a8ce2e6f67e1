#include "game/logo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
void drawFitted(QPainter& painter, const QRectF& area, Qt::Alignment vertical, const QString& text,
                qreal pixelSize, bool bold, const QColor& colour) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > area.width()) font.setPixelSize(qMax(1, int(pixelSize * area.width() / width)));
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignLeft | vertical, text);
}
} // namespace

void paintLogo(QPainter& painter, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal h = rect.height();

    QLinearGradient background(rect.topLeft(), rect.bottomRight());
    background.setColorAt(0, QColor(20, 32, 92));
    background.setColorAt(1, QColor(92, 28, 120));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(rect, h * 0.18, h * 0.18);

    // The record, with a few grooves and a red label.
    const QPointF centre(rect.left() + h * 0.46, rect.center().y());
    const qreal radius = h * 0.38;
    painter.setBrush(QColor(15, 15, 20));
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(70, 70, 80), h * 0.008));
    for (qreal r = radius * 0.45; r < radius * 0.95; r += radius * 0.12)
        painter.drawEllipse(centre, r, r);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 50, 60));
    painter.drawEllipse(centre, radius * 0.3, radius * 0.3);
    painter.setBrush(QColor(240, 240, 240));
    painter.drawEllipse(centre, radius * 0.05, radius * 0.05);

    // An eighth note over the record's edge.
    const QPointF head(centre.x() + radius * 0.75, centre.y() + radius * 0.55);
    painter.setBrush(QColor(255, 200, 40));
    painter.drawEllipse(head, h * 0.07, h * 0.05);
    const qreal stemX = head.x() + h * 0.062;
    painter.setPen(QPen(QColor(255, 200, 40), h * 0.022, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(stemX, head.y()), QPointF(stemX, head.y() - h * 0.42));
    QPainterPath flag(QPointF(stemX, head.y() - h * 0.42));
    flag.cubicTo(QPointF(stemX + h * 0.05, head.y() - h * 0.3),
                 QPointF(stemX + h * 0.16, head.y() - h * 0.3),
                 QPointF(stemX + h * 0.1, head.y() - h * 0.16));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flag);

    // The name and the line under it, each shrunk to the width left.
    const QRectF textArea(rect.left() + h * 0.98, rect.top(), rect.width() - h * 1.08, h);
    drawFitted(painter, textArea.adjusted(0, 0, 0, -h * 0.44), Qt::AlignBottom,
               QStringLiteral("VONDRIX"), h * 0.32, true, Qt::white);
    drawFitted(painter, textArea.adjusted(0, h * 0.6, 0, 0), Qt::AlignTop,
               QStringLiteral("music & trivia quiz"), h * 0.12, false, QColor(255, 200, 40));
    painter.restore();
}

QImage vondrixLogo(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintLogo(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}
