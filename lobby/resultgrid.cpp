#include "lobby/resultgrid.h"

#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTableWidget>
#include <exception>
#include <new>

namespace resultgrid {

void setSize(QTableWidget* grid, int rows, int columns) {
    grid->setRowCount(qMax(0, rows - 1));
    grid->setColumnCount(columns);
}

int rows(const QTableWidget* grid) {
    return grid->columnCount() == 0 && grid->rowCount() == 0 ? 0 : grid->rowCount() + 1;
}

int columns(const QTableWidget* grid) {
    return grid->columnCount();
}

QString text(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item =
        row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
    return item ? item->text() : QString();
}

void setText(QTableWidget* grid, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (row == 0)
        grid->setHorizontalHeaderItem(column, item);
    else
        grid->setItem(row - 1, column, item);
}

int columnWidth(const QTableWidget* grid, int column) {
    return grid->columnWidth(column) * kTwipsPerPixel;
}

void setColumnWidth(QTableWidget* grid, int column, int twips) {
    grid->setColumnWidth(column, (twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

int textWidth(const QTableWidget* grid, int row, const QString& text) {
    const QFontMetrics metrics =
        row == 0 ? grid->horizontalHeader()->fontMetrics() : grid->fontMetrics();
    return metrics.horizontalAdvance(text) * kTwipsPerPixel;
}

} // namespace resultgrid

namespace {
const QString kNull = QStringLiteral("<-NULL->");
constexpr int kFixedColumnTwips = 180;
} // namespace

GridFillResult fillGrid(QTableWidget* table, const QString& sql, const GridFillOptions& options) {
    using namespace resultgrid;
    GridFillResult result;
    QPointer<QTableWidget> grid(table);
    setSize(grid, 0, 0);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->viewport()->update();

    const QString text = QString(sql).replace(u'\n', u' ').replace(u'\r', u' ').trimmed();
    if (text.isEmpty()) {
        result.emptyQuery = true;
        return result;
    }

    DbRecordset rs; // this fill's own rows
    quint32 start = 0;
    for (const QString& statement : text.split(u';')) {
        if (statement.trimmed().isEmpty()) continue;
        QCoreApplication::processEvents();
        start = timeGetTime();
        rs = gMyConn().Execute(statement, result.affected);
        if (gMyConn().Error().Number != 0) {
            result.failed = true;
            break;
        }
    }
    result.seconds = (timeGetTime() - start) / 1000.0;
    result.rowCount = rs.RecordCount();
    if (!grid || rs.RecordCount() < 1) return result;

    const int count = rs.RecordCount();
    const int fields = rs.FieldCount();
    const QStringList column3 =
        options.column3 && fields >= 3 ? options.column3(rs) : QStringList();
    rs.MoveFirst();

    grid->setUpdatesEnabled(false);
    setSize(grid, count + 1, fields + 1);
    setText(grid, 0, 0, QString());
    setColumnWidth(grid, 0, kFixedColumnTwips);
    for (int k = 0; k < fields; ++k) {
        const QString name = rs.Fields(k).Name;
        setText(grid, 0, k + 1, name);
        setColumnWidth(grid, k + 1, textWidth(grid, 0, name) + 500);
    }
    int row = 0;
    while (!rs.Eof()) {
        if (row % 50 == 0) {
            QCoreApplication::processEvents();
            if (!grid) return result;
        }
        ++row;
        if (row % 9 == 0 && options.progress) options.progress(row, count);
        for (int c = 1; c <= fields; ++c) {
            QString cell;
            if (c == 3 && options.column3) {
                cell = column3.value(row - 1);
            } else {
                const DbField field = rs.Fields(c - 1);
                cell = field.Value.isNull() ? kNull : field.Text();
            }
            setText(grid, row, c, cell);
            const int width = textWidth(grid, row, cell) + 125;
            if (width > columnWidth(grid, c)) setColumnWidth(grid, c, width);
        }
        rs.MoveNext();
    }
    grid->setUpdatesEnabled(true);
    return result;
}

void FillQueue::run(const QString& key, std::function<void()> fill) {
    if (busy_) {
        waiting_.removeIf([&](const auto& entry) { return entry.first == key; });
        waiting_.append({key, std::move(fill)});
        return;
    }
    busy_ = true;
    fill();
    while (!waiting_.isEmpty()) {
        auto next = waiting_.takeFirst();
        next.second();
    }
    busy_ = false;
}

void runGuarded(const std::function<void()>& fill) {
    int number = 0;
    QString description;
    try {
        fill();
        return;
    } catch (const std::bad_alloc&) {
        number = 7;
        description = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        number = 51;
        description = QString::fromLocal8Bit(e.what());
    }
    muisnormaal();
    MsgBox(QStringLiteral("Error ") + QString::number(number) + QStringLiteral(": (") +
               description + QStringLiteral(")"),
           MsgIcon::Critical);
}
