#include "platform/mysqlhandle.h"

#include <QSqlDriver>
#include <QVariant>
#include <dlfcn.h>
#include <poll.h>

namespace {

// The client library's MYSQL* behind the driver's handle.
void* sessionOf(const QSqlDatabase& db) {
    if (!db.driver()) return nullptr;
    const QVariant handle = db.driver()->handle();
    const QByteArray type = handle.typeName();
    if (type != "MYSQL*" && type != "st_mysql*") return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

// A function of the client library the driver has loaded; nullptr when not found.
void* clientFunction(const char* name) {
    for (const char* library : {"libmariadb.so.3", "libmysqlclient.so.21"}) {
        void* lib = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
        if (!lib) continue;
        void* function = dlsym(lib, name);
        dlclose(lib); // still loaded by the driver
        return function;
    }
    return nullptr;
}

} // namespace

namespace mysqlhandle {

bool singleStatements(const QSqlDatabase& db) {
    using SetServerOption = int (*)(void*, int);
    constexpr int kMultiStatementsOff = 1; // MYSQL_OPTION_MULTI_STATEMENTS_OFF
    void* mysql = sessionOf(db);
    const auto setOption =
        reinterpret_cast<SetServerOption>(clientFunction("mysql_set_server_option"));
    return mysql && setOption && setOption(mysql, kMultiStatementsOff) == 0;
}

bool closedByServer(const QSqlDatabase& db) {
    using GetSocket = int (*)(void*);
    // Looked up once: a session is open, so the driver has loaded the library.
    static const auto getSocket = reinterpret_cast<GetSocket>(clientFunction("mysql_get_socket"));
    void* mysql = sessionOf(db);
    if (!mysql || !getSocket) return false;
    const int fd = getSocket(mysql);
    if (fd < 0) return true;
    // Between statements the server sends nothing, unless it says goodbye.
    pollfd p{fd, POLLIN | POLLPRI, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLPRI | POLLHUP | POLLERR | POLLNVAL));
}

} // namespace mysqlhandle
