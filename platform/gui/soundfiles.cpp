#include "platform/gui/soundfiles.h"

#include "platform/programfolder.h"

#include <QFile>

bool installSoundFiles() {
    bool ok = true;
    for (const char* name : {"start.wav", "answers.wav"}) {
        const QString target = programFile(QString::fromLatin1(name));
        if (QFile::exists(target)) continue;
        if (!QFile::copy(QStringLiteral(":/sounds/") + QLatin1String(name), target)) {
            ok = false;
            continue;
        }
        // Copies from the resources are read-only.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return ok;
}
