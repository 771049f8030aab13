#include "device/TicketLock.h"

void CTicketLock::lock() {
    std::unique_lock<std::mutex> hold(guard_);
    const uint64_t ticket = next_++;
    turn_.wait(hold, [&] { return serving_ == ticket; });
}

void CTicketLock::unlock() {
    {
        std::lock_guard<std::mutex> hold(guard_);
        ++serving_;
    }
    turn_.notify_all();
}
