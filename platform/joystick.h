#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <cstddef>

class QSocketNotifier;
struct js_event;

// Joysticks through the Linux joystick interface (linux/joystick.h).
//
// Joystick id n is the device <folder>/js<n>: id 0, the first joystick, is js0.
// The folder is /dev/input unless VONDRIX_JOYSTICK_DIR names another one, or a
// test sets one with setJoystickFolder.
//
// A device is opened non-blocking. Its events are read whenever they arrive
// (a socket notifier in the event loop) and whenever a caller asks for the
// buttons, so neither ever waits for the device; buttonsChanged tells about
// the events that arrived by themselves. Only buttons 0 to 15 are
// kept; axis events and higher buttons are dropped. A device that reports
// end of file or an error (unplugged) is closed and keeps the buttons it
// showed last; the next question about it opens it again.

constexpr int kJoystickButtons = 16;

QString joystickFolder();
// "" goes back to VONDRIX_JOYSTICK_DIR or /dev/input. Closes and forgets every device.
void setJoystickFolder(const QString& folder);
QString joystickDevicePath(quint32 id);

// One joystick device.
class JoystickDevice : public QObject {
    Q_OBJECT

public:
    explicit JoystickDevice(quint32 id, QObject* parent = nullptr);
    ~JoystickDevice() override;

    quint32 id() const { return id_; }
    bool isOpen() const { return fd_ >= 0; }
    // Bit i is set while button i is held. The state of the last event read.
    quint16 buttons() const { return buttons_; }

    // Opens the device when it is not open and reads what it has sent so far.
    // False when it could not be opened.
    bool open();
    // Reads every event waiting on the device, without waiting for more.
    void readPending();

signals:
    // Events that arrived on the device changed the buttons held.
    void buttonsChanged();

private:
    void eventsArrived();
    void apply(const js_event& event);
    void closeDevice();

    quint32 id_;
    QByteArray path_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    quint16 buttons_ = 0;
    // Bytes read so far; a record split over two reads waits here for its rest.
    std::array<char, 64 * 8> buffer_{};
    std::size_t buffered_ = 0;
};

// The device of joystick id, created on first use and kept until the folder changes.
JoystickDevice& joystickDevice(quint32 id);

// True when the joystick can be opened and reading it finds it still there.
bool joystickPresent(quint32 id);

// Reads the joystick's pending events into buttons (bit i = button i held).
// False, with buttons left as they were, when the device cannot be opened.
// A device unplugged since the last call gives the buttons it showed last.
bool joystickButtons(quint32 id, quint16& buttons);
