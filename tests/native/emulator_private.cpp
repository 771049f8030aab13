// The private codes through which the driver's clients read and change the card.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

#include "device_harness.h"

namespace {

VcPrivateReply Private(CVirtualCard& core, uint32_t code, uint32_t card, uint32_t index, uint32_t value,
                       uint32_t extra = 0) {
    const VcPrivateRequest request{card, index, value, {extra, 0, 0}};
    VcPrivateReply reply{0xFFFFFFFF, 0xFFFFFFFF};
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(code, &request, sizeof request, &reply, sizeof reply, &bytes, &delay));
    EXPECT_EQ(bytes, sizeof reply);
    EXPECT_EQ(delay, 0u);
    return reply;
}

VcCardSnapshot ReadCard(CVirtualCard& core, uint32_t card) {
    const VcPrivateRequest request{card, 0, 0, {}};
    VcCardSnapshot snapshot{};
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(kVcReadCard, &request, sizeof request, &snapshot, sizeof snapshot, &bytes, &delay));
    EXPECT_EQ(bytes, sizeof snapshot);
    return snapshot;
}

VcGlobalSnapshot ReadGlobal(CVirtualCard& core) {
    const VcPrivateRequest request{};
    VcGlobalSnapshot snapshot{};
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(kVcReadGlobal, &request, sizeof request, &snapshot, sizeof snapshot, &bytes, &delay));
    return snapshot;
}

TEST(PrivateCodes, TheSnapshotShowsWhatTheProtocolChanged) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    c.SetChannelLevels(0, 10, 0x1234, 0x5678);
    c.SetChannelControl(0, 4, 0);
    c.SetClockMode(0, 3);
    c.SetAutoSync(0, 0);
    c.SetStreamSync(0, 1, 7, 0);
    c.SaveDefaults(0);
    c.SetChannelLevels(0, 10, 1, 2);
    c.FreeCard(0);
    const VcCardSnapshot s = rig.Core([](CVirtualCard& core) { return ReadCard(core, 0); });
    EXPECT_EQ(s.status, kVcOk);
    EXPECT_EQ(s.version, kVcSnapshotVersion);
    EXPECT_EQ(s.size, sizeof(VcCardSnapshot));
    EXPECT_EQ(s.answers, 1u);
    EXPECT_EQ(s.left[10], 1u);
    EXPECT_EQ(s.right[10], 2u);
    EXPECT_EQ(s.defaultLeft[10], 0x1234u);
    EXPECT_EQ(s.defaultRight[10], 0x5678u);
    EXPECT_EQ(s.control[4], 0u);
    EXPECT_EQ(s.defaultControl[4], 0u);
    EXPECT_EQ(s.control[3], 1u);
    EXPECT_EQ(s.clockMode, 3u);
    EXPECT_EQ(s.defaultClockMode, 3u);
    EXPECT_EQ(s.autoSync, 0u);
    EXPECT_EQ(s.playbackSync[7], 0u);
    EXPECT_EQ(s.defaultPlaybackSync[7], 0u);
    EXPECT_EQ(s.isFree, 1u);
    EXPECT_EQ(s.clockMeasurement, VcClockMeasurementFor(3));
    EXPECT_EQ(s.fpgaRevision, 0x0107u);
    EXPECT_EQ(s.cardState, 1u);
}

TEST(PrivateCodes, TheSnapshotIsLittleEndianWordsAtFixedOffsets) {
    CVirtualCard core;
    core.Reset();
    core.Card(2).settings.left[3] = 0xBEEF;
    core.Card(2).fpgaRevision = 0x01020304;
    const VcPrivateRequest request{2, 0, 0, {}};
    uint8_t raw[sizeof(VcCardSnapshot) + 16];
    std::memset(raw, 0xA5, sizeof raw);
    uint32_t bytes = 0, delay = 0;
    ASSERT_TRUE(core.Dispatch(kVcReadCard, &request, sizeof request, raw, sizeof raw, &bytes, &delay));
    EXPECT_EQ(bytes, sizeof(VcCardSnapshot));
    EXPECT_EQ(Word32(raw, offsetof(VcCardSnapshot, card)), 2u);
    EXPECT_EQ(Word32(raw, offsetof(VcCardSnapshot, left) + 3 * 4), 0xBEEFu);
    const size_t fpga = offsetof(VcCardSnapshot, fpgaRevision);
    EXPECT_EQ(raw[fpga], 0x04);
    EXPECT_EQ(raw[fpga + 3], 0x01);
    EXPECT_EQ(raw[sizeof(VcCardSnapshot)], 0xA5);  // nothing beyond the snapshot
}

struct SetterCase {
    const char* name;
    uint32_t code;
    uint32_t index;
    uint32_t value;
    // Reads back through the protocol what the setter changed.
    std::function<uint32_t(CCardControl&)> read;
};

void PrintTo(const SetterCase& c, std::ostream* os) { *os << c.name; }

uint32_t Query(CCardControl& c, uint32_t selector, uint32_t item) {
    uint32_t value = 0;
    EXPECT_EQ(c.QueryStatus(0, 0, selector, item, &value), 0);
    return value;
}

class Setters : public ::testing::TestWithParam<SetterCase> {};

TEST_P(Setters, ChangeWhatTheProtocolReads) {
    const SetterCase& c = GetParam();
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    const VcPrivateReply reply = rig.Core([&](CVirtualCard& core) { return Private(core, c.code, 0, c.index, c.value); });
    EXPECT_EQ(reply.status, kVcOk);
    EXPECT_EQ(c.read(control), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Setters,
    ::testing::Values(
        SetterCase{"RecordStream", kVcSetStreamState, 5, 3, [](CCardControl& c) { return Query(c, 14, 5); }},
        SetterCase{"PlaybackStream", kVcSetStreamState, 16 + 9, 2, [](CCardControl& c) { return Query(c, 15, 9); }},
        SetterCase{"CardState", kVcSetCardState, 0, 7, [](CCardControl& c) { return Query(c, 12, 0); }},
        SetterCase{"DmaStatus", kVcSetDmaStatus, 0, 3, [](CCardControl& c) { return Query(c, 13, 0); }},
        SetterCase{"MultiPlaying", kVcSetMultiPlaying, 0, 1, [](CCardControl& c) { return Query(c, 16, 0); }},
        SetterCase{"DmaErrorCount", kVcSetDmaErrorCount, 0, 41, [](CCardControl& c) { return Query(c, 17, 0); }},
        SetterCase{"FpgaRevision", kVcSetFpgaRevision, 0, 0x0210, [](CCardControl& c) { return Query(c, 11, 0); }},
        SetterCase{"ClockMeasurement", kVcSetClockMeasurement, 0, 1016,
                   [](CCardControl& c) { return Query(c, 6, 0) - 5; }}),
    [](const ::testing::TestParamInfo<SetterCase>& info) { return std::string(info.param.name); });

TEST(PrivateCodes, StreamStatesOutsideTheStreamsAreRefused) {
    CVirtualCard core;
    core.Reset();
    EXPECT_EQ(Private(core, kVcSetStreamState, 0, 6, 3).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetStreamState, 0, 16 + 10, 3).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetStreamState, 0, 32, 3).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetCardState, 4, 0, 3).status, kVcBadArgument);
    EXPECT_EQ(ReadCard(core, 4).status, kVcBadArgument);
}

TEST(PrivateCodes, CardCountAndIdentificationWordsShapeDiscovery) {
    VirtualCardRig rig;
    rig.Core([](CVirtualCard& core) {
        EXPECT_EQ(Private(core, kVcSetCardCount, 0, 0, 3).status, kVcOk);
        EXPECT_EQ(Private(core, kVcSetIdWords, 1, 0, 0x22221111, 0x44443333).status, kVcOk);
        EXPECT_EQ(Private(core, kVcSetCardCount, 0, 0, 5).status, kVcBadArgument);
    });
    CCardControl& c = rig.Build();
    ASSERT_EQ(c.GetCardCount(), 3u);
    EXPECT_EQ(rig.Record(1).idWord0, 0x1111);
    EXPECT_EQ(rig.Record(1).idWord1, 0x2222);
    EXPECT_EQ(rig.Record(1).idWord2, 0x3333);
    EXPECT_EQ(rig.Record(1).idWord3, 0x4444);

    rig.Core([](CVirtualCard& core) { Private(core, kVcSetAnswerMask, 0, 0, 0x8); });
    rig.Build();
    ASSERT_EQ(rig.control->GetCardCount(), 1u);
    EXPECT_EQ(rig.Record(0).driverIndex, 3u);

    rig.Core([](CVirtualCard& core) { Private(core, kVcSetCardCount, 0, 0, 0); });
    EXPECT_EQ(rig.Build().GetCardCount(), 0u);
}

TEST(PrivateCodes, FaultsReachTheProtocolButNotThePrivateCodes) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    rig.Core([](CVirtualCard& core) {
        Private(core, kVcFaultStatus, 0, 2, 5);
        Private(core, kVcFaultFail, 0, 1, 0);
        Private(core, kVcFaultDelay, 0, 0, 12);
        const VcGlobalSnapshot g = ReadGlobal(core);
        EXPECT_EQ(g.faultStatus, 5u);
        EXPECT_EQ(g.faultStatusCalls, 2u);
        EXPECT_EQ(g.faultFailCalls, 1u);
        EXPECT_EQ(g.delayMs, 12u);
        core.SetDelayMs(0);
    });
    EXPECT_EQ(c.SaveDefaults(0), kDriverCallFailed);
    EXPECT_EQ(c.SaveDefaults(0), 5);
    EXPECT_EQ(c.SaveDefaults(0), 5);
    EXPECT_EQ(c.SaveDefaults(0), 0);
}

TEST(PrivateCodes, ThePublicDelayIsReportedAndPrivateRequestsAreNotDelayed) {
    CVirtualCard core;
    core.Reset();
    Private(core, kVcFaultDelay, 0, 0, 30);
    uint8_t request[kVcRequestSize] = {};
    uint8_t reply[kVcReplySize];
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(4440, request, sizeof request, reply, sizeof reply, &bytes, &delay));
    EXPECT_EQ(delay, 30u);
    Private(core, kVcSetCardState, 0, 0, 1);  // checks a zero delay itself
}

TEST(PrivateCodes, AreNeitherLoggedNorCounted) {
    VirtualCardRig rig;
    rig.Build();
    const VcGlobalSnapshot g = rig.Core([](CVirtualCard& core) {
        ReadCard(core, 0);
        Private(core, kVcSetDmaErrorCount, 0, 0, 3);
        return ReadGlobal(core);
    });
    EXPECT_EQ(g.requestCount, 7u);  // discovery only
    EXPECT_EQ(rig.RequestCount(), 7u);
    EXPECT_EQ(rig.Log().size(), 7u);
}

TEST(PrivateCodes, ShortBuffersAreRefusedWritingNothing) {
    CVirtualCard core;
    core.Reset();
    const VcPrivateRequest request{};
    uint8_t reply[sizeof(VcCardSnapshot)];
    std::memset(reply, 0xA5, sizeof reply);
    uint32_t bytes = 0, delay = 0;
    EXPECT_FALSE(core.Dispatch(kVcReadCard, &request, sizeof request, reply, sizeof reply - 1, &bytes, &delay));
    EXPECT_FALSE(core.Dispatch(kVcSetCardState, &request, sizeof request - 1, reply, sizeof reply, &bytes, &delay));
    EXPECT_FALSE(core.Dispatch(kVcSetCardState, &request, sizeof request, reply, 7, &bytes, &delay));
    for (uint8_t b : reply) EXPECT_EQ(b, 0xA5);
    EXPECT_EQ(core.Card(0).cardState, 1u);
}

TEST(PrivateCodes, ResetPutsEverythingBackToTheLoadState) {
    VirtualCardRig rig;
    CCardControl& c = rig.Build();
    c.SetChannelLevels(0, 0, 1, 1);
    c.SetClockMode(0, 7);
    rig.Core([](CVirtualCard& core) {
        Private(core, kVcSetCardCount, 0, 0, 4);
        Private(core, kVcSetDmaErrorCount, 0, 0, 9);
        Private(core, kVcFaultFail, 0, 3, 0);
        EXPECT_EQ(Private(core, kVcResetToLoad, 0, 0, 0).status, kVcOk);
        const VcGlobalSnapshot g = ReadGlobal(core);
        EXPECT_EQ(g.answerMask, 1u);
        EXPECT_EQ(g.faultFailCalls, 0u);
        EXPECT_EQ(g.requestCount, 0u);
        const VcCardSnapshot s = ReadCard(core, 0);
        EXPECT_EQ(s.left[0], 65535u);
        EXPECT_EQ(s.clockMode, 0u);
        EXPECT_EQ(s.clockMeasurement, VcClockMeasurementFor(0));
        EXPECT_EQ(s.dmaErrorCount, 0u);
    });
    uint16_t left = 0, right = 0;
    EXPECT_EQ(c.GetChannelLevels(0, 0, &left, &right), 0);
    EXPECT_EQ(left, 65535);
}

}  // namespace
