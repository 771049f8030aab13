// Polls on the program's poll thread: what the polls see of the wakes, and what
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

// Three started jobs polling into one log, which outlives them.
class ThreeJobs : public ::testing::Test {
protected:
    void SetUp() override {
        for (CPollJob* job : {&a, &b, &c}) job->Start(log.Poll());
    }
    PollLog log;
    CPollJob a, b, c;
};

TEST_F(ThreeJobs, AWakeDuringItsOwnPollIsDroppedAndWokenJobsTakeTurnsOnOneOtherThread) {
    a.Wake(1);
    ASSERT_TRUE(log.WaitForPolls(1));
    a.Wake(2);  // a kept wake would come before c's
    b.Wake(10);
    log.LetOneEnd();
    ASSERT_TRUE(log.WaitForPolls(2));
    c.Wake(20);
    log.LetOneEnd();
    ASSERT_TRUE(log.WaitForPolls(3));
    log.LetOneEnd();
    a.Stop();
    b.Stop();
    c.Stop();
    EXPECT_EQ(log.Tags(), (std::vector<uint32_t>{1, 10, 20}));
    const std::vector<std::thread::id> threads = log.Threads();
    for (std::thread::id id : threads) {
        EXPECT_EQ(id, threads[0]);
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST_F(ThreeJobs, StoppingAJobThatWaitsForItsTurnWaitsForNoOtherPollAndDropsTheWake) {
    a.Wake(1);
    ASSERT_TRUE(log.WaitForPolls(1));
    b.Wake(10);
    b.Stop();
    EXPECT_EQ(log.Ended(), 0) << "b's Stop waited for a's poll";
    c.Wake(20);  // b's wake, if kept, would come first
    log.LetOneEnd();
    ASSERT_TRUE(log.WaitForPolls(2));
    log.LetOneEnd();
    a.Stop();
    c.Stop();
    EXPECT_EQ(log.Tags(), (std::vector<uint32_t>{1, 20}));
}

TEST(PollJob, StopTellsThePollUnderWayToStopWaitsForItsEndAndStartPollsAgain) {
    std::promise<void> underWay;
    std::atomic<bool> ended{false};
    std::atomic<bool> cancelledSeen{false};
    CPollJob job;
    // A poll of many steps that ends between two of them once cancelled.
    job.Start([&](uint32_t, const std::atomic<bool>& cancelled) {
        underWay.set_value();
        const auto giveUp = std::chrono::steady_clock::now() + kGenerous;
        while (!cancelled && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
        cancelledSeen = cancelled.load();
        ended = true;
    });
    job.Wake(1);
    ASSERT_EQ(underWay.get_future().wait_for(kGenerous), std::future_status::ready);
    job.Stop();
    EXPECT_TRUE(ended) << "Stop returned before the poll ended";
    EXPECT_TRUE(cancelledSeen) << "the poll was not told to stop";
    job.Wake(2);  // stopped: nothing

    PollLog log;
    job.Start(log.Poll());
    job.Wake(3);
    ASSERT_TRUE(log.WaitForPolls(1));
    log.LetOneEnd();
    job.Stop();
    EXPECT_EQ(log.Tags(), std::vector<uint32_t>{3});
}

}  // namespace
