#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty()) return overrideFolder();
    const QString env = qEnvironmentVariable("VONDRIX_HOME");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) {
    overrideFolder() = QDir::cleanPath(folder);
}

QString programFile(const QString& name) {
    QString n = name;
    while (n.startsWith(u'\\') || n.startsWith(u'/'))
        n.remove(0, 1);
    return programFolder() + u'/' + n;
}
