#include "platform/joystick.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/joystick.h>
#include <map>
#include <memory>
#include <unistd.h>

static_assert(sizeof(js_event) == 8);

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}

using DeviceMap = std::map<quint32, std::unique_ptr<JoystickDevice>>;

void closeAllDevices();

DeviceMap& devices() {
    static DeviceMap map;
    static const bool cleanup = [] {
        // The notifiers must go before the application object does.
        qAddPostRoutine(closeAllDevices);
        return true;
    }();
    Q_UNUSED(cleanup);
    return map;
}

void closeAllDevices() {
    devices().clear();
}
} // namespace

QString joystickFolder() {
    if (!overrideFolder().isEmpty()) return overrideFolder();
    const QString env = qEnvironmentVariable("VONDRIX_JOYSTICK_DIR");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QStringLiteral("/dev/input");
}

void setJoystickFolder(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    closeAllDevices();
}

QString joystickDevicePath(quint32 id) {
    return joystickFolder() + QStringLiteral("/js") + QString::number(id);
}

JoystickDevice::JoystickDevice(quint32 id, QObject* parent)
    : QObject(parent), id_(id), path_(QFile::encodeName(joystickDevicePath(id))) {}

JoystickDevice::~JoystickDevice() {
    closeDevice();
}

bool JoystickDevice::open() {
    if (fd_ >= 0) return true;
    fd_ = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    if (QCoreApplication::instance()) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &JoystickDevice::eventsArrived);
    }
    readPending();
    return true;
}

void JoystickDevice::readPending() {
    while (fd_ >= 0) {
        const ssize_t n = ::read(fd_, buffer_.data() + buffered_, buffer_.size() - buffered_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n <= 0) {
            // End of file or an error such as ENODEV: the joystick is gone.
            closeDevice();
            return;
        }
        const std::size_t total = buffered_ + static_cast<std::size_t>(n);
        std::size_t used = 0;
        while (total - used >= sizeof(js_event)) {
            js_event event;
            std::memcpy(&event, buffer_.data() + used, sizeof event);
            apply(event);
            used += sizeof event;
        }
        buffered_ = total - used;
        std::memmove(buffer_.data(), buffer_.data() + used, buffered_);
    }
}

void JoystickDevice::eventsArrived() {
    const quint16 before = buttons_;
    readPending();
    if (buttons_ != before) emit buttonsChanged();
}

void JoystickDevice::apply(const js_event& event) {
    // Initial-state events describe the buttons held at opening, like live ones.
    const int type = event.type & ~JS_EVENT_INIT;
    if (type != JS_EVENT_BUTTON || event.number >= kJoystickButtons) return;
    const quint16 bit = quint16(1u << event.number);
    if (event.value != 0)
        buttons_ |= bit;
    else
        buttons_ &= quint16(~bit);
}

void JoystickDevice::closeDevice() {
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater(); // may be inside its own activated signal
        notifier_ = nullptr;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffered_ = 0; // a half record of a closed device is worthless
}

JoystickDevice& joystickDevice(quint32 id) {
    auto& map = devices();
    auto it = map.find(id);
    if (it == map.end()) it = map.emplace(id, std::make_unique<JoystickDevice>(id)).first;
    return *it->second;
}

bool joystickPresent(quint32 id) {
    JoystickDevice& device = joystickDevice(id);
    if (!device.open()) return false;
    device.readPending();
    return device.isOpen();
}

bool joystickButtons(quint32 id, quint16& buttons) {
    JoystickDevice& device = joystickDevice(id);
    if (device.isOpen())
        device.readPending();
    else if (!device.open())
        return false;
    buttons = device.buttons();
    return true;
}
