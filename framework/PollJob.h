#pragma once
// One window's poll, run on the program's poll thread. The window's timer only wakes
// it: every multimedia timer callback of a process runs on one thread, and a
// synchronous kill of any timer may wait until the callback under way has returned,
// so a poll run inside a callback would make closing any window wait for every other
// window's poll. The poll thread runs woken jobs one at a time, in the order they were
// woken, and lives as long as the program. A window stops its own job only: a wake
// still waiting for its turn is dropped, and a poll under way is told to stop and ends
// between two requests, so stopping waits for at most the job's own request in
// flight, never for another job's poll.
#include <atomic>
#include <cstdint>
#include <functional>

class CPollJob {
public:
    // One poll. tag is what its wake carried; the poll ends early once cancelled holds.
    using Poll = std::function<void(uint32_t tag, const std::atomic<bool>& cancelled)>;

    CPollJob() = default;
    ~CPollJob();
    CPollJob(const CPollJob&) = delete;
    CPollJob& operator=(const CPollJob&) = delete;

    // The owner's thread: the job's poll, unless the job has been started already.
    void Start(Poll poll);
    // Any thread, the timer's among them; never waits for a poll. Asks for one poll
    // with this tag. A wake while the job's poll is under way is dropped: that poll is
    // what it asks for. A wake while the job waits for its turn only changes the tag;
    // a wake before Start or after Stop does nothing.
    void Wake(uint32_t tag);
    // The owner's thread: drops a wake waiting for its turn, tells the poll under way
    // to stop and waits for it to end. Start may follow.
    void Stop();

private:
    static void RunPolls();  // the poll thread

    // Guarded by the poll thread's lock.
    Poll poll_;
    bool started_ = false;
    bool queued_ = false;
    bool running_ = false;
    uint32_t tag_ = 0;
    std::atomic<bool> cancelled_{false};
};
