#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

class DbRecordset;
class QTableWidget;

// A result grid numbered the way the lists number it: row 0 is the header row,
// column 0 the fixed empty column; column widths in twips (15 to a pixel).
namespace resultgrid {

constexpr int kTwipsPerPixel = 15;

// rows counts the header row; 0 rows and 0 columns empty the grid.
void setSize(QTableWidget* grid, int rows, int columns);
int rows(const QTableWidget* grid);
int columns(const QTableWidget* grid);
QString text(const QTableWidget* grid, int row, int column);
// Left-aligned plain text.
void setText(QTableWidget* grid, int row, int column, const QString& text);
int columnWidth(const QTableWidget* grid, int column);
void setColumnWidth(QTableWidget* grid, int column, int twips);
// Width of text in row's font (the header's for row 0), in twips.
int textWidth(const QTableWidget* grid, int row, const QString& text);

} // namespace resultgrid

struct GridFillOptions {
    // The texts of grid column 3, one per result row, in place of the stored values.
    std::function<QStringList(DbRecordset& rows)> column3;
    // Called after every 9th row with the row number and the row count.
    std::function<void(int row, int count)> progress;
};

struct GridFillResult {
    bool emptyQuery = false;
    bool failed = false; // a statement failed; the ones after it did not run
    int rowCount = 0;    // rows of the last result
    int affected = 0;    // what the last statement returned or changed
    double seconds = 0;  // how long the last statement took
};

// Runs the statements of sql (split at ";", line breaks taken as blanks) one after
// the other on the central connection, pending events let run before each, and fills
// the grid with the last result: the column names as header row, "<-NULL->" for a
// NULL, each column as wide as its widest text. Pending events run before every
// 50th row; the grid is not redrawn until it is full.
GridFillResult fillGrid(QTableWidget* grid, const QString& sql,
                        const GridFillOptions& options = {});

// Lets one fill run at a time. A fill asked for while another runs (from the events
// that one lets run) waits until it has ended; of waiting fills with the same key
// only the last one asked for runs.
class FillQueue {
public:
    void run(const QString& key, std::function<void()> fill);
    bool busy() const { return busy_; }

private:
    bool busy_ = false;
    QList<std::pair<QString, std::function<void()>>> waiting_;
};

// Runs fill; a runtime error inside it restores the pointer and shows the critical
// message box "Error <number>: (<description>)".
void runGuarded(const std::function<void()>& fill);
