// Several threads on one link: every request the card receives is whole, and every
// reply read back is the one to the thread's own request; a link built again under
// them serves them all.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "device_harness.h"

namespace {

constexpr uint32_t kThreads = 4;
constexpr uint32_t kRounds = 1500;

// Sits in front of the virtual card and checks that the words of each request
// belong to one request of the workload below.
class FrameCheckingPort : public DriverPort {
public:
    FrameCheckingPort(std::shared_ptr<CVirtualCardDevice> card, std::atomic<int>& mixed)
        : inner_(std::move(card)), mixed_(mixed) {}

    void Open(const char* path) override { inner_.Open(path); }
    void Close() override { inner_.Close(); }
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) override {
        // Giving up the processor here widens the window in which an unserialised
        // link would let another thread refill the shared buffers.
        std::this_thread::yield();
        if (!Whole(code, static_cast<const uint8_t*>(request))) ++mixed_;
        return inner_.Control(code, request, requestSize, reply, replySize);
    }

private:
    static bool Whole(uint32_t code, const uint8_t* w) {
        if (code == 4403 || code == 4411 || code == 4491) return true;  // discovery, before the threads
        if (Word32(w, 4) != 0) return false;  // the one card answers under driver index 0
        switch (code) {
        case 4481: {
            const uint16_t channel = Word16(w, 20), left = Word16(w, 22), right = Word16(w, 24);
            return Word32(w, 12) == 0 && channel == (left >> 12) + 1u && right == static_cast<uint16_t>(~left);
        }
        case 4482:
            return Word32(w, 8) >= 1 && Word32(w, 8) <= kThreads && Word32(w, 12) == 0;
        case 4412:
            return Word32(w, 8) == 0 && Word32(w, 16) == 15 && Word32(w, 20) < kThreads;
        case 4432:
            return Word32(w, 8) == 0 && Word32(w, 16) == 2 && Word32(w, 20) == 61 && Word32(w, 24) == 0;
        case 4486:
        case 4487:
            return Word32(w, 16) == 1 && Word16(w, 20) < kThreads && Word32(w, 12) == 0 &&
                   (code == 4486 || Word16(w, 22) <= 1);
        default:
            return false;
        }
    }

    CInProcessPort inner_;
    std::atomic<int>& mixed_;
};

void Workload(CCardControl& control, uint32_t t, std::atomic<int>& wrongReplies) {
    const uint16_t channel = static_cast<uint16_t>(t + 1);
    for (uint32_t i = 0; i < kRounds; ++i) {
        const uint16_t left = static_cast<uint16_t>(t << 12 | (i & 0xFFF));
        const uint16_t right = static_cast<uint16_t>(~left);
        if (control.SetChannelLevels(0, channel, left, right) != 0) ++wrongReplies;
        uint16_t gotLeft = 0, gotRight = 0;
        if (control.GetChannelLevels(0, channel, &gotLeft, &gotRight) != 0 || gotLeft != left || gotRight != right)
            ++wrongReplies;

        uint32_t state = 0;
        if (control.QueryStatus(0, 0, 15, t, &state) != 0 || state != 100 + t) ++wrongReplies;

        const uint32_t flag = i & 1;
        uint8_t gotFlag = 9;
        control.SetStreamSync(0, 1, static_cast<uint16_t>(t), flag);
        if (control.GetStreamSync(0, 1, static_cast<uint16_t>(t), &gotFlag) != 0 || gotFlag != flag) ++wrongReplies;

        uint32_t measurement = 0;
        if (control.QueryStatus(0, 0, 6, 0, &measurement) != 0 || measurement != 938) ++wrongReplies;
    }
}

TEST(Concurrency, RequestsFromSeveralThreadsNeverMix) {
    auto card = std::make_shared<CVirtualCardDevice>();
    card->WithCore([](CVirtualCard& core) {
        for (uint32_t t = 0; t < kThreads; ++t) core.Card(0).playbackState[t] = 100 + t;
    });
    std::atomic<int> mixed{0};
    std::atomic<int> wrongReplies{0};
    CCardControl control(std::make_unique<FrameCheckingPort>(card, mixed));
    ASSERT_EQ(control.GetCardCount(), 1u);

    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t)
        threads.emplace_back([&control, t, &wrongReplies] { Workload(control, t, wrongReplies); });
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(mixed.load(), 0);
    EXPECT_EQ(wrongReplies.load(), 0);
    const uint32_t perRound = 6;
    EXPECT_EQ(card->WithCore([](CVirtualCard& core) { return core.RequestCount(); }),
              7u + kThreads * kRounds * perRound);
}

// Every reopen is due at once: each reading moves the clock a whole interval on.
std::atomic<uint64_t> g_racingClock{0};
uint64_t RacingClock() { return g_racingClock += CCardControl::kDefaultReopenIntervalMs; }

TEST(Concurrency, ALinkBuiltAgainUnderWorkingThreadsServesThemAll) {
    auto card = std::make_shared<CVirtualCardDevice>();
    CCardControl control(std::make_unique<CInProcessPort>(card));
    control.SetClock(RacingClock);
    std::mutex heardLock;
    std::vector<CCardControl::LinkEvent> heard;
    control.SetLinkNotice([&](CCardControl::LinkEvent event) {
        std::lock_guard<std::mutex> hold(heardLock);
        heard.push_back(event);
    });

    std::atomic<bool> done{false};
    std::atomic<int> strange{0};
    auto work = [&](uint16_t channel) {
        while (!done.load()) {
            uint16_t left = 0, right = 0;
            const int32_t status = control.GetChannelLevels(0, channel, &left, &right);
            uint32_t state = 0;
            const int32_t query = control.QueryStatus(0, 0, 15, channel, &state);
            for (int32_t s : {status, query}) {
                if (s != 0 && s != kDriverCallFailed && s != kBadCardIndex) ++strange;
            }
        }
    };
    std::vector<std::thread> threads;
    for (uint16_t t = 0; t < kThreads; ++t) threads.emplace_back(work, t);
    for (int round = 0; round < 200; ++round) {
        card->SetPresent(false);
        std::this_thread::yield();
        card->SetPresent(true);
    }
    done = true;
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(strange.load(), 0);
    // The first operation finds the link gone or answers; the next one answers.
    uint8_t flag = 0;
    control.GetAutoSync(0, &flag);
    EXPECT_EQ(control.GetAutoSync(0, &flag), 0);
    std::lock_guard<std::mutex> hold(heardLock);
    for (size_t i = 1; i < heard.size(); ++i) EXPECT_NE(heard[i], heard[i - 1]) << i;
}

TEST(Concurrency, TwoLinksShareOneVirtualCard) {
    auto card = std::make_shared<CVirtualCardDevice>();
    CCardControl first(std::make_unique<CInProcessPort>(card));
    CCardControl second(std::make_unique<CInProcessPort>(card));
    std::atomic<int> wrong{0};
    auto run = [&wrong](CCardControl& control, uint16_t channel) {
        for (uint16_t i = 0; i < 2000; ++i) {
            control.SetChannelLevels(0, channel, i, static_cast<uint16_t>(i + 1));
            uint16_t left = 0, right = 0;
            control.GetChannelLevels(0, channel, &left, &right);
            if (left != i || right != i + 1) ++wrong;
        }
    };
    std::thread a([&] { run(first, 3); });
    std::thread b([&] { run(second, 4); });
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
