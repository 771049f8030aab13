// A driver that goes away and comes back: the link is built again, at most once per
// interval, and the card answers on the new link; failures of a driver still there
// keep the link.
#include <gtest/gtest.h>

#include <vector>

#include "device_harness.h"

namespace {

constexpr uint32_t kInterval = 100;

uint64_t g_now = 0;
uint64_t FakeClock() { return g_now; }

// The in-process port, counting how often a link opens it.
class CountingPort : public CInProcessPort {
public:
    CountingPort(std::shared_ptr<CVirtualCardDevice> device, int& opens)
        : CInProcessPort(std::move(device)), opens_(opens) {}
    void Open(const char* path) override {
        ++opens_;
        CInProcessPort::Open(path);
    }

private:
    int& opens_;
};

class Reconnect : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 5000;
        control = std::make_unique<CCardControl>(std::make_unique<CountingPort>(rig.card, opens));
        control->SetClock(FakeClock);
        control->SetReopenInterval(kInterval);
        control->SetLinkNotice([this](CCardControl::LinkEvent event) { heard.push_back(event); });
    }

    int32_t AutoSync(uint8_t* flag) { return control->GetAutoSync(0, flag); }

    VirtualCardRig rig;
    int opens = 0;
    std::unique_ptr<CCardControl> control;
    std::vector<CCardControl::LinkEvent> heard;
};

using Event = CCardControl::LinkEvent;

TEST_F(Reconnect, AStoppedDriverIsReopenedAtMostOncePerIntervalUntilItAnswers) {
    uint8_t flag = 9;
    ASSERT_EQ(AutoSync(&flag), 0);
    ASSERT_EQ(opens, 1);
    rig.card->SetPresent(false);
    const uint32_t requests = rig.RequestCount();

    struct Step {
        uint64_t advance;  // clock moves before the operations
        int opens;         // after them
    } steps[] = {{0, 1}, {kInterval - 1, 1}, {1, 2}, {kInterval / 2, 2}, {kInterval / 2, 3}};
    for (const Step& step : steps) {
        g_now += step.advance;
        for (int i = 0; i < 20; ++i) {
            flag = 9;
            EXPECT_TRUE(IsPanelFailure(AutoSync(&flag)));
            EXPECT_EQ(flag, 9);
        }
        EXPECT_EQ(opens, step.opens) << "at " << g_now;
    }
    EXPECT_EQ(rig.RequestCount(), requests);
    EXPECT_EQ(heard, std::vector<Event>{Event::kGone});

    // It comes back with two cards: the new link's table has both, and card index 1
    // is the second one found.
    rig.Core([](CVirtualCard& core) {
        core.SetAnswerMask(0x5);
        core.Card(2).settings.autoSync = 1;
    });
    rig.card->SetPresent(true);
    EXPECT_TRUE(IsPanelFailure(AutoSync(&flag)));
    EXPECT_EQ(opens, 3);
    g_now += kInterval;
    flag = 9;
    EXPECT_EQ(control->GetAutoSync(1, &flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(opens, 4);
    EXPECT_EQ(control->GetCardCount(), 2u);
    EXPECT_EQ(control->link()->Card(1).driverIndex, 2u);
    EXPECT_EQ(heard, (std::vector<Event>{Event::kGone, Event::kBack}));
}

// A driver may come back before its card answers: the link built then finds no card,
// and is built again, once per interval, until one does.
TEST_F(Reconnect, ADriverBackWithoutItsCardIsAskedAgainUntilTheCardAnswers) {
    uint8_t flag = 9;
    rig.card->SetPresent(false);
    EXPECT_TRUE(IsPanelFailure(AutoSync(&flag)));
    rig.Core([](CVirtualCard& core) { core.SetAnswerMask(0); });
    rig.card->SetPresent(true);
    for (int round = 0; round < 2; ++round) {
        g_now += kInterval;
        EXPECT_TRUE(IsPanelFailure(AutoSync(&flag)));
        EXPECT_EQ(control->GetCardCount(), 0u);
    }
    EXPECT_EQ(opens, 3);
    rig.Core([](CVirtualCard& core) { core.SetAnswerMask(0x1); });
    g_now += kInterval;
    EXPECT_EQ(AutoSync(&flag), 0);
    EXPECT_EQ(opens, 4);
    EXPECT_EQ(heard, (std::vector<Event>{Event::kGone, Event::kBack}));
}

TEST_F(Reconnect, FailuresOfADriverStillThereKeepTheLink) {
    struct Case {
        const char* name;
        void (*fault)(CVirtualCard&);
        int32_t status;
    } cases[] = {
        {"calls fail", [](CVirtualCard& core) { core.FailNextCalls(3); }, kDriverCallFailed},
        {"the driver refuses", [](CVirtualCard& core) { core.AnswerStatusForNextCalls(5, 3); }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rig.Core(c.fault);
        uint8_t flag = 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(AutoSync(&flag), c.status);
            g_now += kInterval;
        }
        EXPECT_EQ(AutoSync(&flag), 0);
    }
    EXPECT_EQ(opens, 1);
    EXPECT_TRUE(heard.empty());
}

}  // namespace
