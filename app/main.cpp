#include "lobby/frmmulti.h"
#include "platform/gui/programend.h"
#include "platform/gui/soundfiles.h"
#include "platform/gui/widgetdialogs.h"
#include "platform/gui/xbackingstore.h"

#include <QApplication>

namespace {
int run(int argc, char* argv[]) {
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
} // namespace

int main(int argc, char* argv[]) {
    return endProgram(run(argc, argv));
}
