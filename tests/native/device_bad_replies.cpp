// Ports that fail or answer with garbage never bring the link down.
#include <gtest/gtest.h>

#include <random>

#include "device_harness.h"

namespace {

// Answers each request with random bytes; the status is zero half of the time and
// the call fails one time in five.
class GarbagePort : public DriverPort {
public:
    explicit GarbagePort(uint32_t seed) : random_(seed) {}
    void Open(const char*) override {}
    void Close() override {}
    bool Control(uint32_t, void*, uint32_t, void* reply, uint32_t replySize) override {
        uint8_t* bytes = static_cast<uint8_t*>(reply);
        for (uint32_t i = 0; i < replySize; ++i) bytes[i] = static_cast<uint8_t>(random_());
        if (random_() % 2 == 0) bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0;
        return random_() % 5 != 0;
    }

private:
    std::mt19937 random_;
};

// Issues every operation with random arguments, card indexes around the table.
void Hammer(CCardControl& control, uint32_t seed) {
    std::mt19937 random(seed);
    auto any = [&random] { return static_cast<uint32_t>(random()); };
    for (int i = 0; i < 4000; ++i) {
        const int32_t card = static_cast<int32_t>(any() % 8) - 2;
        const uint16_t channel = static_cast<uint16_t>(any() % 14);
        uint32_t u32 = 0;
        uint16_t a = 0, b = 0;
        uint8_t f = 0;
        int32_t status = 0;
        switch (any() % 20) {
        case 0: status = control.ResetCardStart(card); break;
        case 1: status = control.ResetCardStop(card) ? 0 : kBadCardIndex; break;
        case 2: status = control.QueryStatus(card, any() % 3, any() % 20, any() % 16, &u32); break;
        case 3: status = control.ReadRegister(card, any(), any(), any(), any(), &u32); break;
        case 4: status = control.SetClockMode(card, any()); break;
        case 5: status = control.GetClockMode(card, &u32); break;
        case 6: status = control.SetChannelLevels(card, channel, static_cast<uint16_t>(any()), 0); break;
        case 7: status = control.GetChannelLevels(card, channel, &a, &b); break;
        case 8: status = control.GetChannelControl(card, channel, &f); break;
        case 9: status = control.SetChannelControl(card, channel, any() % 3); break;
        case 10: status = control.GetStreamSync(card, any() % 3, static_cast<uint16_t>(any()), &f); break;
        case 11: status = control.SetStreamSync(card, any() % 3, static_cast<uint16_t>(any()), any() % 3); break;
        case 12: status = control.SetAutoSync(card, any() % 3); break;
        case 13: status = control.GetAutoSync(card, &f); break;
        case 14: status = control.SaveDefaults(card); break;
        case 15: status = control.RetrieveDefaults(card); break;
        case 16: status = control.FreeCard(card); break;
        case 17: status = control.ReadDefaultsWord(card, &u32); break;
        case 18: status = control.QueryStatus(card, 0, 5, any() % 14, &u32); break;
        default: status = control.QueryStatus(card, 0, 2, 0, &u32); break;
        }
        if (static_cast<uint32_t>(card) >= control.GetCardCount()) {
            EXPECT_EQ(status, kBadCardIndex);
        }
        EXPECT_LE(f, 1);
    }
}

class Garbage : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Garbage, NeverCrashesTheLinkAndKeepsTheTableBounded) {
    CCardControl control(std::make_unique<GarbagePort>(GetParam()));
    ASSERT_LE(control.GetCardCount(), 4u);
    for (uint32_t i = 0; i < control.GetCardCount(); ++i) EXPECT_LT(control.link()->Card(i).driverIndex, 4u);
    Hammer(control, GetParam() * 7919u);
    control.Release();
    EXPECT_EQ(control.GetCardCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Garbage, ::testing::Values(1u, 2u, 3u, 17u, 4242u, 99991u));

TEST(BadReplies, APortThatAlwaysFailsGivesNoCard) {
    CCardControl control(std::make_unique<ScriptedPort>([](uint32_t, const uint8_t*, uint8_t*) { return false; }));
    EXPECT_EQ(control.GetCardCount(), 0u);
    Hammer(control, 5);
}

TEST(BadReplies, APortThatSucceedsWithoutWritingLeavesTheLastReplyInPlace) {
    // Discovery sees zero-filled replies: status 0, so one card with zero words.
    CCardControl control(std::make_unique<ScriptedPort>([](uint32_t, const uint8_t*, uint8_t*) { return true; }));
    ASSERT_EQ(control.GetCardCount(), 1u);
    uint16_t left = 5, right = 6;
    EXPECT_EQ(control.GetChannelLevels(0, 0, &left, &right), 0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);
    Hammer(control, 6);
}

TEST(BadReplies, NoPortAtAllGivesNoCard) {
    CCardControl control(nullptr);
    EXPECT_EQ(control.GetCardCount(), 0u);
    uint32_t out = 3;
    EXPECT_EQ(control.QueryStatus(0, 0, 6, 0, &out), kBadCardIndex);
    EXPECT_EQ(out, 3u);
}

TEST(BadReplies, OutputsMayBeLeftOut) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    EXPECT_EQ(control.GetChannelLevels(0, 1, nullptr, nullptr), 0);
    EXPECT_EQ(control.QueryStatus(0, 0, 6, 0, nullptr), 0);
    EXPECT_EQ(control.QueryStatus(0, 0, 2, 0, nullptr), 0);
    EXPECT_EQ(control.GetAutoSync(0, nullptr), 0);
    EXPECT_EQ(control.GetClockMode(0, nullptr), 0);
}

}  // namespace
