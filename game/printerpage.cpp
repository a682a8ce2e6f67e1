#include "game/printerpage.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

PrinterPage::PrinterPage(QPrinter& printer) : printer_(printer) {
    painter_.begin(&printer_);
    font_.setStyleHint(QFont::TypeWriter);
}

void PrinterPage::setFontName(const QString& family) {
    font_.setFamily(family);
}

void PrinterPage::setFontSize(int points) {
    font_.setPointSize(points);
}

void PrinterPage::setFontBold(bool bold) {
    font_.setBold(bold);
}

void PrinterPage::Print(const QString& text) {
    const QFontMetricsF metrics(font_, &printer_);
    if (!text.isEmpty()) {
        painter_.setFont(font_);
        painter_.setPen(Qt::black);
        painter_.drawText(QPointF(toDevice(CurrentX), toDevice(CurrentY) + metrics.ascent()), text);
    }
    CurrentX = 0;
    CurrentY += toTwips(metrics.lineSpacing());
}

void PrinterPage::PaintPicture(const QImage& picture, double x, double y, double width,
                               double height) {
    const QRectF target(toDevice(x), toDevice(y), toDevice(width), toDevice(height));
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.drawImage(target, picture);
}

void PrinterPage::PrintImage(const QImage& p, std::optional<double> X, std::optional<double> y,
                             double resize) {
    const double dpiX = p.dotsPerMeterX() > 0 ? p.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = p.dotsPerMeterY() > 0 ? p.dotsPerMeterY() * 0.0254 : 96.0;
    const double width = p.width() * kTwipsPerInch / dpiX * resize;
    const double height = p.height() * kTwipsPerInch / dpiY * resize;
    PaintPicture(p, X.value_or(CurrentX), y.value_or(CurrentY), width, height);
}

bool PrinterPage::EndDoc() {
    return painter_.end();
}

double PrinterPage::toDevice(double twips) const {
    return twips * printer_.resolution() / kTwipsPerInch;
}

double PrinterPage::toTwips(double device) const {
    return device * kTwipsPerInch / printer_.resolution();
}
