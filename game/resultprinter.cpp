#include "game/resultprinter.h"

#include "common/siteaddress.h"
#include "game/logo.h"
#include "game/printerpage.h"
#include "platform/programfolder.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QString& resultsPdfFile() {
    static QString path;
    return path;
}

const QString kIndent(10, QLatin1Char(' '));
} // namespace

QString resultRowLine(const ResultRow& row) {
    const qsizetype pad = qMax<qsizetype>(1, 15 - row.name.size());
    return kIndent + QStringLiteral("PLAYER %1: ").arg(row.number) + row.name +
           QString(pad, QLatin1Char(' ')) + QStringLiteral("SCORE: ") + row.score;
}

bool printResults(QPrinter& printer, const ResultSheet& sheet) {
    PrinterPage page(printer);
    if (!page.isActive()) return false;

    page.setFontSize(12);
    page.setFontBold(true);
    page.setFontName(QStringLiteral("Courier New"));
    page.setFontSize(10);
    page.Print(QString(30, QLatin1Char(' ')));

    page.setFontBold(false);
    page.setFontSize(10);
    for (int i = 0; i < 4; ++i)
        page.Print();

    page.PaintPicture(vondrixLogo(), 300, 300, 1100, 500);

    const QLocale locale = QLocale::system();
    page.Print(kIndent + locale.toString(sheet.moment.date(), QLocale::ShortFormat));
    page.Print(kIndent + locale.toString(sheet.moment.time(), QLocale::ShortFormat));
    page.Print();
    page.Print(kIndent + QStringLiteral("m3u file: ") + sheet.pad);
    page.Print(kIndent + QStringLiteral("time to answer: ") + sheet.tijd +
               QStringLiteral("seconds"));
    page.Print(kIndent + QStringLiteral("number of questions: ") + sheet.vragen);
    page.Print();

    for (const ResultRow& row : sheet.rows)
        page.Print(resultRowLine(row));
    page.Print();

    page.setFontBold(true);
    page.setFontSize(8);
    page.Print(QString(17, QLatin1Char(' ')) + siteHost());

    return page.EndDoc();
}

PrintOutcome printResults(const ResultSheet& sheet) {
    PrintOutcome outcome;
    QPrinter printer(QPrinter::HighResolution);
    outcome.pdfFile = resultsPdfFile();
    if (outcome.pdfFile.isEmpty() && QPrinterInfo::defaultPrinter().isNull()) {
        outcome.noPrinter = true;
        outcome.pdfFile = newResultsPdfPath(sheet.moment);
    }
    if (!outcome.pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outcome.pdfFile);
    }
    printer.setDocName(QStringLiteral("Results"));
    outcome.printed = printResults(printer, sheet);
    return outcome;
}

void setResultsPdfFile(const QString& path) {
    resultsPdfFile() = path;
}

QString newResultsPdfPath(const QDateTime& moment) {
    const QString stem =
        QStringLiteral("results-") + moment.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = programFile(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = programFile(stem + QStringLiteral("-%1.pdf").arg(n));
    return path;
}
