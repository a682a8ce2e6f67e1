#include "lobby/frmmulti.h"
#include "platform/gui/soundfiles.h"
#include "platform/gui/widgetdialogs.h"
#include "platform/gui/xbackingstore.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    preferPlainXImages();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vondrix"));
    installWidgetDialogs();
    installSoundFiles();
    frmmulti::instance().show();
    const int rc = QApplication::exec();
    frmmulti::unload();
    return rc;
}
