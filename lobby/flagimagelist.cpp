#include "lobby/flagimagelist.h"

// The resource is built into the static library; nothing else refers to it.
static void initFlagResource() {
    Q_INIT_RESOURCE(flags);
}

FlagImageList::FlagImageList() {
    initFlagResource();
    for (int k = 1; k <= kCount; ++k)
        pictures_[k - 1] = QPixmap(QStringLiteral(":/flags/%1").arg(k - 1));
}

const QPixmap& FlagImageList::picture(int k) const {
    static const QPixmap none;
    if (k < 1 || k > kCount) return none;
    return pictures_[k - 1];
}
