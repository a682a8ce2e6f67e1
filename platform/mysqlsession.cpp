#include "platform/mysqlsession.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <climits>
#include <mutex>
#include <mysql.h>
#include <poll.h>

namespace {

constexpr unsigned int kBinaryCharset = 63;

void initLibrary() {
    // Not safe to run on two threads at once, so it runs once before any session.
    static std::once_flag once;
    std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

DbError errorOf(MYSQL* mysql) {
    const unsigned int number = mysql_errno(mysql);
    if (number == 0) return {};
    return {int(number), QString::fromUtf8(mysql_error(mysql))};
}

// A column value in the type its column has, as Qt's SQL classes give it.
QVariant valueOf(const MYSQL_FIELD& field, const char* data, unsigned long length) {
    if (!data) return {};
    const QByteArray bytes(data, qsizetype(length));
    const bool isUnsigned = field.flags & UNSIGNED_FLAG;
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
        return isUnsigned ? QVariant(bytes.toUInt()) : QVariant(bytes.toInt());
    case MYSQL_TYPE_YEAR:
        return bytes.toInt();
    case MYSQL_TYPE_BIT: { // the bits as a number, most significant byte first
        qulonglong bits = 0;
        for (const char c : bytes)
            bits = (bits << 8) | static_cast<unsigned char>(c);
        return bits;
    }
    case MYSQL_TYPE_LONGLONG:
        return isUnsigned ? QVariant(bytes.toULongLong()) : QVariant(bytes.toLongLong());
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return bytes.toDouble();
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return QDate::fromString(QString::fromLatin1(bytes), QStringLiteral("yyyy-MM-dd"));
    // Fractions of a second, where a column has them, are passed over. A time that is
    // no time of day (a duration of 100 hours, a negative one) stays text.
    case MYSQL_TYPE_TIME: {
        const QTime time =
            QTime::fromString(QString::fromLatin1(bytes.left(8)), QStringLiteral("HH:mm:ss"));
        return time.isValid() ? QVariant(time) : QVariant(QString::fromLatin1(bytes));
    }
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return QDateTime::fromString(QString::fromLatin1(bytes.left(19)),
                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        if (field.charsetnr == kBinaryCharset) return bytes;
        // An empty text is a text, not NULL.
        return bytes.isEmpty() ? QStringLiteral("") : QString::fromUtf8(bytes);
    }
}

struct FreeResult {
    void operator()(MYSQL_RES* result) const { mysql_free_result(result); }
};
using Result = std::unique_ptr<MYSQL_RES, FreeResult>;

DbRecordset rowsOf(MYSQL_RES* result) {
    const unsigned int columns = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    QStringList names;
    names.reserve(columns);
    for (unsigned int i = 0; i < columns; ++i)
        names.append(QString::fromUtf8(fields[i].name, fields[i].name_length));
    QList<QVariantList> rows;
    rows.reserve(qsizetype(mysql_num_rows(result)));
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        QVariantList values;
        values.reserve(columns);
        for (unsigned int i = 0; i < columns; ++i)
            values.append(valueOf(fields[i], row[i], lengths[i]));
        rows.append(std::move(values));
    }
    return DbRecordset(std::move(names), std::move(rows));
}

} // namespace

std::unique_ptr<MysqlSession> MysqlSession::open(const DbSettings& s, DbError& error) {
    initLibrary();
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql) {
        error = {2008, QStringLiteral("The client ran out of memory")};
        return {};
    }
    auto session = std::make_unique<MysqlSession>(mysql);
    const unsigned int connectTimeout = unsigned(s.connectTimeout);
    const unsigned int readTimeout = unsigned(s.readTimeout);
    const unsigned int writeTimeout = unsigned(s.writeTimeout);
    const my_bool no = 0;
    const unsigned int off = 0;
    mysql_options(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    mysql_options(mysql, MYSQL_OPT_READ_TIMEOUT, &readTimeout);
    mysql_options(mysql, MYSQL_OPT_WRITE_TIMEOUT, &writeTimeout);
    mysql_options(mysql, MYSQL_OPT_RECONNECT, &no); // a lost session is ours to open again
    mysql_options(mysql, MYSQL_OPT_LOCAL_INFILE, &off);
    // With the handshake: texts outside the Basic Multilingual Plane fit too.
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray host = s.host.toUtf8();
    const QByteArray user = s.user.toUtf8();
    const QByteArray password = s.password.toUtf8();
    const QByteArray database = s.database.toUtf8();
    // No CLIENT_MULTI_STATEMENTS: a text with a second statement is refused as a whole.
    if (!mysql_real_connect(mysql, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), unsigned(s.port),
                            nullptr, 0)) {
        error = errorOf(mysql);
        if (error.Number == 0) error = {2000, QStringLiteral("Unknown database error")};
        return {};
    }
    // A server told to ignore the handshake's character set gives the session its
    // own, and the escaping of texts and the reading of rows would assume the wrong
    // one. Only a server whose own set is another is asked once more, so that the
    // usual one costs nothing.
    const MARIADB_CHARSET_INFO* own = mariadb_get_charset_by_nr(mysql->server_language);
    if ((!own || qstrcmp(own->csname, "utf8mb4") != 0) &&
        mysql_set_character_set(mysql, "utf8mb4") != 0) {
        error = errorOf(mysql);
        return {};
    }
    error = {};
    return session;
}

MysqlSession::~MysqlSession() {
    mysql_close(mysql_);
}

bool MysqlSession::run(const QByteArray& sql, DbRecordset& rows, int& count) {
    rows = {};
    count = 0;
    if (mysql_real_query(mysql_, sql.constData(), static_cast<unsigned long>(sql.size())) != 0)
        return false;
    const Result result(mysql_store_result(mysql_));
    if (!result && mysql_field_count(mysql_) != 0) return false; // the rows did not come
    // Results beyond the first (a procedure's) are read and passed over, so that
    // the session is ready for the next statement.
    while (mysql_more_results(mysql_) && mysql_next_result(mysql_) == 0)
        Result(mysql_store_result(mysql_));
    if (!result) {
        const my_ulonglong changed = mysql_affected_rows(mysql_);
        count = changed == my_ulonglong(-1) ? 0 : int(std::min<my_ulonglong>(changed, INT_MAX));
        return true;
    }
    rows = rowsOf(result.get());
    count = rows.RecordCount();
    return true;
}

QByteArray MysqlSession::literal(const QByteArray& text) const {
    QByteArray out(text.size() * 2 + 3, Qt::Uninitialized);
    out[0] = '\'';
    const unsigned long length = mysql_real_escape_string(mysql_, out.data() + 1, text.constData(),
                                                          static_cast<unsigned long>(text.size()));
    out.resize(qsizetype(length) + 1);
    out.append('\'');
    return out;
}

bool MysqlSession::backslashEscapes() const {
    return !(mysql_->server_status & SERVER_STATUS_NO_BACKSLASH_ESCAPES);
}

bool MysqlSession::closedByServer() const {
    const my_socket fd = mysql_get_socket(mysql_);
    if (fd < 0) return true;
    // Between statements the server sends nothing, unless it says goodbye.
    pollfd p{fd, POLLIN | POLLPRI, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLPRI | POLLHUP | POLLERR | POLLNVAL));
}

DbError MysqlSession::error() const {
    return errorOf(mysql_);
}
