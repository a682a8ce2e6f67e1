#pragma once

#include <QPointer>

// The one instance of a window, created on first use: the window's load step
// runs when it is created, and a window that was unloaded is created afresh by
// its next use. A window class makes WindowInstance<itself> a friend, so that
// its constructor and load step can stay private.
template <class W> class WindowInstance {
public:
    W& get() {
        if (!window_) {
            window_ = new W; // deleted by the window's unload
            window_->Form_Load();
        }
        return *window_;
    }
    bool exists() const { return !window_.isNull(); }
    // Takes the window out, so that the next get() makes a new one; returns it
    // (nullptr when none is loaded) for the unload steps.
    W* take() {
        W* window = window_.data();
        window_.clear();
        return window;
    }

private:
    QPointer<W> window_;
};
