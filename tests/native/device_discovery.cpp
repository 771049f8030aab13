// Building a link: client identifier, card table, duplicates, ranges, no device.
#include <gtest/gtest.h>

#include "device/AbsentDriverPort.h"
#include "device_harness.h"

namespace {

void SetIds(CVirtualCard& core, uint32_t slot, uint16_t w0, uint16_t w1, uint16_t w2, uint16_t w3) {
    uint16_t* ids = core.Card(slot).idWords;
    ids[0] = w0;
    ids[1] = w1;
    ids[2] = w2;
    ids[3] = w3;
}

TEST(Discovery, CardIndexesFollowTheDriverIndexesThatAnswer) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.SetAnswerMask(0x5); });
    ASSERT_EQ(control.GetCardCount(), 2u);
    EXPECT_EQ(rig.Record(0).driverIndex, 0u);
    EXPECT_EQ(rig.Record(1).driverIndex, 2u);
    EXPECT_EQ(rig.Record(2).driverIndex, 0u);  // unused records stay zero
}

TEST(Discovery, RecordHoldsTheCardReplyWords) {
    VirtualCardRig rig;
    rig.Build([](CVirtualCard& core) {
        core.SetAnswerMask(0x2);
        SetIds(core, 1, 0x1111, 0x2222, 0x3333, 0x4444);
        core.Card(1).isFree = 0x01020304;
    });
    const CardRecord& r = rig.Record(0);
    EXPECT_EQ(r.idWord0, 0x1111);
    EXPECT_EQ(r.idWord1, 0x2222);
    EXPECT_EQ(r.idWord2, 0x3333);
    EXPECT_EQ(r.idWord3, 0x4444);
    EXPECT_EQ(r.isFree, 0x01020304u);
    EXPECT_EQ(r.cardRef, 0u);
    EXPECT_EQ(r.driverIndex, 1u);
}

struct DuplicateCase {
    const char* name;
    uint16_t second[4];  // id words of the card under driver index 1
    uint32_t secondIsFree;
    uint32_t expectedCards;
};

void PrintTo(const DuplicateCase& c, std::ostream* os) { *os << c.name; }

class Duplicates : public ::testing::TestWithParam<DuplicateCase> {};

TEST_P(Duplicates, AreToldByTheWordsAtOffsets14And16Only) {
    const DuplicateCase& c = GetParam();
    VirtualCardRig rig;
    CCardControl& control = rig.Build([&](CVirtualCard& core) {
        core.SetAnswerMask(0x3);
        SetIds(core, 0, 0xA000, 0xB000, 0xC000, 0xD000);
        SetIds(core, 1, c.second[0], c.second[1], c.second[2], c.second[3]);
        core.Card(1).isFree = c.secondIsFree;
    });
    ASSERT_EQ(control.GetCardCount(), c.expectedCards);
    EXPECT_EQ(rig.Record(0).idWord0, 0xA000);  // the first card is the one kept
    EXPECT_EQ(rig.Record(0).driverIndex, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Duplicates,
    ::testing::Values(DuplicateCase{"AllWordsEqual", {0xA000, 0xB000, 0xC000, 0xD000}, 0, 1},
                      DuplicateCase{"Offsets12And18And24Differ", {0xA001, 0xB000, 0xC000, 0xD001}, 7, 1},
                      DuplicateCase{"Offset14Differs", {0xA000, 0xB001, 0xC000, 0xD000}, 0, 2},
                      DuplicateCase{"Offset16Differs", {0xA000, 0xB000, 0xC001, 0xD000}, 0, 2},
                      DuplicateCase{"HalvesSwapped", {0xA000, 0xC000, 0xB000, 0xD000}, 0, 2}),
    [](const ::testing::TestParamInfo<DuplicateCase>& info) { return std::string(info.param.name); });

TEST(Discovery, ADuplicateOfAnyEarlierCardIsDropped) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) {
        core.SetAnswerMask(0xF);
        SetIds(core, 2, 0, core.Card(0).idWords[1], core.Card(0).idWords[2], 0);
    });
    ASSERT_EQ(control.GetCardCount(), 3u);
    EXPECT_EQ(rig.Record(0).driverIndex, 0u);
    EXPECT_EQ(rig.Record(1).driverIndex, 1u);
    EXPECT_EQ(rig.Record(2).driverIndex, 3u);
}

TEST(Discovery, RangesGiveFirstAndLast) {
    VirtualCardRig rig;
    rig.Build([](CVirtualCard& core) {
        core.Card(0).rangeStart[0] = 0x1000;
        core.Card(0).rangeLength[0] = 0x100;
        core.Card(0).rangeStart[1] = 0xFEBF0000;
        core.Card(0).rangeLength[1] = 0x10000;
    });
    const CardRecord& r = rig.Record(0);
    EXPECT_EQ(r.ranges[0].first, 0x1000u);
    EXPECT_EQ(r.ranges[0].last, 0x10FFu);
    EXPECT_EQ(r.ranges[1].first, 0xFEBF0000u);
    EXPECT_EQ(r.ranges[1].last, 0xFEBFFFFFu);
    EXPECT_EQ(r.ranges[0].infoA, 1u);  // the virtual card's I/O range
    EXPECT_EQ(r.ranges[1].infoA, 0u);
}

TEST(Discovery, FailingRangeRequestsStillCountTheCard) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) {
        core.SetAnswerMask(0x3);
        core.Card(0).rangeFails = true;
    });
    ASSERT_EQ(control.GetCardCount(), 2u);
    for (const RangeRecord& r : rig.Record(0).ranges) {
        EXPECT_EQ(r.first, 0u);
        EXPECT_EQ(r.last, 0u);
        EXPECT_EQ(r.infoA, 0u);
        EXPECT_EQ(r.infoB, 0u);
    }
    EXPECT_NE(rig.Record(1).ranges[0].last, 0u);
}

TEST(Discovery, FourCardsFillTheTableAndNoFifthIndexIsAsked) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.SetCardCount(4); });
    ASSERT_EQ(control.GetCardCount(), 4u);
    for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(rig.Record(i).driverIndex, i);
    int cardRequests = 0;
    for (const VcLogEntry& e : rig.Log()) cardRequests += e.code == 4411;
    EXPECT_EQ(cardRequests, 4);
    EXPECT_EQ(rig.RequestCount(), 1u + 4u + 8u);
}

TEST(Discovery, ARefusedClientRequestLeavesTheIdentifierZeroAndGoesOn) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.AnswerStatusForNextCalls(3, 1); });
    EXPECT_EQ(control.link()->clientId, 0u);
    ASSERT_EQ(control.GetCardCount(), 1u);
    EXPECT_EQ(Word32(rig.Log()[1].bytes, 0), 0u);
}

TEST(Discovery, AFailedClientRequestLeavesTheIdentifierZeroAndGoesOn) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.FailNextCalls(1); });
    EXPECT_EQ(control.link()->clientId, 0u);
    ASSERT_EQ(control.GetCardCount(), 1u);
    const std::vector<VcLogEntry> log = rig.Log();
    ASSERT_EQ(log.size(), 7u);  // the client request, four card requests, two range requests
    EXPECT_EQ(log[0].code, 4403u);
    for (size_t i = 1; i < log.size(); ++i) EXPECT_EQ(Word32(log[i].bytes, 0), 0u) << i;
    uint16_t left = 0, right = 0;
    EXPECT_EQ(control.GetChannelLevels(0, 1, &left, &right), 0);
    EXPECT_EQ(Word32(rig.Last().bytes, 0), 0u);
}

TEST(Discovery, AFailedCardRequestSkipsThatIndex) {
    // The card request for driver index 0 fails outright; the others answer.
    CCardControl scripted(std::make_unique<ScriptedPort>([](uint32_t code, const uint8_t* request, uint8_t* reply) {
        std::fill(reply, reply + kReplySize, 0);
        reply[14] = static_cast<uint8_t>(Word32(request, 4));  // distinct cards
        return !(code == 4411 && Word32(request, 4) == 0);
    }));
    ASSERT_EQ(scripted.GetCardCount(), 3u);
    EXPECT_EQ(scripted.link()->Card(0).driverIndex, 1u);
}

struct NoDeviceCase {
    const char* name;
    bool absentPort;
};

void PrintTo(const NoDeviceCase& c, std::ostream* os) { *os << c.name; }

class NoDevice : public ::testing::TestWithParam<NoDeviceCase> {};

TEST_P(NoDevice, GivesNoCardAndEveryOperationBadCardIndexWithNothingSent) {
    VirtualCardRig rig;
    rig.card->SetPresent(false);
    std::unique_ptr<DriverPort> port;
    if (GetParam().absentPort)
        port = std::make_unique<CAbsentDriverPort>();
    else
        port = std::make_unique<CInProcessPort>(rig.card);
    CCardControl control(std::move(port));
    EXPECT_EQ(control.GetCardCount(), 0u);
    uint32_t u32 = 0;
    uint16_t u16 = 0;
    uint8_t u8 = 0;
    EXPECT_EQ(control.SetChannelLevels(0, 1, 2, 3), kBadCardIndex);
    EXPECT_EQ(control.GetChannelLevels(0, 1, &u16, &u16), kBadCardIndex);
    EXPECT_EQ(control.GetAutoSync(0, &u8), kBadCardIndex);
    EXPECT_EQ(control.QueryStatus(0, 0, 6, 0, &u32), kBadCardIndex);
    EXPECT_EQ(u32, 0u);
    EXPECT_FALSE(control.ResetCardStop(0));
    EXPECT_EQ(rig.RequestCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ports, NoDevice,
                         ::testing::Values(NoDeviceCase{"VirtualCardAbsent", false}, NoDeviceCase{"AbsentPort", true}),
                         [](const ::testing::TestParamInfo<NoDeviceCase>& info) { return std::string(info.param.name); });

TEST(Discovery, TheDefaultFactoryHereFindsNoCard) {
    CCardControl control;
    EXPECT_EQ(control.GetCardCount(), 0u);
}

TEST(Discovery, InstalledInProcessCardIsSharedByNewControls) {
    auto card = InstallInProcessCard();
    {
        CCardControl first;
        CCardControl second;
        ASSERT_EQ(first.GetCardCount(), 1u);
        ASSERT_EQ(second.GetCardCount(), 1u);
        EXPECT_EQ(first.SetChannelLevels(0, 5, 1000, 2000), 0);
        uint16_t left = 0, right = 0;
        EXPECT_EQ(second.GetChannelLevels(0, 5, &left, &right), 0);
        EXPECT_EQ(left, 1000);
        EXPECT_EQ(right, 2000);
    }
    UninstallInProcessCard();
    CCardControl after;
    EXPECT_EQ(after.GetCardCount(), 0u);
    EXPECT_EQ(card->WithCore([](CVirtualCard& core) { return core.RequestCount(); }), 2u * 7u + 2u);
}

TEST(Discovery, ReleaseClosesTheLinkAndLaterOperationsSendNothing) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    control.Release();
    const uint32_t count = rig.RequestCount();
    EXPECT_EQ(control.GetCardCount(), 0u);
    EXPECT_EQ(control.SaveDefaults(0), kBadCardIndex);
    EXPECT_EQ(control.link(), nullptr);
    EXPECT_EQ(rig.RequestCount(), count);
}

}  // namespace
