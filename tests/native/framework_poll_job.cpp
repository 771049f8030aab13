// Polls run by their timers' ticks: which ticks poll, on which thread, and what
// stopping a job waits for.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/PollJob.h"

namespace {

constexpr auto kGenerous = std::chrono::seconds(10);

// What the polls saw, in order, and a gate at which each poll waits until the test
// lets it end.
class PollLog {
public:
    CPollJob::Poll Poll() {
        return [this](uint32_t tag, const std::atomic<bool>&) {
            std::unique_lock<std::mutex> hold(lock_);
            tags_.push_back(tag);
            threads_.push_back(std::this_thread::get_id());
            changed_.notify_all();
            changed_.wait_for(hold, kGenerous, [this] { return permits_ > 0; });
            --permits_;
            ++ended_;
        };
    }
    bool WaitForPolls(size_t n) {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, kGenerous, [&] { return tags_.size() >= n; });
    }
    void LetOneEnd() {
        std::lock_guard<std::mutex> hold(lock_);
        ++permits_;
        changed_.notify_all();
    }
    std::vector<uint32_t> Tags() {
        std::lock_guard<std::mutex> hold(lock_);
        return tags_;
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard<std::mutex> hold(lock_);
        return threads_;
    }
    int Ended() {
        std::lock_guard<std::mutex> hold(lock_);
        return ended_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<uint32_t> tags_;
    std::vector<std::thread::id> threads_;
    int permits_ = 0;
    int ended_ = 0;
};

// Ticks as the timer's thread gives them: each on a thread of its own here, so that
// a test can tick while a poll is held at the log's gate.
class Ticks {
public:
    ~Ticks() {
        for (std::thread& t : threads_) t.join();
    }
    void Tick(uintptr_t key, uint32_t tag) { threads_.emplace_back(CPollJob::Tick, key, tag); }
    void JoinAll() {
        for (std::thread& t : threads_) t.join();
        threads_.clear();
    }

private:
    std::vector<std::thread> threads_;
};

constexpr std::chrono::milliseconds kNoRest{0};

TEST(PollJob, ATickPollsOnItsOwnThreadWithItsTagAndOneWhileThatPollIsUnderWayIsDropped) {
    PollLog log;
    CPollJob job;
    job.Start(log.Poll(), kNoRest);
    Ticks ticks;
    ticks.Tick(job.Key(), 1);
    ASSERT_TRUE(log.WaitForPolls(1));
    CPollJob::Tick(job.Key(), 2);  // returns at once: the poll of tick 1 is under way
    log.LetOneEnd();
    ticks.JoinAll();
    log.LetOneEnd();
    CPollJob::Tick(job.Key(), 3);
    job.Stop();
    EXPECT_EQ(log.Tags(), (std::vector<uint32_t>{1, 3}));
    EXPECT_NE(log.Threads()[0], std::this_thread::get_id());
    EXPECT_EQ(log.Threads()[1], std::this_thread::get_id());
}

TEST(PollJob, ATickWithinTheRestAfterAPollIsDropped) {
    PollLog log;
    CPollJob job;
    job.Start(log.Poll(), kGenerous);
    log.LetOneEnd();
    log.LetOneEnd();
    CPollJob::Tick(job.Key(), 1);
    CPollJob::Tick(job.Key(), 2);  // made up at once after a long poll
    job.Stop();
    job.Start(log.Poll(), kGenerous);  // a new start rests from nothing
    CPollJob::Tick(job.Key(), 3);
    job.Stop();
    EXPECT_EQ(log.Tags(), (std::vector<uint32_t>{1, 3}));
}

TEST(PollJob, ATickForAJobStoppedOrGoneDoesNothing) {
    PollLog log;
    uintptr_t goneKey = 0;
    {
        CPollJob gone;
        gone.Start(log.Poll(), kNoRest);
        goneKey = gone.Key();
    }
    CPollJob stopped;
    stopped.Start(log.Poll(), kNoRest);
    stopped.Stop();
    CPollJob neverStarted;
    log.LetOneEnd();
    for (uintptr_t key : {goneKey, stopped.Key(), neverStarted.Key()}) CPollJob::Tick(key, 1);
    EXPECT_TRUE(log.Tags().empty());
    EXPECT_NE(goneKey, stopped.Key());
    EXPECT_NE(goneKey, neverStarted.Key());
}

TEST(PollJob, StoppingAJobWaitsForNoOtherJobsPoll) {
    PollLog log;
    CPollJob busy;
    CPollJob idle;
    busy.Start(log.Poll(), kNoRest);
    idle.Start(log.Poll(), kNoRest);
    Ticks ticks;
    ticks.Tick(busy.Key(), 1);
    ASSERT_TRUE(log.WaitForPolls(1));
    idle.Stop();
    EXPECT_EQ(log.Ended(), 0) << "idle's Stop waited for busy's poll";
    log.LetOneEnd();
    ticks.JoinAll();
    busy.Stop();
}

TEST(PollJob, StopTellsThePollUnderWayToStopWaitsForItsEndAndStartPollsAgain) {
    std::promise<void> underWay;
    std::atomic<bool> ended{false};
    std::atomic<bool> cancelledSeen{false};
    CPollJob job;
    // A poll of many steps that ends between two of them once cancelled.
    job.Start(
        [&](uint32_t, const std::atomic<bool>& cancelled) {
            underWay.set_value();
            const auto giveUp = std::chrono::steady_clock::now() + kGenerous;
            while (!cancelled && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
            cancelledSeen = cancelled.load();
            ended = true;
        },
        kNoRest);
    Ticks ticks;
    ticks.Tick(job.Key(), 1);
    ASSERT_EQ(underWay.get_future().wait_for(kGenerous), std::future_status::ready);
    job.Stop();
    EXPECT_TRUE(ended) << "Stop returned before the poll ended";
    EXPECT_TRUE(cancelledSeen) << "the poll was not told to stop";

    PollLog log;
    job.Start(log.Poll(), kNoRest);
    log.LetOneEnd();
    CPollJob::Tick(job.Key(), 3);
    job.Stop();
    EXPECT_EQ(log.Tags(), std::vector<uint32_t>{3});
}

}  // namespace
