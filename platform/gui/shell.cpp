#include "platform/gui/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
ShellOpenSink& sink() {
    static ShellOpenSink current;
    return current;
}
} // namespace

void setShellOpenSink(ShellOpenSink s) {
    sink() = std::move(s);
}

void shellopen(const QString& operation, const QString& file, const QString&, const QString&,
               qint32) {
    if (sink()) {
        sink()(operation, file);
        return;
    }
    if (operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) return;
    const QUrl url = QUrl::fromUserInput(file);
    if (url.isValid()) QDesktopServices::openUrl(url); // a failure is ignored
}
