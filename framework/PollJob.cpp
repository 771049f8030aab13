#include "framework/PollJob.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct PollThread {
    std::mutex lock;
    std::condition_variable woken;  // a job waits for its turn
    std::condition_variable ended;  // a poll has ended
    std::deque<CPollJob*> turns;
    std::thread thread;
};

// Made on first use and never destroyed: neither a window's close nor the program's
// exit waits for the thread, which only ever waits for a job between polls then.
PollThread& Shared() {
    static PollThread* const shared = new PollThread;
    return *shared;
}

}  // namespace

CPollJob::~CPollJob() { Stop(); }

void CPollJob::Start(Poll poll) {
    PollThread& t = Shared();
    std::lock_guard<std::mutex> hold(t.lock);
    if (started_) return;
    started_ = true;
    poll_ = std::move(poll);
    if (!t.thread.joinable()) t.thread = std::thread(RunPolls);
}

void CPollJob::Wake(uint32_t tag) {
    PollThread& t = Shared();
    {
        std::lock_guard<std::mutex> hold(t.lock);
        if (!started_ || running_) return;
        tag_ = tag;
        if (queued_) return;
        queued_ = true;
        t.turns.push_back(this);
    }
    t.woken.notify_one();
}

void CPollJob::Stop() {
    PollThread& t = Shared();
    std::unique_lock<std::mutex> hold(t.lock);
    if (!started_) return;
    started_ = false;
    if (queued_) {
        t.turns.erase(std::find(t.turns.begin(), t.turns.end(), this));
        queued_ = false;
    }
    cancelled_ = true;
    t.ended.wait(hold, [this] { return !running_; });
    cancelled_ = false;
    poll_ = nullptr;
}

void CPollJob::RunPolls() {
    PollThread& t = Shared();
    std::unique_lock<std::mutex> hold(t.lock);
    for (;;) {
        t.woken.wait(hold, [&t] { return !t.turns.empty(); });
        CPollJob* job = t.turns.front();
        t.turns.pop_front();
        job->queued_ = false;
        job->running_ = true;
        const uint32_t tag = job->tag_;
        hold.unlock();
        // The job stays alive meanwhile: its Stop waits for running_ to clear.
        job->poll_(tag, job->cancelled_);
        hold.lock();
        job->running_ = false;
        t.ended.notify_all();
    }
}
