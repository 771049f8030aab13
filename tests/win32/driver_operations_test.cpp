// The program's device layer against the kernel driver, through the Win32 port:
// discovery, every card operation, faults armed with cardctl, and a second client
// process. What the card holds is read back with `cardctl status --json`.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "device/CardControl.h"
#include "device/DriverLink.h"
#include "emulator/VirtualCard.h"
#include "tests/win32/driver_harness.h"

namespace {

class DriverOperations : public ::testing::Test {
protected:
    void SetUp() override {
        CRawDevice device;
        ASSERT_TRUE(device.IsOpen()) << "the ZelkWave driver is not running";
        ASSERT_TRUE(device.ResetCard());
    }
    void TearDown() override { CRawDevice().ResetCard(); }

    static void Cardctl(const std::string& arguments) {
        const ProcessResult r = RunCardctl(arguments);
        ASSERT_TRUE(r.ran && r.exitCode == 0) << "cardctl " << arguments << ": " << r.err;
    }
    // Card 0 as cardctl shows it.
    static CJsonValue Card0() {
        CJsonValue state;
        std::string error;
        EXPECT_TRUE(ReadCardState(state, error)) << error;
        return state["cards"][0];
    }
};

TEST_F(DriverOperations, DiscoveryFindsTheDemoCardAsCardctlShowsIt) {
    CCardControl control;
    ASSERT_EQ(control.GetCardCount(), 1u);
    const CardRecord record = control.link()->Card(0);
    const CJsonValue card = Card0();
    EXPECT_TRUE(card["answers"].boolean());
    EXPECT_EQ(record.driverIndex, 0u);
    EXPECT_EQ(record.idWord0, card["idWords"][0].u32());
    EXPECT_EQ(record.idWord1, card["idWords"][1].u32());
    EXPECT_EQ(record.idWord2, card["idWords"][2].u32());
    EXPECT_EQ(record.idWord3, card["idWords"][3].u32());
    EXPECT_EQ(record.isFree, 0u);
    for (uint32_t r = 0; r < 2; ++r) {
        EXPECT_EQ(record.ranges[r].first, card["rangeStart"][r].u32());
        EXPECT_EQ(record.ranges[r].last, card["rangeStart"][r].u32() + card["rangeLength"][r].u32() - 1);
    }
}

TEST_F(DriverOperations, DiscoveryFollowsWhatCardctlMakesTheDriverAnswer) {
    const struct {
        const char* setup[2];
        uint32_t cards;
        uint32_t lastDriverIndex;
    } cases[] = {
        {{"set cards 2", nullptr}, 2, 1},
        {{"set answer-mask 0x5", nullptr}, 2, 2},
        {{"set cards 4", nullptr}, 4, 3},
        {{"set cards 2", "set ids 1 0x1a3c 0x0601 0x0010 0x0002"}, 1, 0},  // same words as slot 0
        {{"set cards 0", nullptr}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setup[0]);
        ASSERT_TRUE(CRawDevice().ResetCard());
        for (const char* command : c.setup)
            if (command) Cardctl(command);
        CCardControl control;
        ASSERT_EQ(control.GetCardCount(), c.cards);
        if (c.cards) {
            EXPECT_EQ(control.link()->Card(c.cards - 1).driverIndex, c.lastDriverIndex);
        }
    }
}

TEST_F(DriverOperations, ACardWhoseRangeRequestsFailIsStillFound) {
    Cardctl("set range-fail 0 on");
    CCardControl control;
    ASSERT_EQ(control.GetCardCount(), 1u);
    EXPECT_EQ(control.link()->Card(0).ranges[0].first, 0u);
    EXPECT_EQ(control.link()->Card(0).ranges[1].last, 0u);
}

// Each operation, sent by the program, changes what the card holds.
struct ChangeCase {
    const char* name;
    const char* prepare;  // cardctl command run first, or null
    std::function<int32_t(CCardControl&)> operate;
    std::function<void(const CJsonValue&)> check;
};

TEST_F(DriverOperations, EveryOperationChangesTheCardAsCardctlShowsIt) {
    const ChangeCase cases[] = {
        {"SetChannelLevels", nullptr, [](CCardControl& c) { return c.SetChannelLevels(0, 3, 1234, 4321); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["channels"][3]["left"].u32(), 1234u);
             EXPECT_EQ(card["channels"][3]["right"].u32(), 4321u);
             EXPECT_EQ(card["channels"][2]["left"].u32(), 65535u);
         }},
        {"SetChannelLevels channel 10", nullptr, [](CCardControl& c) { return c.SetChannelLevels(0, 10, 7, 9); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["channels"][10]["left"].u32(), 7u);
             EXPECT_EQ(card["channels"][10]["right"].u32(), 9u);
         }},
        {"SetChannelControl off", nullptr, [](CCardControl& c) { return c.SetChannelControl(0, 4, 0); },
         [](const CJsonValue& card) { EXPECT_EQ(card["channels"][4]["control"].u32(), 0u); }},
        {"SetChannelControl 2 is off", nullptr, [](CCardControl& c) { return c.SetChannelControl(0, 4, 2); },
         [](const CJsonValue& card) { EXPECT_EQ(card["channels"][4]["control"].u32(), 0u); }},
        {"SetChannelControl on", "set control 0 5 off", [](CCardControl& c) { return c.SetChannelControl(0, 5, 1); },
         [](const CJsonValue& card) { EXPECT_EQ(card["channels"][5]["control"].u32(), 1u); }},
        {"SetClockMode", nullptr, [](CCardControl& c) { return c.SetClockMode(0, 3); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["clockMode"].u32(), 3u);
             EXPECT_EQ(card["clockMeasurement"].u32(), VcClockMeasurementFor(3));
         }},
        {"SetAutoSync off", nullptr, [](CCardControl& c) { return c.SetAutoSync(0, 0); },
         [](const CJsonValue& card) { EXPECT_EQ(card["autoSync"].u32(), 0u); }},
        {"SetAutoSync 2 is off", nullptr, [](CCardControl& c) { return c.SetAutoSync(0, 2); },
         [](const CJsonValue& card) { EXPECT_EQ(card["autoSync"].u32(), 0u); }},
        {"SetAutoSync on", "set auto-sync 0 off", [](CCardControl& c) { return c.SetAutoSync(0, 1); },
         [](const CJsonValue& card) { EXPECT_EQ(card["autoSync"].u32(), 1u); }},
        {"SetStreamSync record", nullptr, [](CCardControl& c) { return c.SetStreamSync(0, 0, 5, 0); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["recordSync"][5].u32(), 0u);
             EXPECT_EQ(card["playbackSync"][5].u32(), 1u);
         }},
        {"SetStreamSync playback", "set sync 0 playback 9 off",
         [](CCardControl& c) { return c.SetStreamSync(0, 1, 9, 1); },
         [](const CJsonValue& card) { EXPECT_EQ(card["playbackSync"][9].u32(), 1u); }},
        {"SaveDefaults", "set level 0 2 100 200", [](CCardControl& c) { return c.SaveDefaults(0); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["defaults"]["channels"][2]["left"].u32(), 100u);
             EXPECT_EQ(card["defaults"]["channels"][2]["right"].u32(), 200u);
         }},
        {"RetrieveDefaults", "set level 0 2 100 200", [](CCardControl& c) { return c.RetrieveDefaults(0); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["channels"][2]["left"].u32(), 65535u);
             EXPECT_EQ(card["channels"][2]["right"].u32(), 65535u);
         }},
        {"FreeCard", nullptr, [](CCardControl& c) { return c.FreeCard(0); },
         [](const CJsonValue& card) { EXPECT_EQ(card["isFree"].u32(), 1u); }},
        {"ResetCardStop", "set stream 0 playback 2 3",
         [](CCardControl& c) { return c.ResetCardStop(0) ? 0 : -1; },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["cardState"].u32(), 0u);
             EXPECT_EQ(card["dmaStatus"].u32(), 0u);
             EXPECT_EQ(card["playbackState"][2].u32(), 0u);
         }},
        {"ResetCardStart", "set card-state 0 0", [](CCardControl& c) { return c.ResetCardStart(0); },
         [](const CJsonValue& card) {
             EXPECT_EQ(card["cardState"].u32(), 1u);
             EXPECT_EQ(card["dmaStatus"].u32(), 1u);
         }},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CRawDevice().ResetCard());
        if (c.prepare) Cardctl(c.prepare);
        CCardControl control;
        ASSERT_EQ(control.GetCardCount(), 1u);
        EXPECT_EQ(c.operate(control), 0);
        c.check(Card0());
    }
}

TEST_F(DriverOperations, DefaultsSavedAreRetrievedAfterAChange) {
    CCardControl control;
    ASSERT_EQ(control.SetChannelLevels(0, 6, 500, 600), 0);
    ASSERT_EQ(control.SetClockMode(0, 5), 0);
    ASSERT_EQ(control.SaveDefaults(0), 0);
    ASSERT_EQ(control.SetChannelLevels(0, 6, 1, 2), 0);
    ASSERT_EQ(control.SetClockMode(0, 0), 0);
    ASSERT_EQ(control.RetrieveDefaults(0), 0);
    uint32_t word = 0;
    EXPECT_EQ(control.ReadDefaultsWord(0, &word), 0);
    EXPECT_EQ(word, 1u);
    const CJsonValue card = Card0();
    EXPECT_EQ(card["channels"][6]["left"].u32(), 500u);
    EXPECT_EQ(card["channels"][6]["right"].u32(), 600u);
    EXPECT_EQ(card["clockMode"].u32(), 5u);
}

// What only the card changes, set with cardctl, reaches the program's reads.
struct ReadCase {
    const char* cardctl;
    std::function<int32_t(CCardControl&, uint32_t&)> read;
    uint32_t expected;
};

TEST_F(DriverOperations, WhatCardctlSetsTheProgramReads) {
    const ReadCase cases[] = {
        {"set level 0 6 111 222",
         [](CCardControl& c, uint32_t& v) {
             uint16_t l = 0, r = 0;
             const int32_t s = c.GetChannelLevels(0, 6, &l, &r);
             v = l << 16 | r;
             return s;
         },
         111u << 16 | 222u},
        {"set control 0 7 off",
         [](CCardControl& c, uint32_t& v) {
             uint8_t f = 9;
             const int32_t s = c.GetChannelControl(0, 7, &f);
             v = f;
             return s;
         },
         0},
        {"set clock-mode 0 6", [](CCardControl& c, uint32_t& v) { return c.GetClockMode(0, &v); }, 6},
        {"set auto-sync 0 off",
         [](CCardControl& c, uint32_t& v) {
             uint8_t f = 9;
             const int32_t s = c.GetAutoSync(0, &f);
             v = f;
             return s;
         },
         0},
        {"set sync 0 record 3 off",
         [](CCardControl& c, uint32_t& v) {
             uint8_t f = 9;
             const int32_t s = c.GetStreamSync(0, 0, 3, &f);
             v = f;
             return s;
         },
         0},
        {"set card-state 0 3", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 12, 0, &v); }, 3},
        {"set dma-status 0 3", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 13, 0, &v); }, 3},
        {"set stream 0 record 2 3", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 14, 2, &v); }, 3},
        {"set stream 0 playback 9 4", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 15, 9, &v); },
         4},
        {"set multi-playing 0 1", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 16, 0, &v); }, 1},
        {"set dma-errors 0 17", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 17, 0, &v); }, 17},
        {"set clock-measurement 0 1017",
         [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 6, 0, &v); }, 1022},
        {"set fpga-revision 0 0x0210", [](CCardControl& c, uint32_t& v) { return c.QueryStatus(0, 0, 11, 0, &v); },
         0x210},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.cardctl);
        ASSERT_TRUE(CRawDevice().ResetCard());
        CCardControl control;
        Cardctl(c.cardctl);
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(c.read(control, value), 0);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(DriverOperations, ADriverStatusArmedWithCardctlComesBackUnchanged) {
    CCardControl control;
    Cardctl("fault status 5 1");
    EXPECT_EQ(control.SetChannelLevels(0, 1, 10, 20), 5);
    EXPECT_EQ(Card0()["channels"][1]["left"].u32(), 65535u) << "a refused request changed the card";
    EXPECT_EQ(control.SetChannelLevels(0, 1, 10, 20), 0);
    EXPECT_EQ(Card0()["channels"][1]["left"].u32(), 10u);

    // Outputs are still written from a reply with a driver status.
    Cardctl("fault status -5 1");
    uint16_t left = 1;
    uint16_t right = 1;
    EXPECT_EQ(control.GetChannelLevels(0, 9, &left, &right), -5);
    EXPECT_EQ(left, 32768);
    EXPECT_EQ(right, 32768);
}

TEST_F(DriverOperations, AFailingCallArmedWithCardctlGivesMinus870AndWritesNothing) {
    CCardControl control;
    Cardctl("fault fail 1");
    uint16_t left = 1;
    uint16_t right = 2;
    EXPECT_EQ(control.GetChannelLevels(0, 9, &left, &right), kDriverCallFailed);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 2);
    EXPECT_EQ(control.GetChannelLevels(0, 9, &left, &right), 0);
    EXPECT_EQ(left, 32768);

    // A register read tries once more after a failed call.
    Cardctl("fault fail 1");
    uint32_t ready = 9;
    EXPECT_EQ(control.QueryStatus(0, 0, 2, 0, &ready), 0);
    EXPECT_EQ(ready, 1u);
}

TEST_F(DriverOperations, ADelayedCardStillAnswersEveryRequest) {
    Cardctl("fault delay 20");
    EXPECT_EQ(Card0().kind(), CJsonValue::Kind::Object);
    CCardControl control;
    ASSERT_EQ(control.GetCardCount(), 1u);
    uint32_t mode = 9;
    EXPECT_EQ(control.GetClockMode(0, &mode), 0);
    EXPECT_EQ(mode, 0u);
    CJsonValue state;
    std::string error;
    ASSERT_TRUE(ReadCardState(state, error)) << error;
    EXPECT_EQ(state["fault"]["delayMs"].u32(), 20u);
}

TEST_F(DriverOperations, ASecondClientProcessSeesWhatTheFirstChanged) {
    CCardControl control;
    ASSERT_EQ(control.GetCardCount(), 1u);
    ASSERT_EQ(control.SetChannelLevels(0, 5, 4000, 5000), 0);
    ProcessResult r = RunClient("get-levels 5");
    ASSERT_TRUE(r.ran && r.exitCode == 0) << r.err;
    EXPECT_EQ(r.out, "0 4000 5000\n");

    r = RunClient("set-levels 8 300 400");
    ASSERT_TRUE(r.ran && r.exitCode == 0) << r.err;
    EXPECT_EQ(r.out, "0\n");
    uint16_t left = 0;
    uint16_t right = 0;
    EXPECT_EQ(control.GetChannelLevels(0, 8, &left, &right), 0);
    EXPECT_EQ(left, 300);
    EXPECT_EQ(right, 400);
}

TEST_F(DriverOperations, CardctlCountsTheProgramsRequests) {
    CRawDevice device;
    const uint32_t before = device.RequestCount();
    {
        CCardControl control;  // client request, four card requests, two range requests
        uint32_t mode = 0;
        control.GetClockMode(0, &mode);
    }
    const ProcessResult r = RunCardctl("count");
    ASSERT_TRUE(r.ran && r.exitCode == 0) << r.err;
    EXPECT_EQ(r.out, std::to_string(before + 8) + "\n");
}

}  // namespace
