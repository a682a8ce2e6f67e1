// LoadM3U on a playlist of fuzzed bytes.
#include "common/playlist.h"
#include "fuzzinput.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzApplication();
    setDialogHandlers({[](const MessageRequest&) { return vbOK; }, {}});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("list.m3u"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    QStringList paths{QStringLiteral("kept")};
    QStringList names{QStringLiteral("kept")};
    if (LoadM3U(path, paths, names)) {
        FUZZ_CHECK(paths.size() == names.size());
    } else {
        FUZZ_CHECK(paths == QStringList{QStringLiteral("kept")});
        FUZZ_CHECK(names == QStringList{QStringLiteral("kept")});
    }
    return 0;
}
