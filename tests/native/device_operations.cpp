// Card operations: the five steps, argument limits, code choice, flags, QueryStatus,
// ResetCardStop, FreeCard and the audio settings command line.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "device/ProgramLauncher.h"
#include "device/Words.h"
#include "device_harness.h"

namespace {

struct Operation {
    const char* name;
    std::function<int32_t(CCardControl&, int32_t card)> run;
};

void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }

std::vector<Operation> EveryOperation() {
    static uint32_t u32;
    static uint16_t u16;
    static uint8_t u8;
    return {
        {"ResetCardStart", [](CCardControl& c, int32_t k) { return c.ResetCardStart(k); }},
        {"ResetCardStop", [](CCardControl& c, int32_t k) { return c.ResetCardStop(k) ? 0 : kBadCardIndex; }},
        {"QueryStatus12", [](CCardControl& c, int32_t k) { return c.QueryStatus(k, 0, 12, 0, &u32); }},
        {"QueryStatus6", [](CCardControl& c, int32_t k) { return c.QueryStatus(k, 0, 6, 0, &u32); }},
        {"QueryStatus5Item12", [](CCardControl& c, int32_t k) { return c.QueryStatus(k, 0, 5, 12, &u32); }},
        {"ReadRegister", [](CCardControl& c, int32_t k) { return c.ReadRegister(k, 0, 1, 0, 4137, &u32); }},
        {"SetClockMode", [](CCardControl& c, int32_t k) { return c.SetClockMode(k, 1); }},
        {"GetClockMode", [](CCardControl& c, int32_t k) { return c.GetClockMode(k, &u32); }},
        {"SetChannelLevels", [](CCardControl& c, int32_t k) { return c.SetChannelLevels(k, 0, 1, 2); }},
        {"SetChannelLevels11", [](CCardControl& c, int32_t k) { return c.SetChannelLevels(k, 11, 1, 2); }},
        {"GetChannelLevels", [](CCardControl& c, int32_t k) { return c.GetChannelLevels(k, 0, &u16, &u16); }},
        {"GetChannelControl", [](CCardControl& c, int32_t k) { return c.GetChannelControl(k, 0, &u8); }},
        {"SetChannelControl", [](CCardControl& c, int32_t k) { return c.SetChannelControl(k, 0, 1); }},
        {"GetStreamSync", [](CCardControl& c, int32_t k) { return c.GetStreamSync(k, 0, 0, &u8); }},
        {"SetStreamSync", [](CCardControl& c, int32_t k) { return c.SetStreamSync(k, 0, 0, 1); }},
        {"SetAutoSync", [](CCardControl& c, int32_t k) { return c.SetAutoSync(k, 1); }},
        {"GetAutoSync", [](CCardControl& c, int32_t k) { return c.GetAutoSync(k, &u8); }},
        {"SaveDefaults", [](CCardControl& c, int32_t k) { return c.SaveDefaults(k); }},
        {"RetrieveDefaults", [](CCardControl& c, int32_t k) { return c.RetrieveDefaults(k); }},
        {"FreeCard", [](CCardControl& c, int32_t k) { return c.FreeCard(k); }},
        {"ReadDefaultsWord", [](CCardControl& c, int32_t k) { return c.ReadDefaultsWord(k, &u32); }},
    };
}

class BadCardIndex : public ::testing::TestWithParam<Operation> {};

TEST_P(BadCardIndex, IsRefusedWithNothingSent) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.SetCardCount(2); });
    ASSERT_EQ(control.GetCardCount(), 2u);
    const uint32_t count = rig.RequestCount();
    for (int32_t card : {2, 4, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(GetParam().run(control, card), kBadCardIndex) << "card " << card;
    }
    EXPECT_EQ(rig.RequestCount(), count);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, BadCardIndex, ::testing::ValuesIn(EveryOperation()),
                         [](const ::testing::TestParamInfo<Operation>& info) { return std::string(info.param.name); });

struct ChannelCase {
    const char* name;
    std::function<int32_t(CCardControl&, uint16_t channel)> run;
};

void PrintTo(const ChannelCase& c, std::ostream* os) { *os << c.name; }

class ChannelLimit : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(ChannelLimit, TenIsSentElevenAndAboveAreOutOfRange) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    const uint32_t count = rig.RequestCount();
    EXPECT_EQ(GetParam().run(control, 10), 0);
    EXPECT_EQ(rig.RequestCount(), count + 1);
    for (uint16_t channel : {uint16_t{11}, uint16_t{0x8000}, uint16_t{0xFFFF}}) {
        EXPECT_EQ(GetParam().run(control, channel), kArgOutOfRange) << channel;
    }
    EXPECT_EQ(rig.RequestCount(), count + 1);
}

INSTANTIATE_TEST_SUITE_P(
    ChannelOperations, ChannelLimit,
    ::testing::Values(
        ChannelCase{"SetChannelLevels", [](CCardControl& c, uint16_t ch) { return c.SetChannelLevels(0, ch, 5, 6); }},
        ChannelCase{"GetChannelLevels",
                    [](CCardControl& c, uint16_t ch) {
                        uint16_t l, r;
                        return c.GetChannelLevels(0, ch, &l, &r);
                    }},
        ChannelCase{"GetChannelControl",
                    [](CCardControl& c, uint16_t ch) {
                        uint8_t f;
                        return c.GetChannelControl(0, ch, &f);
                    }},
        ChannelCase{"SetChannelControl", [](CCardControl& c, uint16_t ch) { return c.SetChannelControl(0, ch, 1); }}),
    [](const ::testing::TestParamInfo<ChannelCase>& info) { return std::string(info.param.name); });

TEST(Operations, BadCardIndexIsCheckedBeforeTheArguments) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    uint32_t out = 0;
    EXPECT_EQ(control.SetChannelLevels(1, 11, 0, 0), kBadCardIndex);
    EXPECT_EQ(control.QueryStatus(-1, 0, 5, 12, &out), kBadCardIndex);
}

struct FlagCase {
    uint32_t flag;
    uint32_t channelCode;
    uint32_t autoSyncCode;
    uint16_t streamSyncWord;
};

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, OnlyOneMeansOn) {
    const FlagCase& c = GetParam();
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    control.SetChannelControl(0, 3, c.flag);
    EXPECT_EQ(rig.Last().code, c.channelCode);
    control.SetAutoSync(0, c.flag);
    EXPECT_EQ(rig.Last().code, c.autoSyncCode);
    control.SetStreamSync(0, 1, 4, c.flag);
    EXPECT_EQ(Word16(rig.Last().bytes, 22), c.streamSyncWord);
}

INSTANTIATE_TEST_SUITE_P(Table, Flags,
                         ::testing::Values(FlagCase{1, 4485, 4489, 1}, FlagCase{0, 4484, 4488, 0},
                                           FlagCase{2, 4484, 4488, 0}, FlagCase{0xFFFFFFFF, 4484, 4488, 0},
                                           FlagCase{0x101, 4484, 4488, 0}));

// Answers every request with the given reply words and status, counting the requests.
struct FixedReply {
    uint32_t status = 0;
    uint32_t word1 = 0;
    uint32_t word2 = 0;
    int calls = 0;
};

std::unique_ptr<DriverPort> CardWithReply(FixedReply& fixed) {
    return std::make_unique<ScriptedPort>([&fixed](uint32_t code, const uint8_t*, uint8_t* reply) {
        std::fill(reply, reply + kReplySize, 0);
        // Discovery finds one card: every index answers with the same identification words.
        if (code == 4403 || code == 4411 || code == 4491) return true;
        ++fixed.calls;
        PutWord32(reply, 0, fixed.status);
        PutWord32(reply, 4, fixed.word1);
        PutWord32(reply, 8, fixed.word2);
        return true;
    });
}

TEST(Operations, FlagsReadFromTheCardAreOneWhenNonzero) {
    for (uint32_t word : {0u, 1u, 2u, 0x100u, 0x80000000u}) {
        FixedReply fixed;
        fixed.word1 = word;
        CCardControl control(CardWithReply(fixed));
        uint8_t a = 9, b = 9, c = 9;
        control.GetChannelControl(0, 0, &a);
        control.GetStreamSync(0, 0, 0, &b);
        control.GetAutoSync(0, &c);
        const uint8_t expected = word != 0 ? 1 : 0;
        EXPECT_EQ(a, expected) << word;
        EXPECT_EQ(b, expected) << word;
        EXPECT_EQ(c, expected) << word;
    }
}

TEST(Operations, SixteenBitResultsTakeTheLowHalfOfTheReplyWord) {
    FixedReply fixed;
    fixed.word1 = 0xABCD1234;
    fixed.word2 = 0x5678FEDC;
    CCardControl control(CardWithReply(fixed));
    uint16_t left = 0, right = 0;
    uint32_t mode = 0, defaults = 0, raw = 0;
    control.GetChannelLevels(0, 1, &left, &right);
    control.GetClockMode(0, &mode);
    control.ReadDefaultsWord(0, &defaults);
    control.QueryStatus(0, 0, 16, 0, &raw);
    EXPECT_EQ(left, 0x1234);
    EXPECT_EQ(right, 0xFEDC);
    EXPECT_EQ(mode, 0x1234u);
    EXPECT_EQ(defaults, 0x1234u);
    EXPECT_EQ(raw, 0xABCD1234u);
}

TEST(Operations, ADriverStatusIsReturnedAndOutputsAreStillWritten) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    ASSERT_EQ(control.SetChannelLevels(0, 2, 1111, 2222), 0);
    rig.Core([](CVirtualCard& core) { core.AnswerStatusForNextCalls(5, 1); });
    uint16_t left = 0, right = 0;
    EXPECT_EQ(control.GetChannelLevels(0, 2, &left, &right), 5);
    EXPECT_EQ(left, 1111);
    EXPECT_EQ(right, 2222);

    FixedReply fixed{0xFFFFFF00, 7, 0, 0};
    CCardControl scripted(CardWithReply(fixed));
    uint32_t out = 0;
    EXPECT_EQ(scripted.QueryStatus(0, 0, 13, 0, &out), -256);
    EXPECT_EQ(out, 7u);
}

TEST(Operations, AFailedCallLeavesOutputsUntouched) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    rig.Core([](CVirtualCard& core) { core.FailNextCalls(4); });
    uint16_t left = 77, right = 88;
    uint8_t flag = 9;
    uint32_t mode = 55, word = 66;
    EXPECT_EQ(control.GetChannelLevels(0, 0, &left, &right), kDriverCallFailed);
    EXPECT_EQ(control.GetAutoSync(0, &flag), kDriverCallFailed);
    EXPECT_EQ(control.GetClockMode(0, &mode), kDriverCallFailed);
    EXPECT_EQ(control.ReadDefaultsWord(0, &word), kDriverCallFailed);
    EXPECT_EQ(left, 77);
    EXPECT_EQ(right, 88);
    EXPECT_EQ(flag, 9);
    EXPECT_EQ(mode, 55u);
    EXPECT_EQ(word, 66u);
}

TEST(QueryStatus, Selector5Item11ReadsAddress85AndItem12IsOutOfRange) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    uint32_t out = 0;
    EXPECT_EQ(control.QueryStatus(0, 0, 5, 11, &out), 0);
    EXPECT_EQ(rig.Last().code, 4432u);
    EXPECT_EQ(Word32(rig.Last().bytes, 20), 85u);
    const uint32_t count = rig.RequestCount();
    out = 1234;
    EXPECT_EQ(control.QueryStatus(0, 0, 5, 12, &out), kArgOutOfRange);
    EXPECT_EQ(control.QueryStatus(0, 0, 5, 0xFFFFFFFF, &out), kArgOutOfRange);
    EXPECT_EQ(out, 1234u);
    EXPECT_EQ(rig.RequestCount(), count);
}

TEST(QueryStatus, Selector6AddsFiveToTheClockMeasurement) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.Card(0).clockMeasurement = 933; });
    uint32_t out = 0;
    EXPECT_EQ(control.QueryStatus(0, 0, 6, 0, &out), 0);
    EXPECT_EQ(out, 938u);
}

struct Selector6Case {
    const char* name;
    std::vector<int32_t> attempts;  // per attempt: -1 the call fails, else the driver status
    uint32_t registerValue;
    int32_t expectedStatus;
    uint32_t expectedOut;  // 0x0A0B0C0D means untouched
};

void PrintTo(const Selector6Case& c, std::ostream* os) { *os << c.name; }

class Selector6 : public ::testing::TestWithParam<Selector6Case> {};

TEST_P(Selector6, AddsFiveOnlyToAValueThatWasRead) {
    const Selector6Case& c = GetParam();
    size_t calls = 0;
    CCardControl control(std::make_unique<ScriptedPort>([&](uint32_t code, const uint8_t* request, uint8_t* reply) {
        std::fill(reply, reply + kReplySize, 0);
        if (code != 4432) return code == 4403 || Word32(request, 4) == 0;  // one card, index 0
        const int32_t attempt = c.attempts[std::min(calls++, c.attempts.size() - 1)];
        if (attempt < 0) return false;
        PutWord32(reply, 0, static_cast<uint32_t>(attempt));
        PutWord32(reply, 4, c.registerValue);
        return true;
    }));
    ASSERT_EQ(control.GetCardCount(), 1u);
    uint32_t out = 0x0A0B0C0D;
    EXPECT_EQ(control.QueryStatus(0, 0, 6, 0, &out), c.expectedStatus);
    EXPECT_EQ(out, c.expectedOut);
    EXPECT_EQ(calls, c.attempts.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Selector6,
    ::testing::Values(Selector6Case{"Read", {0}, 933, 0, 938},
                      Selector6Case{"TwoFailures", {-1, -1}, 933, kDriverCallFailed, 0x0A0B0C0D},
                      Selector6Case{"FailedThenRead", {-1, 0}, 0x01020304, 0, 0x01020309},
                      Selector6Case{"FailedThenStatus", {-1, 7}, 100, 7, 105},
                      Selector6Case{"StatusThenFailed", {7, -1}, 100, kDriverCallFailed, 105}),
    [](const ::testing::TestParamInfo<Selector6Case>& info) { return std::string(info.param.name); });

TEST(QueryStatus, RegisterReadsOtherThanSixLeaveTheOutputAloneWhenBothAttemptsFail) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    for (uint32_t selector = 3; selector <= 11; ++selector) {
        rig.Core([](CVirtualCard& core) { core.FailNextCalls(2); });
        uint32_t out = 0x0A0B0C0D;
        EXPECT_EQ(control.QueryStatus(0, 0, selector, 0, &out), kDriverCallFailed) << selector;
        EXPECT_EQ(out, 0x0A0B0C0Du) << selector;
    }
}

struct Selector2Case {
    const char* name;
    std::vector<int32_t> attempts;  // per attempt: -1 the call fails, else the driver status
    uint32_t registerValue;
    int32_t expectedStatus;
    uint32_t expectedOut;  // 77 means untouched
    int expectedCalls;
};

void PrintTo(const Selector2Case& c, std::ostream* os) { *os << c.name; }

class Selector2 : public ::testing::TestWithParam<Selector2Case> {};

TEST_P(Selector2, TestsBit4AndRetriesOnce) {
    const Selector2Case& c = GetParam();
    int calls = 0;
    CCardControl control(std::make_unique<ScriptedPort>([&](uint32_t code, const uint8_t* request, uint8_t* reply) {
        std::fill(reply, reply + kReplySize, 0);
        if (code != 4432) return code == 4403 || Word32(request, 4) == 0;  // one card, index 0
        EXPECT_EQ(Word32(request, 20), 35u);
        EXPECT_EQ(Word32(request, 8), 6u);  // the bank is the space
        const int32_t attempt = c.attempts[std::min<size_t>(calls++, c.attempts.size() - 1)];
        if (attempt < 0) return false;
        PutWord32(reply, 0, static_cast<uint32_t>(attempt));
        PutWord32(reply, 4, c.registerValue);
        return true;
    }));
    ASSERT_EQ(control.GetCardCount(), 1u);
    uint32_t out = 77;
    EXPECT_EQ(control.QueryStatus(0, 6, 2, 0, &out), c.expectedStatus);
    EXPECT_EQ(out, c.expectedOut);
    EXPECT_EQ(calls, c.expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Selector2,
    ::testing::Values(Selector2Case{"Bit4Set", {0}, 0x10, 0, 0, 1}, Selector2Case{"Zero", {0}, 0x00, 0, 1, 1},
                      Selector2Case{"AllButBit4", {0}, 0xEF, 0, 1, 1},
                      Selector2Case{"FailedThenSucceeded", {-1, 0}, 0x00, 0, 1, 2},
                      Selector2Case{"StatusThenSucceeded", {4, 0}, 0x10, 0, 0, 2},
                      Selector2Case{"TwoFailures", {-1, -1}, 0x00, kDriverCallFailed, 77, 2},
                      Selector2Case{"FailureThenStatus", {-1, 9}, 0x00, 9, 77, 2}),
    [](const ::testing::TestParamInfo<Selector2Case>& info) { return std::string(info.param.name); });

TEST(QueryStatus, RegisterReadsRetryOnlyAfterANonzeroResult) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    uint32_t out = 0;
    for (uint32_t selector = 2; selector <= 11; ++selector) {
        const uint32_t count = rig.RequestCount();
        EXPECT_EQ(control.QueryStatus(0, 0, selector, 0, &out), 0) << selector;
        EXPECT_EQ(rig.RequestCount(), count + 1) << selector;
    }
    rig.Core([](CVirtualCard& core) { core.AnswerStatusForNextCalls(3, 1); });
    const uint32_t count = rig.RequestCount();
    out = 0;
    EXPECT_EQ(control.QueryStatus(0, 0, 11, 0, &out), 0);
    EXPECT_EQ(out, 0x0107u);
    EXPECT_EQ(rig.RequestCount(), count + 2);
}

TEST(ResetCardStop, IsTrueOnlyForASucceededCallWithStatusZero) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    EXPECT_TRUE(control.ResetCardStop(0));
    rig.Core([](CVirtualCard& core) { core.AnswerStatusForNextCalls(1, 1); });
    EXPECT_FALSE(control.ResetCardStop(0));
    rig.Core([](CVirtualCard& core) { core.FailNextCalls(1); });
    EXPECT_FALSE(control.ResetCardStop(0));
    EXPECT_FALSE(control.ResetCardStop(1));
    EXPECT_EQ(rig.Last().code, 4409u);
}

TEST(FreeCard, SuccessMarksTheRecordFree) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    DriverLinkPeer::SetCardRef(*control.link(), 0, 0x1A2B3C4D);
    ASSERT_EQ(rig.Record(0).isFree, 0u);
    EXPECT_EQ(control.FreeCard(0), 0);
    EXPECT_EQ(rig.Record(0).isFree, 1u);
    EXPECT_EQ(rig.Record(0).cardRef, 0u);
}

TEST(FreeCard, ANonzeroStatusOrAFailedCallChangesNothing) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.Card(0).isFree = 0x20; });
    DriverLinkPeer::SetCardRef(*control.link(), 0, 0x1A2B3C4D);
    const CardRecord before = rig.Record(0);
    rig.Core([](CVirtualCard& core) { core.AnswerStatusForNextCalls(7, 1); });
    EXPECT_EQ(control.FreeCard(0), 7);
    EXPECT_EQ(rig.Record(0).isFree, before.isFree);
    EXPECT_EQ(rig.Record(0).cardRef, before.cardRef);
    rig.Core([](CVirtualCard& core) { core.FailNextCalls(1); });
    EXPECT_EQ(control.FreeCard(0), kDriverCallFailed);
    EXPECT_EQ(rig.Record(0).isFree, 0x20u);
    EXPECT_EQ(rig.Record(0).cardRef, 0x1A2B3C4Du);
}

std::vector<std::string> g_launched;

bool g_starts = true;

bool RecordLaunch(const char* commandLine) {
    g_launched.emplace_back(commandLine);
    return g_starts;
}

class LaunchAudioSettings : public ::testing::Test {
protected:
    void SetUp() override {
        g_launched.clear();
        g_starts = true;
        SetProgramLauncher(RecordLaunch);
    }
    void TearDown() override { SetProgramLauncher(nullptr); }
};

TEST_F(LaunchAudioSettings, RunsTheSiblingWithTheArgument) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    const uint32_t count = rig.RequestCount();
    EXPECT_EQ(control.LaunchAudioSettings(0, "Zelk MIRVA PCI Audio Settings"), 0);
    ASSERT_EQ(g_launched.size(), 1u);
    EXPECT_EQ(g_launched[0], "MirvaCP.exe Zelk MIRVA PCI Audio Settings");
    EXPECT_EQ(rig.RequestCount(), count);
}

TEST_F(LaunchAudioSettings, ALongArgumentIsCutAt255Characters) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    const std::string argument(300, 'x');
    EXPECT_EQ(control.LaunchAudioSettings(0, argument.c_str()), 0);
    ASSERT_EQ(g_launched.size(), 1u);
    EXPECT_EQ(g_launched[0].size(), 255u);
    EXPECT_EQ(g_launched[0], "MirvaCP.exe " + std::string(243, 'x'));
}

TEST_F(LaunchAudioSettings, TheCardIndexIsNotUsed) {
    CCardControl control(std::make_unique<ScriptedPort>([](uint32_t, const uint8_t*, uint8_t*) { return false; }));
    EXPECT_EQ(control.LaunchAudioSettings(-1, ""), 0);
    EXPECT_EQ(control.LaunchAudioSettings(9, nullptr), 0);
    ASSERT_EQ(g_launched.size(), 2u);
    EXPECT_EQ(g_launched[0], "MirvaCP.exe ");
    EXPECT_EQ(g_launched[1], "MirvaCP.exe ");
}

TEST_F(LaunchAudioSettings, SaysWhetherTheProgramStartedAndReturnsZeroEitherWay) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    for (bool starts : {true, false}) {
        g_starts = starts;
        bool started = !starts;
        EXPECT_EQ(control.LaunchAudioSettings(0, "Zelk MIRVA PCI Audio Settings", &started), 0);
        EXPECT_EQ(started, starts);
    }
    EXPECT_EQ(g_launched, std::vector<std::string>(2, "MirvaCP.exe Zelk MIRVA PCI Audio Settings"));
}

}  // namespace
