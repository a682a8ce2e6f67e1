// bindValues with fuzzed values in the program's kind of statements: whatever a value
// holds, it stays inside a literal of its own, so the statement the server reads is
// the program's with one literal for each "?".
// Input: a byte that picks the statement, then the values (NUL-separated).
#include "fuzzinput.h"
#include "platform/sqlvalues.h"

#include <QVariantList>

namespace {

const char* const kStatements[] = {
    "INSERT INTO vdrx_messages (van,naar,bericht,servertime) VALUES(?,'all',?,now());",
    "select * from phpbb_users where username = ? and user_password = md5(?)",
    "SELECT `?`, '?', \"it's ?\", 'a\\'?' FROM t WHERE a = ? AND b LIKE '%?%' AND c = ?",
    "update vdrx_servers set curPlayers = ? where ipaddress = ? and ipport = ?",
    "SELECT /*!50000 ? */, a FROM t WHERE b = ?",
};

// The server's escaping of a text in a string literal.
QByteArray literal(const QByteArray& text) {
    QByteArray out("'");
    for (const char c : text) {
        switch (c) {
        case '\0':
            out += "\\0";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\x1a':
            out += "\\Z";
            break;
        case '\\':
        case '\'':
        case '"':
            out += '\\';
            out += c;
            break;
        default:
            out += c;
        }
    }
    return out + '\'';
}

// The statement as the server tokenizes it, with every quoted text or name as "L"
// and every mark as "?".
QByteArray shape(const QByteArray& sql) {
    QByteArray out;
    for (qsizetype i = 0; i < sql.size();) {
        const char c = sql.at(i++);
        if (c != '\'' && c != '"' && c != '`') {
            out += c;
            continue;
        }
        while (i < sql.size()) {
            const char d = sql.at(i++);
            if (d == '\\' && c != '`') {
                ++i;
            } else if (d == c) {
                if (i < sql.size() && sql.at(i) == c) {
                    ++i;
                } else {
                    break;
                }
            }
        }
        out += 'L';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QByteArray sql = kStatements[in.byte() % std::size(kStatements)];
    QVariantList values;
    while (!in.empty())
        values << QString::fromUtf8(in.field());
    const std::optional<QByteArray> bound = bindValues(sql, values, literal);
    const QByteArray expected = shape(sql);
    FUZZ_CHECK(bound.has_value() == (expected.count('?') == values.size()));
    if (bound) FUZZ_CHECK(shape(*bound) == QByteArray(expected).replace('?', 'L'));
    return 0;
}
