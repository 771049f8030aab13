#pragma once
// Runs a window's poll on its timer's thread (CPollJob) and hands its results to the
// window that shows them. The poll touches only this object and posts the window's
// handle a message; the results wait here under a lock until the window takes them.
// While one poll's results wait, the next poll is skipped, so a busy window never finds
// polls piled up in its queue and the driver is not asked for results nobody shows.
// A window that also reads on its own thread discards what a poll begun earlier would
// bring, which would be older than what it shows. The window stops the poll before its
// handle goes; the window's timer carries Key() and is killed before this object goes.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

#include "framework/PollJob.h"

template <typename Reading>
class CPollHandoff {
public:
    // A poll's read; it ends between two requests once cancelled holds.
    using Read = std::function<Reading(const std::atomic<bool>& cancelled)>;

    explicit CPollHandoff(UINT message) : message_(message) {}
    CPollHandoff(const CPollHandoff&) = delete;
    CPollHandoff& operator=(const CPollHandoff&) = delete;

    // The window's thread, before its timer starts: where the results go, how a poll
    // reads them, and how long the poll rests after each (CPollJob::Start); the timer's
    // ticks count from now on.
    void Start(HWND window, Read read, std::chrono::milliseconds rest) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            window_ = window;
            read_ = std::move(read);
        }
        job_.Start([this](uint32_t tag, const std::atomic<bool>& cancelled) { Poll(tag, cancelled); }, rest);
    }

    // What the window's timer carries: CPollJob::Tick(key, tag) runs one poll, whose
    // message carries wParam = tag.
    DWORD_PTR Key() const { return job_.Key(); }

    // The window's thread: the poll under way ends after its request in flight and
    // hands nothing over; no poll runs until Start.
    void Stop() { job_.Stop(); }

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
    // The timer's thread: one poll, then the message.
    void Poll(uint32_t tag, const std::atomic<bool>& cancelled) {
        HWND window = nullptr;
        Read read;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (pending_ || window_ == nullptr || !read_) return;
            pending_ = true;
            window = window_;
            read = read_;
        }
        const Reading reading = read(cancelled);
        std::lock_guard<std::mutex> hold(lock_);
        if (superseded_ || cancelled) {
            superseded_ = pending_ = false;
            return;
        }
        waiting_ = reading;
        ready_ = true;
        if (!::PostMessageA(window, message_, tag, 0)) ready_ = pending_ = false;
    }

    std::mutex lock_;
    const UINT message_;
    HWND window_ = nullptr;
    Read read_;
    bool pending_ = false;     // a poll runs, or its results wait
    bool ready_ = false;       // its results wait
    bool superseded_ = false;  // the running poll's results are to be dropped
    Reading waiting_{};
    CPollJob job_;  // last: it stops before the rest goes
};
