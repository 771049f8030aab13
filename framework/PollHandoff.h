#pragma once
// Hands the results of a poll run on the multimedia timer's thread to the window that
// shows them. The timer thread touches only this object and posts the window's handle
// a message; the results wait here under a lock until the window takes them. While
// one poll's results wait, the next poll is skipped, so a busy window never finds
// polls piled up in its queue and the driver is not asked for results nobody shows.
// A window that also reads on its own thread discards what a poll begun earlier would
// bring, which would be older than what it shows. The owner kills the timer
// synchronously before this object goes.
#include <windows.h>

#include <functional>
#include <mutex>

template <typename Reading>
class CPollHandoff {
public:
    explicit CPollHandoff(UINT message) : message_(message) {}
    CPollHandoff(const CPollHandoff&) = delete;
    CPollHandoff& operator=(const CPollHandoff&) = delete;

    // Before the timer starts: where the results go and how a poll reads them.
    void Attach(HWND window, std::function<Reading()> read) {
        std::lock_guard<std::mutex> hold(lock_);
        window_ = window;
        read_ = std::move(read);
    }

    // The timer's thread: one poll, then the message with wParam = tag.
    void Poll(WPARAM tag) {
        HWND window = nullptr;
        std::function<Reading()> read;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (pending_ || window_ == nullptr || !read_) return;
            pending_ = true;
            window = window_;
            read = read_;
        }
        const Reading reading = read();
        std::lock_guard<std::mutex> hold(lock_);
        if (superseded_) {
            superseded_ = pending_ = false;
            return;
        }
        waiting_ = reading;
        ready_ = true;
        if (!::PostMessageA(window, message_, tag, 0)) ready_ = pending_ = false;
    }

    // The window's thread, after a read of its own: the results of every poll begun
    // before are dropped, whether they wait or are still being read.
    void Discard() {
        std::lock_guard<std::mutex> hold(lock_);
        if (ready_) {
            ready_ = pending_ = false;
        } else if (pending_) {
            superseded_ = true;
        }
    }

    // The window's thread, on the message: false when no results wait.
    bool Take(Reading& reading) {
        std::lock_guard<std::mutex> hold(lock_);
        if (!ready_) return false;
        ready_ = pending_ = false;
        reading = waiting_;
        return true;
    }

private:
    std::mutex lock_;
    const UINT message_;
    HWND window_ = nullptr;
    std::function<Reading()> read_;
    bool pending_ = false;     // a poll runs, or its results wait
    bool ready_ = false;       // its results wait
    bool superseded_ = false;  // the running poll's results are to be dropped
    Reading waiting_{};
};
