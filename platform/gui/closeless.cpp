#include "platform/gui/closeless.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {
const char* const kAllowClose = "vdxAllowClose";
const char* const kGuardName = "vdxCloseGuard";

class CloseGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && !watched->property(kAllowClose).toBool()) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::AltModifier)) return true;
        }
        return false;
    }
};
} // namespace

void RemoveCloseMenuItem(QWidget* window) {
    if (!window || window->findChild<QObject*>(kGuardName, Qt::FindDirectChildrenOnly)) return;
    Qt::WindowFlags flags = window->windowFlags();
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowMinimizeButtonHint;
    flags &= ~Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    auto* guard = new CloseGuard(window);
    guard->setObjectName(kGuardName);
    window->installEventFilter(guard);
}

bool closeByProgram(QWidget* window) {
    if (!window) return false;
    window->setProperty(kAllowClose, true);
    const bool closed = window->close();
    window->setProperty(kAllowClose, false);
    return closed;
}
