#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The central test database that scripts/test.sh starts. Suites that need it
// begin their test functions with VDX_REQUIRE_CENTRAL_DB(): without the
// database the test is skipped, and the built-in central host is never contacted.
bool centralDbAvailable();
#define VDX_REQUIRE_CENTRAL_DB()                                                                   \
    do {                                                                                           \
        if (!centralDbAvailable())                                                                 \
            QSKIP("VONDRIX_DB_HOST / VONDRIX_DB_ADMIN_SOCKET not set: run the tests through "      \
                  "scripts/test.sh, which starts the test database");                              \
    } while (false)

// Administrator access (root, through VONDRIX_DB_ADMIN_SOCKET) for preparing and
// checking rows, with every privilege the program's own account lacks.
class AdminDb {
public:
    explicit AdminDb(const QString& database = QStringLiteral("vondrix_mijnPHP"));
    ~AdminDb();
    AdminDb(const AdminDb&) = delete;
    AdminDb& operator=(const AdminDb&) = delete;

    bool isOpen() const;
    QString lastError() const { return lastError_; }
    // Runs one statement with "?" values; false (and lastError) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});
    // The rows of a query; empty on failure.
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {});
    // Column 0 of row 0 of a query; a null QVariant when there is none.
    QVariant value(const QString& sql, const QVariantList& values = {});

private:
    QString name_;
    QString lastError_;
};
