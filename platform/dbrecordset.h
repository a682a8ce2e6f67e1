#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>

// One column of the current row.
struct DbField {
    QVariant Value; // a null QVariant for SQL NULL (and past the last row)
    QString Name;   // column name or alias

    // The value as text the way the server writes it: dates as "yyyy-MM-dd HH:mm:ss",
    // NULL as "".
    QString Text() const;
};

// The rows of one query, held in memory, with a current-row cursor.
// A default-constructed recordset is "nothing": no rows, no columns, at its end.
// Copies refer to the same rows and cursor, like object variables.
class DbRecordset {
public:
    DbRecordset() = default;
    DbRecordset(QStringList names, QList<QVariantList> rows);

    bool isNothing() const { return !data_; }

    int RecordCount() const;
    int FieldCount() const;
    // Out of range, unknown name or no current row: a field with a null Value.
    DbField Fields(int index) const;
    DbField Fields(const QString& name) const; // name compared without regard to case
    // EOF is a macro of the C library, hence the spelling.
    bool Eof() const;
    void MoveFirst();
    void MoveNext();
    // Releases the rows for every copy; afterwards the recordset has no rows.
    void CloseRecordset();

private:
    struct Data {
        QStringList names;
        QList<QVariantList> rows;
        int position = 0;
    };
    std::shared_ptr<Data> data_;
};
