// The virtual card core as the link, the kernel driver and cardctl rely on it.
#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "device/Words.h"
#include "device_harness.h"

namespace {

struct Call {
    bool ok;
    uint32_t replyBytes;
    uint32_t delayMs;
    uint8_t reply[kVcReplySize];
};

Call Send(CVirtualCard& core, uint32_t code, const uint8_t (&request)[kVcRequestSize]) {
    Call c{};
    c.ok = core.Dispatch(code, request, sizeof request, c.reply, sizeof c.reply, &c.replyBytes, &c.delayMs);
    return c;
}

TEST(VirtualCard, IsTriviallyConstructibleSoAStaticInstanceNeedsNoInitialiser) {
    EXPECT_TRUE(std::is_trivially_default_constructible<CVirtualCard>::value);
    EXPECT_TRUE(std::is_trivially_destructible<CVirtualCard>::value);
    static CVirtualCard core;
    core.Reset();
    uint8_t request[kVcRequestSize] = {};
    EXPECT_TRUE(Send(core, 4411, request).ok);
}

struct ShortCase {
    const char* name;
    uint32_t inSize;
    uint32_t outSize;
    bool nullIn;
    bool nullOut;
};

void PrintTo(const ShortCase& c, std::ostream* os) { *os << c.name; }

class ShortBuffers : public ::testing::TestWithParam<ShortCase> {};

TEST_P(ShortBuffers, AreRefusedWritingNothing) {
    const ShortCase& c = GetParam();
    CVirtualCard core;
    core.Reset();
    uint8_t request[64] = {};
    uint8_t reply[64];
    std::memset(reply, 0xA5, sizeof reply);
    uint32_t replyBytes = 99, delay = 99;
    core.SetDelayMs(20);
    EXPECT_FALSE(core.Dispatch(4440, c.nullIn ? nullptr : request, c.inSize, c.nullOut ? nullptr : reply, c.outSize,
                               &replyBytes, &delay));
    for (uint8_t b : reply) EXPECT_EQ(b, 0xA5);
    EXPECT_EQ(replyBytes, 0u);
    EXPECT_EQ(core.RequestCount(), 0u);
    EXPECT_EQ(core.LogSize(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, ShortBuffers,
                         ::testing::Values(ShortCase{"Request35", 35, 28, false, false},
                                           ShortCase{"Reply27", 36, 27, false, false},
                                           ShortCase{"BothEmpty", 0, 0, false, false},
                                           ShortCase{"NoRequest", 36, 28, true, false},
                                           ShortCase{"NoReply", 36, 28, false, true}),
                         [](const ::testing::TestParamInfo<ShortCase>& info) { return std::string(info.param.name); });

TEST(VirtualCard, RequestAndReplyMayShareOneBuffer) {
    CVirtualCard core;
    core.Reset();
    uint8_t buffer[kVcRequestSize] = {};
    PutWord32(buffer, 8, 3);  // GetChannelLevels, channel 3
    core.Card(0).settings.left[3] = 1234;
    core.Card(0).settings.right[3] = 4321;
    uint32_t replyBytes = 0, delay = 0;
    ASSERT_TRUE(core.Dispatch(4482, buffer, sizeof buffer, buffer, sizeof buffer, &replyBytes, &delay));
    EXPECT_EQ(Word32(buffer, 0), 0u);
    EXPECT_EQ(Word32(buffer, 4), 1234u);
    EXPECT_EQ(Word32(buffer, 8), 4321u);
}

TEST(VirtualCard, TheLogKeepsTheLatestRequestsAndTheCountKeepsAll) {
    CVirtualCard core;
    core.Reset();
    for (uint32_t i = 0; i < 100; ++i) {
        uint8_t request[kVcRequestSize] = {};
        PutWord32(request, 32, i);
        Send(core, 4440, request);
    }
    EXPECT_EQ(core.RequestCount(), 100u);
    ASSERT_EQ(core.LogSize(), kVcLogCapacity);
    EXPECT_EQ(Word32(core.LogEntry(0).bytes, 32), 100u - kVcLogCapacity);
    EXPECT_EQ(Word32(core.LogEntry(kVcLogCapacity - 1).bytes, 32), 99u);
    EXPECT_EQ(core.LogEntry(0).code, 4440u);
}

TEST(VirtualCard, LoadStateIsTheDemoCard) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    ASSERT_EQ(control.GetCardCount(), 1u);
    uint32_t value = 0;
    EXPECT_EQ(control.QueryStatus(0, 0, 12, 0, &value), 0);
    EXPECT_EQ(value, 1u);  // ready
    EXPECT_EQ(control.QueryStatus(0, 0, 13, 0, &value), 0);
    EXPECT_EQ(value, 1u);  // DMA idle
    EXPECT_EQ(control.QueryStatus(0, 0, 11, 0, &value), 0);
    EXPECT_EQ(value, 0x0107u);
    EXPECT_EQ(control.GetClockMode(0, &value), 0);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(control.QueryStatus(0, 0, 17, 0, &value), 0);
    EXPECT_EQ(value, 0u);
    int offCentre = 0;
    for (uint16_t channel = 0; channel < 10; ++channel) {
        uint8_t on = 0;
        uint16_t left = 0, right = 0;
        control.GetChannelControl(0, channel, &on);
        control.GetChannelLevels(0, channel, &left, &right);
        EXPECT_EQ(on, 1) << channel;
        EXPECT_GE(std::max(left, right), 32768) << channel;
        offCentre += left != right;
    }
    EXPECT_GT(offCentre, 0);  // the balance knobs have something to show
    for (uint32_t stream = 0; stream < 10; ++stream) {
        control.QueryStatus(0, 0, 15, stream, &value);
        EXPECT_TRUE(value < 2 || value > 4) << stream;  // idle
    }
}

class ClockMeasurement : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ClockMeasurement, GivesTheModesRateAfterTheFiveTheLinkAdds) {
    const uint32_t mode = GetParam();
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    ASSERT_EQ(control.SetClockMode(0, mode), 0);
    uint32_t measured = 0;
    ASSERT_EQ(control.QueryStatus(0, 0, 6, 0, &measured), 0);
    const uint32_t frequency = 45056000u / (measured + 1);
    if (mode & 1) {
        EXPECT_GT(frequency, 43700u);
        EXPECT_LT(frequency, 44500u);
    } else {
        EXPECT_GT(frequency, 47600u);
        EXPECT_LT(frequency, 48400u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, ClockMeasurement, ::testing::Range(0u, 8u));

TEST(VirtualCard, SavedDefaultsComeBackOnRetrieve) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    c.SetChannelLevels(0, 2, 100, 200);
    c.SetChannelControl(0, 3, 0);
    c.SetClockMode(0, 5);
    c.SetAutoSync(0, 0);
    c.SetStreamSync(0, 0, 4, 0);
    c.SetStreamSync(0, 1, 9, 0);
    ASSERT_EQ(c.SaveDefaults(0), 0);

    c.SetChannelLevels(0, 2, 300, 400);
    c.SetChannelControl(0, 3, 1);
    c.SetClockMode(0, 2);
    c.SetAutoSync(0, 1);
    c.SetStreamSync(0, 0, 4, 1);
    c.SetStreamSync(0, 1, 9, 1);
    ASSERT_EQ(c.RetrieveDefaults(0), 0);

    uint16_t left = 0, right = 0;
    uint8_t flag = 9;
    uint32_t mode = 0, word = 0;
    c.GetChannelLevels(0, 2, &left, &right);
    EXPECT_EQ(left, 100);
    EXPECT_EQ(right, 200);
    c.GetChannelControl(0, 3, &flag);
    EXPECT_EQ(flag, 0);
    c.GetClockMode(0, &mode);
    EXPECT_EQ(mode, 5u);
    c.GetAutoSync(0, &flag);
    EXPECT_EQ(flag, 0);
    c.GetStreamSync(0, 0, 4, &flag);
    EXPECT_EQ(flag, 0);
    c.GetStreamSync(0, 1, 9, &flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(c.ReadDefaultsWord(0, &word), 0);
    EXPECT_EQ(word, 1u);
    uint32_t measured = 0;
    c.QueryStatus(0, 0, 6, 0, &measured);
    EXPECT_EQ(measured, VcClockMeasurementFor(5) + 5);
}

TEST(VirtualCard, ResetStopThenStartReturnsTheCardToReady) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build([](CVirtualCard& core) {
        core.Card(0).cardState = 3;
        core.Card(0).playbackState[2] = 4;
        core.Card(0).dmaStatus = 3;
    });
    uint32_t state = 0;
    EXPECT_TRUE(c.ResetCardStop(0));
    c.QueryStatus(0, 0, 12, 0, &state);
    EXPECT_EQ(state, 0u);
    c.QueryStatus(0, 0, 15, 2, &state);
    EXPECT_EQ(state, 0u);
    EXPECT_EQ(c.ResetCardStart(0), 0);
    c.QueryStatus(0, 0, 12, 0, &state);
    EXPECT_EQ(state, 1u);
    c.QueryStatus(0, 0, 13, 0, &state);
    EXPECT_EQ(state, 1u);
}

TEST(VirtualCard, FreeIsSeenByTheNextDiscovery) {
    VirtualCardRig rig;
    ASSERT_EQ(rig.Build().FreeCard(0), 0);
    rig.Build();
    EXPECT_EQ(rig.Record(0).isFree, 1u);
}

TEST(VirtualCard, ArgumentsOutsideTheCardAreRefusedWithAStatus) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    uint8_t flag = 0;
    uint32_t value = 0;
    EXPECT_EQ(c.SetClockMode(0, 8), static_cast<int32_t>(kVcBadArgument));
    EXPECT_EQ(c.GetStreamSync(0, 0, 6, &flag), static_cast<int32_t>(kVcBadArgument));
    EXPECT_EQ(c.GetStreamSync(0, 2, 0, &flag), static_cast<int32_t>(kVcBadArgument));
    EXPECT_EQ(c.QueryStatus(0, 0, 14, 6, &value), static_cast<int32_t>(kVcBadArgument));
    EXPECT_EQ(c.QueryStatus(0, 0, 99, 0, &value), static_cast<int32_t>(kVcBadArgument));
}

TEST(VirtualCard, AnArmedStatusAnswersButLeavesTheCardAsItWas) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    rig.Core([](CVirtualCard& core) { core.AnswerStatusForNextCalls(5, 2); });
    EXPECT_EQ(c.SetChannelLevels(0, 1, 10, 20), 5);
    uint16_t left = 0, right = 0;
    EXPECT_EQ(c.GetChannelLevels(0, 1, &left, &right), 5);
    EXPECT_EQ(left, 65535);
    EXPECT_EQ(c.GetChannelLevels(0, 1, &left, &right), 0);  // the fault is used up
}

TEST(VirtualCard, FailedCallsAreCountedAndReportTheDelay) {
    CVirtualCard core;
    core.Reset();
    core.FailNextCalls(2);
    core.SetDelayMs(15);
    uint8_t request[kVcRequestSize] = {};
    const Call first = Send(core, 4440, request);
    EXPECT_FALSE(first.ok);
    EXPECT_EQ(first.delayMs, 15u);
    EXPECT_EQ(first.replyBytes, 0u);
    EXPECT_FALSE(Send(core, 4440, request).ok);
    EXPECT_TRUE(Send(core, 4440, request).ok);
    EXPECT_EQ(core.RequestCount(), 3u);
}

TEST(VirtualCard, AnArmedDelayIsReportedCappedAtTenSeconds) {
    const struct {
        uint32_t armed, reported;
    } cases[] = {{0, 0}, {1, 1}, {9999, 9999}, {10000, 10000}, {10001, 10000}, {0xFFFFFFFF, 10000}};
    for (const auto& c : cases) {
        CVirtualCard core;
        core.Reset();
        core.SetDelayMs(c.armed);
        uint8_t request[kVcRequestSize] = {};
        EXPECT_EQ(Send(core, 4440, request).delayMs, c.reported) << c.armed;
    }
}

}  // namespace
