#include "lobby/centraldb.h"

#include "platform/dialogs.h"

namespace {

const QString kDefaultHost = QStringLiteral("db.vondrix.net");
constexpr int kDefaultPort = 3306;
const QString kDatabase = QStringLiteral("vondrix_mijnPHP");
const QString kLobbyUser = QStringLiteral("vondrix_mpclien");
const QString kLobbyPassword = QStringLiteral("GRINTALvoskemb");
const QString kTestUser = QStringLiteral("vondrix_test");
const QString kTestPassword = QStringLiteral("wembik");

} // namespace

DbConnection& gMyConn() {
    // Deliberately never destroyed: it must outlive every window and timer, and a
    // statement made while the program ends still finds it.
    static DbConnection* const connection = new DbConnection;
    return *connection;
}

DbRecordset& myRS() {
    static DbRecordset rs;
    return rs;
}

DbRecordset& myrslogin() {
    static DbRecordset rs;
    return rs;
}

DbRecordset& myrsreclame() {
    static DbRecordset rs;
    return rs;
}

QString centralHost() {
    const QString host = qEnvironmentVariable("VONDRIX_DB_HOST").trimmed();
    return host.isEmpty() ? kDefaultHost : host;
}

int centralPort() {
    bool ok = false;
    const int port = qEnvironmentVariable("VONDRIX_DB_PORT").trimmed().toInt(&ok);
    return ok && port > 0 && port < 65536 ? port : kDefaultPort;
}

int openCentral() {
    return openLobbyAccount(gMyConn());
}

int openLobbyAccount(DbConnection& connection) {
    return connection.OpenConnection(centralHost(), kLobbyUser, kLobbyPassword, kDatabase,
                                     centralPort(), 0);
}

void CheckError() {
    const DbError error = gMyConn().Error();
    if (error.Number == 0) return;
    MsgBox(QStringLiteral("Error ") + QString::number(error.Number) + QStringLiteral(": ") +
           error.Description);
}

void CheckChange(const QString& what) {
    const DbError error = gMyConn().Error();
    if (!error.maybeStored) {
        CheckError();
        return;
    }
    MsgBox(what +
           QStringLiteral(" may have arrived: the connection was lost before the server "
                          "confirmed it, so sending it again may store it twice.\r\n\r\n"
                          "Error ") +
           QString::number(error.Number) + QStringLiteral(": ") + error.Description);
}

void closerecordset() {
    myrslogin().CloseRecordset();
    myrslogin() = DbRecordset();
}

QString testconnect() {
    gMyConn().OpenConnection(centralHost(), kTestUser, kTestPassword, kDatabase, centralPort(), 0);
    if (gMyConn().State() != DbConnection::kNotConnected) return QStringLiteral("Connected");
    CheckError();
    return {};
}

void createServersTable() {
    gMyConn().Execute(QStringLiteral("DROP TABLE IF EXISTS vdrx_servers"));
    CheckError();
    gMyConn().Execute(
        QStringLiteral("CREATE TABLE vdrx_servers (") +
        QStringLiteral("serverID INT UNSIGNED AUTO_INCREMENT NOT NULL PRIMARY KEY, ") +
        QStringLiteral("IPaddress CHAR(20) NOT NULL,") +
        QStringLiteral("IPport CHAR(20) NOT NULL,") + QStringLiteral("IPping CHAR(20) NOT NULL,") +
        QStringLiteral("user CHAR(25) NOT NULL,") +
        QStringLiteral("description CHAR(40) NOT NULL,") +
        QStringLiteral("curPlayers CHAR(2) NOT NULL,") +
        QStringLiteral("maxPlayers CHAR(2) NOT NULL,") +
        QStringLiteral("version CHAR(20) NOT NULL,") + QStringLiteral("starttime CHAR(20) ,") +
        QStringLiteral("serverpassword CHAR(20) ,") + QStringLiteral("active CHAR(1) ,") +
        QStringLiteral("startdate CHAR(20))"));
    CheckError();
    CheckError();
}
