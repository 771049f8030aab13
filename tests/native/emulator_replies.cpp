// The virtual card's exact state at load and the exact bytes of its replies, with
// every request word it parses carrying four distinct bytes, so that a word read
// short, byte-swapped or from the wrong offset changes the outcome.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "device/Words.h"
#include "device_harness.h"

namespace {

constexpr uint8_t kUntouched = 0xA5;

struct Request {
    uint8_t bytes[kVcRequestSize] = {};
    Request& W32(uint32_t offset, uint32_t value) {
        PutWord32(bytes, offset, value);
        return *this;
    }
    Request& W16(uint32_t offset, uint16_t value) {
        PutWord16(bytes, offset, value);
        return *this;
    }
};

struct Reply {
    bool ok = false;
    uint8_t bytes[kVcReplySize];
    uint32_t Word(uint32_t offset) const { return GetWord32(bytes, offset); }
};

Reply Send(CVirtualCard& core, uint32_t code, const Request& request) {
    Reply r;
    std::memset(r.bytes, kUntouched, sizeof r.bytes);
    uint32_t replyBytes = 0, delay = 0;
    r.ok = core.Dispatch(code, request.bytes, sizeof request.bytes, r.bytes, sizeof r.bytes, &replyBytes, &delay);
    return r;
}

VcPrivateReply Private(CVirtualCard& core, uint32_t code, const VcPrivateRequest& request) {
    VcPrivateReply reply{0xA5A5A5A5, 0xA5A5A5A5};
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(code, &request, sizeof request, &reply, sizeof reply, &bytes, &delay));
    return reply;
}

VcCardSnapshot Snapshot(CVirtualCard& core, uint32_t slot) {
    const VcPrivateRequest request{slot, 0, 0, {}};
    VcCardSnapshot s;
    std::memset(&s, kUntouched, sizeof s);
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(kVcReadCard, &request, sizeof request, &s, sizeof s, &bytes, &delay));
    return s;
}

VcGlobalSnapshot Global(CVirtualCard& core) {
    const VcPrivateRequest request{};
    VcGlobalSnapshot s;
    std::memset(&s, kUntouched, sizeof s);
    uint32_t bytes = 0, delay = 0;
    EXPECT_TRUE(core.Dispatch(kVcReadGlobal, &request, sizeof request, &s, sizeof s, &bytes, &delay));
    return s;
}

bool SameCards(CVirtualCard& core, const VcCardSnapshot (&before)[kVcMaxCards]) {
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) {
        const VcCardSnapshot now = Snapshot(core, slot);
        if (std::memcmp(&now, &before[slot], sizeof now) != 0) return false;
    }
    return true;
}

class Loaded : public ::testing::Test {
protected:
    void SetUp() override { core.Reset(); }
    CVirtualCard core;
};

TEST_F(Loaded, EveryFieldOfEverySlotHoldsTheDemoCard) {
    const uint32_t left[kVcChannels] = {65535, 65535, 65535, 65535, 65535, 65535, 40000, 65535, 65535, 32768, 65535};
    const uint32_t right[kVcChannels] = {65535, 49152, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 32768, 65535};
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        const VcCardSnapshot s = Snapshot(core, slot);
        EXPECT_EQ(s.status, kVcOk);
        EXPECT_EQ(s.version, 1u);
        EXPECT_EQ(s.size, sizeof(VcCardSnapshot));
        EXPECT_EQ(s.card, slot);
        EXPECT_EQ(s.answers, slot == 0 ? 1u : 0u);
        EXPECT_EQ(s.rangeFails, 0u);
        EXPECT_EQ(s.idWords[0], 0x1A3Cu);
        EXPECT_EQ(s.idWords[1], 0x0601u);
        EXPECT_EQ(s.idWords[2], 0x0010u + slot);
        EXPECT_EQ(s.idWords[3], 0x0002u);
        EXPECT_EQ(s.isFree, 0u);
        EXPECT_EQ(s.rangeStart[0], 0xE000u + 0x100u * slot);
        EXPECT_EQ(s.rangeLength[0], 0x100u);
        EXPECT_EQ(s.rangeStart[1], 0xF4000000u + 0x10000u * slot);
        EXPECT_EQ(s.rangeLength[1], 0x10000u);
        for (uint32_t c = 0; c < kVcChannels; ++c) {
            EXPECT_EQ(s.left[c], left[c]) << "channel " << c;
            EXPECT_EQ(s.right[c], right[c]) << "channel " << c;
            EXPECT_EQ(s.control[c], 1u) << "channel " << c;
            EXPECT_EQ(s.defaultLeft[c], left[c]) << "channel " << c;
            EXPECT_EQ(s.defaultRight[c], right[c]) << "channel " << c;
            EXPECT_EQ(s.defaultControl[c], 1u) << "channel " << c;
        }
        EXPECT_EQ(s.clockMode, 0u);
        EXPECT_EQ(s.defaultClockMode, 0u);
        EXPECT_EQ(s.autoSync, 1u);
        EXPECT_EQ(s.defaultAutoSync, 1u);
        for (uint32_t i = 0; i < kVcRecordStreams; ++i) {
            EXPECT_EQ(s.recordSync[i], 1u) << "record " << i;
            EXPECT_EQ(s.defaultRecordSync[i], 1u) << "record " << i;
            EXPECT_EQ(s.recordState[i], 0u) << "record " << i;
        }
        for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) {
            EXPECT_EQ(s.playbackSync[i], 1u) << "playback " << i;
            EXPECT_EQ(s.defaultPlaybackSync[i], 1u) << "playback " << i;
            EXPECT_EQ(s.playbackState[i], 0u) << "playback " << i;
        }
        EXPECT_EQ(s.defaultsWord, 1u);
        EXPECT_EQ(s.cardState, 1u);
        EXPECT_EQ(s.dmaStatus, 1u);
        EXPECT_EQ(s.multiPlaying, 0u);
        EXPECT_EQ(s.dmaErrorCount, 0u);
        EXPECT_EQ(s.fpgaRevision, 0x0107u);
        EXPECT_EQ(s.clockMeasurement, 933u);  // 48000 Hz: 45056000 / (933 + 5 + 1)
    }
    const VcGlobalSnapshot g = Global(core);
    EXPECT_EQ(g.status, kVcOk);
    EXPECT_EQ(g.version, 1u);
    EXPECT_EQ(g.size, sizeof(VcGlobalSnapshot));
    EXPECT_EQ(g.answerMask, 1u);
    EXPECT_EQ(g.faultStatus, 0u);
    EXPECT_EQ(g.faultStatusCalls, 0u);
    EXPECT_EQ(g.faultFailCalls, 0u);
    EXPECT_EQ(g.delayMs, 0u);
    EXPECT_EQ(g.requestCount, 0u);
    EXPECT_EQ(g.nextClientId, 0x100u);
    EXPECT_EQ(g.lastRequestTicksLow, 0u);
    EXPECT_EQ(g.lastRequestTicksHigh, 0u);
}

TEST_F(Loaded, ASnapshotOfASlotBeyondTheCardsIsZeroButItsHeader) {
    for (uint32_t slot : {4u, 0x01020304u, 0xFFFFFFFFu}) {
        const VcCardSnapshot s = Snapshot(core, slot);
        EXPECT_EQ(s.status, kVcBadArgument);
        EXPECT_EQ(s.version, 1u);
        EXPECT_EQ(s.size, sizeof(VcCardSnapshot));
        EXPECT_EQ(s.card, slot);
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&s);
        for (size_t i = offsetof(VcCardSnapshot, answers); i < sizeof s; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
}

// Every reply is 28 bytes: the status, the values the request reads, zero elsewhere.
// A word that must be small is refused when its upper half is set, even though its
// low half alone would be valid.
struct ReplyCase {
    const char* name;
    uint32_t code;
    Request request;
    uint32_t words[7];
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class ExactReplies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ExactReplies, AreTheStatusAndValuesWithEveryOtherByteZero) {
    const ReplyCase& c = GetParam();
    CVirtualCard core;
    core.Reset();
    core.SetAnswerMask(0x5);
    core.Card(2).isFree = 0x0A0B0C0D;
    const Reply r = Send(core, c.code, c.request);
    ASSERT_TRUE(r.ok);
    for (uint32_t w = 0; w < 7; ++w) EXPECT_EQ(r.Word(4 * w), c.words[w]) << "word " << w;
}

constexpr uint32_t kNoCard = kVcNoSuchCard;
constexpr uint32_t kBad = kVcBadArgument;

INSTANTIATE_TEST_SUITE_P(
    Table, ExactReplies,
    ::testing::Values(
        ReplyCase{"ClientRequest", 4403, Request(), {0, 0x100, 0, 0, 0, 0, 0}},
        ReplyCase{"CardRequest", 4411, Request().W32(4, 2), {0, 0, 0, 0x06011A3C, 0x00020012, 0, 0x0A0B0C0D}},
        ReplyCase{"CardRequestSilentIndex", 4411, Request().W32(4, 1), {kNoCard, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"CardRequestIndexWithHighBytes", 4411, Request().W32(4, 0x0C0B0002), {kNoCard, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"IoRange", 4491, Request().W32(4, 2), {0, 1, 2, 0xE200, 0x100, 0, 0}},
        ReplyCase{"MemoryRange", 4491, Request().W32(4, 2).W32(8, 1), {0, 0, 2, 0xF4020000, 0x10000, 0, 0}},
        ReplyCase{"RangeWithHighBytes", 4491, Request().W32(4, 2).W32(8, 0x0A0B0001), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"OperationOnSilentIndex", 4440, Request().W32(4, 3), {kNoCard, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"OperationIndexWithHighBytes", 4440, Request().W32(4, 0x0C0B0002), {kNoCard, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"AutoSync", 4490, Request(), {0, 1, 0, 0, 0, 0, 0}},
        ReplyCase{"Levels", 4482, Request().W32(8, 9), {0, 32768, 32768, 0, 0, 0, 0}},
        ReplyCase{"LevelsChannel11", 4482, Request().W32(8, 11), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"LevelsChannelWithHighBytes", 4482, Request().W32(8, 0x0C0B0009), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"Control", 4483, Request().W32(8, 10), {0, 1, 0, 0, 0, 0, 0}},
        ReplyCase{"ControlChannelWithHighBytes", 4483, Request().W32(8, 0x0C0B0009), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"ClockMode", 4440, Request(), {0, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"DefaultsWord", 4500, Request(), {0, 1, 0, 0, 0, 0, 0}},
        ReplyCase{"CardState", 4412, Request().W32(16, 12), {0, 1, 0, 0, 0, 0, 0}},
        ReplyCase{"SelectorWithHighBytes", 4412, Request().W32(16, 0x0D0B000C), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"RecordItemWithHighBytes", 4412, Request().W32(16, 14).W32(20, 0x0C0B0005), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"FpgaRegister", 4432, Request().W32(20, 4137), {0, 0x0107, 0, 0, 0, 0, 0}},
        ReplyCase{"RegisterWithHighBytes", 4432, Request().W32(20, 0x0C0B1029), {0, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"ClockRegister", 4432, Request().W32(20, 61), {0, 933, 0, 0, 0, 0, 0}},
        ReplyCase{"StreamSync", 4486, Request().W32(16, 1).W16(20, 9), {0, 1, 0, 0, 0, 0, 0}},
        ReplyCase{"SyncDirectionWithHighBytes", 4486, Request().W32(16, 0x0C0B0001), {kBad, 0, 0, 0, 0, 0, 0}},
        ReplyCase{"SyncStreamWithHighByte", 4486, Request().W32(16, 0).W16(20, 0x0105), {kBad, 0, 0, 0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(ExactReplies, AnUnknownCodeIsRefusedAndAnUnlistedOperationIsNotACardOperation) {
    CVirtualCard core;
    core.Reset();
    EXPECT_FALSE(Send(core, 4413, Request()).ok);
    EXPECT_FALSE(Send(core, 4401, Request()).ok);
}

// A request that changes the card, with the change read back through the snapshot.
struct ChangeCase {
    const char* name;
    uint32_t code;
    Request request;
    uint32_t status;
    bool (*changed)(const VcCardSnapshot& s);  // null: nothing may change
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class Changes : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(Changes, StoreExactlyWhatTheRequestSaysOrNothing) {
    const ChangeCase& c = GetParam();
    CVirtualCard core;
    core.Reset();
    VcCardSnapshot before[kVcMaxCards];
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) before[slot] = Snapshot(core, slot);
    const Reply r = Send(core, c.code, c.request);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Word(0), c.status);
    if (c.changed) {
        EXPECT_TRUE(c.changed(Snapshot(core, 0)));
    } else {
        EXPECT_TRUE(SameCards(core, before));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Changes,
    ::testing::Values(
        ChangeCase{"Levels", 4481, Request().W16(20, 10).W16(22, 0x1234).W16(24, 0xABCD), 0,
                   [](const VcCardSnapshot& s) { return s.left[10] == 0x1234 && s.right[10] == 0xABCD && s.left[0] == 65535; }},
        ChangeCase{"LevelsChannel11", 4481, Request().W16(20, 11).W16(22, 0x1234).W16(24, 0xABCD), kBad, nullptr},
        ChangeCase{"LevelsChannelWithHighByte", 4481, Request().W16(20, 0x010A).W16(22, 0x1234).W16(24, 0xABCD), kBad,
                   nullptr},
        ChangeCase{"LevelsIndexWithHighBytes", 4481, Request().W32(4, 0x0C0B0002).W16(20, 1).W16(22, 0x1234), kNoCard,
                   nullptr},
        ChangeCase{"ClockMode", 4439, Request().W32(16, 5), 0,
                   [](const VcCardSnapshot& s) { return s.clockMode == 5 && s.clockMeasurement == VcClockMeasurementFor(5); }},
        ChangeCase{"ClockModeWithHighBytes", 4439, Request().W32(16, 0x0C0B0005), kBad, nullptr},
        ChangeCase{"ControlOff", 4484, Request().W32(8, 7), 0,
                   [](const VcCardSnapshot& s) { return s.control[7] == 0 && s.control[6] == 1; }},
        ChangeCase{"ControlOffChannelWithHighBytes", 4484, Request().W32(8, 0x0C0B0007), kBad, nullptr},
        ChangeCase{"SyncOffWithHighByteFlag", 4487, Request().W32(16, 1).W16(20, 4).W16(22, 0x0100), 0,
                   [](const VcCardSnapshot& s) { return s.playbackSync[4] == 1; }},
        ChangeCase{"SyncOff", 4487, Request().W32(16, 1).W16(20, 4).W16(22, 0), 0,
                   [](const VcCardSnapshot& s) { return s.playbackSync[4] == 0 && s.recordSync[4] == 1; }},
        ChangeCase{"SyncStreamWithHighByte", 4487, Request().W32(16, 0).W16(20, 0x0102).W16(22, 0), kBad, nullptr},
        ChangeCase{"SyncDirectionWithHighBytes", 4487, Request().W32(16, 0x0C0B0001).W16(20, 2).W16(22, 0), kBad,
                   nullptr},
        ChangeCase{"AutoSyncOff", 4488, Request(), 0, [](const VcCardSnapshot& s) { return s.autoSync == 0; }}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

TEST(ExactReplies, AutoSyncOnReadsBackOne) {
    CVirtualCard core;
    core.Reset();
    ASSERT_EQ(Send(core, 4488, Request()).Word(0), 0u);
    EXPECT_EQ(Send(core, 4490, Request()).Word(4), 0u);
    ASSERT_EQ(Send(core, 4489, Request()).Word(0), 0u);
    EXPECT_EQ(Send(core, 4490, Request()).Word(4), 1u);
}

TEST(ExactReplies, ARefusedStatusArmedForTheNextCallsIsAtOffsetZeroAndChangesNothing) {
    CVirtualCard core;
    core.Reset();
    VcCardSnapshot before[kVcMaxCards];
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) before[slot] = Snapshot(core, slot);
    core.AnswerStatusForNextCalls(0xC0DE0F01, 1);
    const Reply r = Send(core, 4481, Request().W16(20, 2).W16(22, 0x1234).W16(24, 0xABCD));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Word(0), 0xC0DE0F01u);
    for (uint32_t w = 1; w < 7; ++w) EXPECT_EQ(r.Word(4 * w), 0u) << "word " << w;
    EXPECT_TRUE(SameCards(core, before));
}

TEST(ExactReplies, TheLastRequestsStampIsTheHoldersUntilAReset) {
    CVirtualCard core;
    core.Reset();
    core.StampLastRequest(0x0102030405060708);
    const VcGlobalSnapshot g = Global(core);
    EXPECT_EQ(g.lastRequestTicksLow, 0x05060708u);
    EXPECT_EQ(g.lastRequestTicksHigh, 0x01020304u);
    Private(core, kVcResetToLoad, {});
    EXPECT_EQ(Global(core).lastRequestTicksHigh, 0u);
}

// Private requests: every word with four distinct bytes, stored whole or refused.
// Words that must be small carry a valid low half, so that a short read accepts them.
TEST(PrivateWords, CardSettersStoreTheWholeValue) {
    CVirtualCard core;
    core.Reset();
    const VcPrivateReply reply = Private(core, kVcSetCardState, {1, 0x0A0B0C0D, 0x04030201, {}});
    EXPECT_EQ(reply.status, kVcOk);
    EXPECT_EQ(reply.value, 0x04030201u);
    EXPECT_EQ(Snapshot(core, 1).cardState, 0x04030201u);
    EXPECT_EQ(Private(core, kVcSetIdWords, {3, 0, 0x24231312, {0x44332211, 0, 0}}).status, kVcOk);
    const VcCardSnapshot ids = Snapshot(core, 3);
    EXPECT_EQ(ids.idWords[0], 0x1312u);
    EXPECT_EQ(ids.idWords[1], 0x2423u);
    EXPECT_EQ(ids.idWords[2], 0x2211u);
    EXPECT_EQ(ids.idWords[3], 0x4433u);
    EXPECT_EQ(Private(core, kVcSetStreamState, {0, 16 + 8, 0x0D0C0B0A, {}}).status, kVcOk);
    EXPECT_EQ(Snapshot(core, 0).playbackState[8], 0x0D0C0B0Au);
    core.Card(0).cardState = 0x0A0B0C0D;
    EXPECT_EQ(Send(core, 4412, Request().W32(16, 12)).Word(4), 0x0A0B0C0Du);
}

TEST(PrivateWords, SlotsIndexesAndCountsWithHighBytesAreRefused) {
    CVirtualCard core;
    core.Reset();
    VcCardSnapshot before[kVcMaxCards];
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) before[slot] = Snapshot(core, slot);
    EXPECT_EQ(Private(core, kVcSetCardState, {0x0C0B0001, 0, 7, {}}).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetStreamState, {0, 0x0C0B0005, 7, {}}).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetStreamState, {0, 0x0C0B0015, 7, {}}).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetCardCount, {0, 0, 0x0C0B0003, {}}).status, kVcBadArgument);
    EXPECT_EQ(Private(core, kVcSetAnswerMask, {0, 0, 0x0C0B000F, {}}).status, kVcBadArgument);
    EXPECT_TRUE(SameCards(core, before));
    EXPECT_EQ(Global(core).answerMask, 1u);
}

TEST(PrivateWords, GlobalSettersStoreTheWholeValue) {
    CVirtualCard core;
    core.Reset();
    EXPECT_EQ(Private(core, kVcFaultStatus, {0, 0x01020304, 0x0A0B0C0D, {}}).status, kVcOk);
    EXPECT_EQ(Private(core, kVcFaultFail, {0, 0x05060708, 0, {}}).status, kVcOk);
    EXPECT_EQ(Private(core, kVcFaultDelay, {0, 0, 0x01020304, {}}).status, kVcOk);
    EXPECT_EQ(Private(core, kVcSetAnswerMask, {0, 0, 0x0000000A, {}}).status, kVcOk);
    const VcGlobalSnapshot g = Global(core);
    EXPECT_EQ(g.faultStatus, 0x0A0B0C0Du);
    EXPECT_EQ(g.faultStatusCalls, 0x01020304u);
    EXPECT_EQ(g.faultFailCalls, 0x05060708u);
    EXPECT_EQ(g.delayMs, 0x01020304u);
    EXPECT_EQ(g.answerMask, 0xAu);
}

}  // namespace
