#include "platform/gui/shell.h"

#include <QDesktopServices>
#include <QUrl>

void shellopen(const QString& operation, const QString& file, const QString&, const QString&,
               qint32) {
    if (operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) return;
    const QUrl url = QUrl::fromUserInput(file);
    if (url.isValid()) QDesktopServices::openUrl(url); // a failure is ignored
}
