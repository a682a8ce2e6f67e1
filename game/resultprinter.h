#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class QPrinter;

// What the results printout shows.
struct ResultRow {
    int number = 0; // the row number on the results window, 1..5
    QString name;
    QString score;
};

struct ResultSheet {
    QString pad;    // playlist path
    QString tijd;   // seconds per question
    QString vragen; // number of questions
    QList<ResultRow> rows;
    QDateTime moment; // printed as the date and time
};

// Prints the sheet on printer; false when the printer did not take it.
bool printResults(QPrinter& printer, const ResultSheet& sheet);

struct PrintOutcome {
    bool printed = false;
    bool noPrinter = false; // no printer installed: pdfFile is a new file in the program folder
    QString pdfFile;        // the PDF written instead, "" when printed on a printer
};

// Prints the sheet on the default printer. With no printer installed it goes
// into a new PDF in the program folder; with a results file set, into that file.
PrintOutcome printResults(const ResultSheet& sheet);

// Sends printouts into this PDF file instead ("" = back to the printer).
void setResultsPdfFile(const QString& path);

// A new file name in the program folder for a printout made at moment.
QString newResultsPdfPath(const QDateTime& moment);

// The player row of the printout: row number, name padded to 15 and the score.
QString resultRowLine(const ResultRow& row);
