#pragma once
// A lock that lets its waiters in in the order they asked. The lamp and diagnostics
// polls run their requests one after another on the timer's thread; with a plain
// mutex that thread may take the lock back before a waiting user-interface thread
// wakes, and a click would wait behind whole polls instead of one request.
#include <condition_variable>
#include <cstdint>
#include <mutex>

class CTicketLock {
public:
    void lock();
    void unlock();

private:
    std::mutex guard_;
    std::condition_variable turn_;
    uint64_t next_ = 0;
    uint64_t serving_ = 0;
};
