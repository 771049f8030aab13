#pragma once
// One window's poll, run on the thread of the window's multimedia timer when the timer
// ticks. Every timer callback of a process runs on that one thread, and a synchronous
// kill of any timer waits until the callback under way has returned, so a window that
// killed its timer synchronously would wait for every other window's poll. The timer
// is therefore killed without waiting and carries the job's key, not the job: a tick
// that comes after the job has stopped, or is gone, finds nothing and does nothing. A
// window stops its own job only: the poll under way is told to stop and ends between
// two requests, so stopping waits for at most the job's own request in flight.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

class CPollJob {
public:
    // One poll. tag is what its tick carried; the poll ends early once cancelled holds.
    using Poll = std::function<void(uint32_t tag, const std::atomic<bool>& cancelled)>;

    CPollJob();
    ~CPollJob();
    CPollJob(const CPollJob&) = delete;
    CPollJob& operator=(const CPollJob&) = delete;

    // What the job's timer carries; never the key of another job.
    uintptr_t Key() const { return key_; }

    // The owner's thread: the job's poll, unless the job has been started already. A
    // periodic timer makes up at once, back to back, the ticks it missed while a poll
    // took longer than its period: a tick within rest of the end of the job's last poll
    // is dropped, as is one while its poll is under way.
    void Start(Poll poll, std::chrono::milliseconds rest);
    // The timer's thread, or any: runs one poll with this tag on the calling thread,
    // unless the job of this key is gone, stopped, polling or resting.
    static void Tick(uintptr_t key, uint32_t tag);
    // The owner's thread: tells the poll under way to stop and waits for it to end.
    // Start may follow.
    void Stop();

private:
    const uintptr_t key_;
    // Guarded by the jobs' lock.
    Poll poll_;
    std::chrono::milliseconds rest_{0};
    std::chrono::steady_clock::time_point restUntil_;  // a tick before it is dropped
    bool started_ = false;
    bool running_ = false;
    std::atomic<bool> cancelled_{false};
};
