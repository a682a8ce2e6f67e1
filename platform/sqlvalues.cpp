#include "platform/sqlvalues.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>

namespace {

// A value that stands for NULL: none, or a null text, byte array, date or time.
bool isNullValue(const QVariant& value) {
    if (value.isNull()) return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return value.toDate().isNull();
    case QMetaType::QTime:
        return value.toTime().isNull();
    case QMetaType::QDateTime:
        return value.toDateTime().isNull();
    default:
        return false;
    }
}

QByteArray literalOf(const QVariant& value,
                     const std::function<QByteArray(const QByteArray&)>& literal) {
    if (isNullValue(value)) return QByteArrayLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d)) return QByteArrayLiteral("NULL");
        // With an exponent the server reads a DOUBLE, as it does a bound double.
        QByteArray digits = QByteArray::number(d, 'g', 17);
        if (!digits.contains('e')) digits += "e0";
        return digits;
    }
    case QMetaType::QByteArray:
        return "X'" + value.toByteArray().toHex() + '\'';
    case QMetaType::QDate:
        return literal(value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8());
    case QMetaType::QTime:
        return literal(value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")).toUtf8());
    case QMetaType::QDateTime:
        return literal(
            value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8());
    default:
        return literal(value.toString().toUtf8());
    }
}

// Where the quoted text, backquoted name or comment that starts at from ends (one
// past it); from itself when none starts there. A comment "/*!...*/" or "/*M!...*/"
// holds SQL that the server runs: it is read as the rest is.
qsizetype skipQuoted(const QByteArray& sql, qsizetype from, bool backslashEscapes) {
    const qsizetype n = sql.size();
    const char c = sql.at(from);
    const char next = from + 1 < n ? sql.at(from + 1) : '\0';
    if (c == '\'' || c == '"' || c == '`') {
        qsizetype i = from + 1;
        while (i < n) {
            const char d = sql.at(i++);
            if (d == '\\' && c != '`' && backslashEscapes) {
                ++i;
            } else if (d == c) {
                if (i < n && sql.at(i) == c) {
                    ++i; // a doubled quote stands for itself
                } else {
                    return i;
                }
            }
        }
        return n;
    }
    const bool lineComment =
        c == '#' || (c == '-' && next == '-' &&
                     (from + 2 >= n || static_cast<unsigned char>(sql.at(from + 2)) <= ' '));
    if (lineComment) {
        const qsizetype end = sql.indexOf('\n', from);
        return end < 0 ? n : end + 1;
    }
    const bool runs = sql.mid(from + 2, 1) == "!" || sql.mid(from + 2, 2) == "M!";
    if (c == '/' && next == '*' && !runs) {
        const qsizetype end = sql.indexOf("*/", from + 2);
        return end < 0 ? n : end + 2;
    }
    return from;
}

} // namespace

std::optional<QByteArray> bindValues(const QByteArray& sql, const QVariantList& values,
                                     const std::function<QByteArray(const QByteArray&)>& literal,
                                     bool backslashEscapes) {
    QByteArray out;
    out.reserve(sql.size() + 16 * values.size());
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < sql.size()) {
        const qsizetype skipped = skipQuoted(sql, i, backslashEscapes);
        if (skipped > i) {
            out.append(sql.constData() + i, skipped - i);
            i = skipped;
        } else if (sql.at(i) == '?') {
            if (used == values.size()) return std::nullopt;
            out += literalOf(values.at(used++), literal);
            ++i;
        } else {
            out += sql.at(i++);
        }
    }
    if (used != values.size()) return std::nullopt;
    return out;
}
