#pragma once

#include <QFont>
#include <QPainter>
#include <optional>

class QImage;
class QPrinter;

// One document on a printer, addressed like the classic Printer object:
// positions in twips from the top left of the printable area, and text printed
// line by line from the current position.
class PrinterPage {
public:
    // Starts the document; isActive() tells whether the printer accepted it.
    explicit PrinterPage(QPrinter& printer);
    PrinterPage(const PrinterPage&) = delete;
    PrinterPage& operator=(const PrinterPage&) = delete;

    bool isActive() const { return painter_.isActive(); }

    void setFontName(const QString& family);
    void setFontSize(int points);
    void setFontBold(bool bold);

    // Prints text at the current position, then moves to the start of the next line.
    void Print(const QString& text = {});
    // Paints picture scaled into the rectangle x, y, width, height.
    void PaintPicture(const QImage& picture, double x, double y, double width, double height);
    // Paints picture p at X, y (the current position where missing) at its own
    // size multiplied by resize.
    void PrintImage(const QImage& p, std::optional<double> X = {}, std::optional<double> y = {},
                    double resize = 1);
    // Ends the document, sending it to the printer; false when that failed.
    bool EndDoc();

    double CurrentX = 0;
    double CurrentY = 0;

private:
    double toDevice(double twips) const;
    double toTwips(double device) const;

    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
};
