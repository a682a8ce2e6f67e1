#include "platform/gui/xbackingstore.h"

#include <QByteArray>

void preferPlainXImages() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
}
