#include "lobby/vondrixlogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap vondrixlogo() {
    const QSize size(320, 96);
    QPixmap logo(size);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    // Badge.
    QLinearGradient blue(0, 0, 0, size.height());
    blue.setColorAt(0, QColor(40, 90, 190));
    blue.setColorAt(1, QColor(15, 40, 110));
    p.setPen(QPen(QColor(10, 25, 70), 2));
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 16, 16);

    // The four answer colours as a round button, with the V on top.
    const QRectF disc(14, 12, 72, 72);
    const QColor answers[4] = {QColor(30, 110, 230), QColor(255, 140, 0), QColor(40, 170, 60),
                               QColor(250, 210, 0)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(answers[i]);
        p.drawPie(disc, 90 * 16 - i * 90 * 16, -90 * 16);
    }
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc);
    QPainterPath v;
    v.moveTo(disc.left() + 18, disc.top() + 18);
    v.lineTo(disc.center().x(), disc.bottom() - 14);
    v.lineTo(disc.right() - 18, disc.top() + 18);
    p.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(v);

    // Name.
    QFont name(QStringLiteral("Sans Serif"));
    name.setPixelSize(38);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRectF(100, 10, 210, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vondrix"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(18);
    sub.setItalic(true);
    p.setFont(sub);
    p.setPen(QColor(250, 210, 0));
    p.drawText(QRectF(102, 56, 210, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("online quiz"));
    return logo;
}
