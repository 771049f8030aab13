#include "framework/PollJob.h"

#include <condition_variable>
#include <mutex>
#include <unordered_map>

namespace {

struct Jobs {
    std::mutex lock;
    std::condition_variable ended;  // a poll has ended
    std::unordered_map<uintptr_t, CPollJob*> byKey;
    uintptr_t lastKey = 0;
};

// Never destroyed: a tick may come while the program ends.
Jobs& Shared() {
    static Jobs* const jobs = new Jobs;
    return *jobs;
}

uintptr_t Register(CPollJob* job) {
    Jobs& jobs = Shared();
    std::lock_guard<std::mutex> hold(jobs.lock);
    const uintptr_t key = ++jobs.lastKey;
    jobs.byKey.emplace(key, job);
    return key;
}

}  // namespace

CPollJob::CPollJob() : key_(Register(this)) {}

CPollJob::~CPollJob() {
    Stop();
    Jobs& jobs = Shared();
    std::lock_guard<std::mutex> hold(jobs.lock);
    jobs.byKey.erase(key_);
}

void CPollJob::Start(Poll poll, std::chrono::milliseconds rest) {
    std::lock_guard<std::mutex> hold(Shared().lock);
    if (started_) return;
    started_ = true;
    poll_ = std::move(poll);
    rest_ = rest;
    restUntil_ = {};
}

void CPollJob::Tick(uintptr_t key, uint32_t tag) {
    Jobs& jobs = Shared();
    std::unique_lock<std::mutex> hold(jobs.lock);
    const auto found = jobs.byKey.find(key);
    if (found == jobs.byKey.end()) return;
    CPollJob& job = *found->second;
    if (!job.started_ || job.running_) return;
    if (std::chrono::steady_clock::now() < job.restUntil_) return;
    job.running_ = true;
    hold.unlock();
    // The job stays alive and keeps its poll meanwhile: its Stop waits for running_ to clear.
    job.poll_(tag, job.cancelled_);
    hold.lock();
    job.running_ = false;
    job.restUntil_ = std::chrono::steady_clock::now() + job.rest_;
    jobs.ended.notify_all();
}

void CPollJob::Stop() {
    Jobs& jobs = Shared();
    std::unique_lock<std::mutex> hold(jobs.lock);
    if (!started_) return;
    started_ = false;
    cancelled_ = true;
    jobs.ended.wait(hold, [this] { return !running_; });
    cancelled_ = false;
    poll_ = nullptr;
}
