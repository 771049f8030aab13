// The words each request carries to the driver, as the virtual card received them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "device_harness.h"

namespace {

struct Field {
    uint32_t offset;
    uint32_t width;  // bytes: 2 or 4
    uint32_t value;
};

struct FramingCase {
    std::string name;
    std::function<void(CCardControl&)> issue;
    uint32_t code;
    std::vector<Field> fields;  // besides word 0 (client) and word 1 (driver index)
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }

// Four distinct bytes, so that a missing, misplaced or byte-swapped word shows.
constexpr uint32_t kCardRef = 0x1A2B3C4D;

std::vector<FramingCase> Cases() {
    uint32_t u32 = 0;
    uint16_t u16 = 0;
    uint8_t u8 = 0;
    return {
        {"ResetCardStart", [](CCardControl& c) { c.ResetCardStart(0); }, 4408, {}},
        {"ResetCardStop", [](CCardControl& c) { c.ResetCardStop(0); }, 4409, {}},
        {"QueryStatus", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C07, 12, 0x0D0E0F09, &u32); }, 4412,
         {{8, 4, 0x0A0B0C07}, {16, 4, 12}, {20, 4, 0x0D0E0F09}}},
        {"ReadRegister", [=](CCardControl& c) mutable { c.ReadRegister(0, 0x05060708, 0x01020304, 0x1A2B3CFF, 0x21222324, &u32); },
         4432, {{8, 4, 0x05060708}, {16, 4, 0x01020304}, {20, 4, 0x21222324}, {24, 4, 0xFF}}},
        {"QueryStatus selector 2", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 2, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0x0A0B0C03}, {16, 4, 1}, {20, 4, 35}, {24, 4, 0}}},
        {"QueryStatus selector 3", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 3, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 2}, {20, 4, 66}, {24, 4, 0}}},
        {"QueryStatus selector 4", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 4, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 1}, {20, 4, 73}, {24, 4, 1}}},
        {"QueryStatus selector 5", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 5, 11, &u32); }, 4432,
         {{8, 4, 0}, {16, 4, 1}, {20, 4, 85}, {24, 4, 1}}},
        {"QueryStatus selector 6", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 6, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 2}, {20, 4, 61}, {24, 4, 0}}},
        {"QueryStatus selector 7", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 7, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 1}, {20, 4, 24}, {24, 4, 0}}},
        {"QueryStatus selector 8", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 8, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 2}, {20, 4, 24}, {24, 4, 0}}},
        {"QueryStatus selector 9", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 9, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 2}, {20, 4, 62}, {24, 4, 0}}},
        {"QueryStatus selector 10", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 10, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 1}, {16, 4, 2}, {20, 4, 32}, {24, 4, 0}}},
        {"QueryStatus selector 11", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 11, 0x0D0E0F01, &u32); },
         4432, {{8, 4, 0}, {16, 4, 1}, {20, 4, 4137}, {24, 4, 0}}},
        {"QueryStatus selector 0", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 0, 0x0D0E0F01, &u32); },
         4412, {{8, 4, 0x0A0B0C03}, {16, 4, 0}, {20, 4, 0x0D0E0F01}}},
        {"QueryStatus selector 1", [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 1, 0x0D0E0F01, &u32); },
         4412, {{8, 4, 0x0A0B0C03}, {16, 4, 1}, {20, 4, 0x0D0E0F01}}},
        {"QueryStatus selector 13", [=](CCardControl& c) mutable { c.QueryStatus(0, 0, 13, 0, &u32); }, 4412,
         {{8, 4, 0}, {16, 4, 13}, {20, 4, 0}}},
        {"QueryStatus selector 14", [=](CCardControl& c) mutable { c.QueryStatus(0, 0, 14, 5, &u32); }, 4412,
         {{8, 4, 0}, {16, 4, 14}, {20, 4, 5}}},
        {"QueryStatus selector 15", [=](CCardControl& c) mutable { c.QueryStatus(0, 0, 15, 9, &u32); }, 4412,
         {{8, 4, 0}, {16, 4, 15}, {20, 4, 9}}},
        {"QueryStatus selector 16", [=](CCardControl& c) mutable { c.QueryStatus(0, 0, 16, 0, &u32); }, 4412,
         {{8, 4, 0}, {16, 4, 16}, {20, 4, 0}}},
        {"QueryStatus selector 17", [=](CCardControl& c) mutable { c.QueryStatus(0, 0, 17, 0, &u32); }, 4412,
         {{8, 4, 0}, {16, 4, 17}, {20, 4, 0}}},
        {"QueryStatus selector 0x0102030C",
         [=](CCardControl& c) mutable { c.QueryStatus(0, 0x0A0B0C03, 0x0102030C, 0x0D0E0F01, &u32); }, 4412,
         {{8, 4, 0x0A0B0C03}, {16, 4, 0x0102030C}, {20, 4, 0x0D0E0F01}}},
        {"SetClockMode", [](CCardControl& c) { c.SetClockMode(0, 0x04050603); }, 4439, {{16, 4, 0x04050603}}},
        {"GetClockMode", [=](CCardControl& c) mutable { c.GetClockMode(0, &u32); }, 4440, {}},
        {"SetChannelLevels", [](CCardControl& c) { c.SetChannelLevels(0, 10, 0x1234, 0xABCD); }, 4481,
         {{12, 4, kCardRef}, {20, 2, 10}, {22, 2, 0x1234}, {24, 2, 0xABCD}}},
        {"GetChannelLevels", [=](CCardControl& c) mutable { c.GetChannelLevels(0, 7, &u16, &u16); }, 4482,
         {{8, 4, 7}, {12, 4, kCardRef}}},
        {"GetChannelControl", [=](CCardControl& c) mutable { c.GetChannelControl(0, 3, &u8); }, 4483,
         {{8, 4, 3}, {12, 4, kCardRef}}},
        {"SetChannelControl on", [](CCardControl& c) { c.SetChannelControl(0, 4, 1); }, 4485,
         {{8, 4, 4}, {12, 4, kCardRef}}},
        {"SetChannelControl off", [](CCardControl& c) { c.SetChannelControl(0, 4, 0); }, 4484,
         {{8, 4, 4}, {12, 4, kCardRef}}},
        {"GetStreamSync", [=](CCardControl& c) mutable { c.GetStreamSync(0, 0x02030401, 0x0809, &u8); }, 4486,
         {{12, 4, kCardRef}, {16, 4, 0x02030401}, {20, 2, 0x0809}}},
        {"SetStreamSync on", [](CCardControl& c) { c.SetStreamSync(0, 0, 5, 1); }, 4487,
         {{12, 4, kCardRef}, {16, 4, 0}, {20, 2, 5}, {22, 2, 1}}},
        {"SetStreamSync flag 7 is off", [](CCardControl& c) { c.SetStreamSync(0, 1, 2, 7); }, 4487,
         {{12, 4, kCardRef}, {16, 4, 1}, {20, 2, 2}, {22, 2, 0}}},
        {"SetAutoSync on", [](CCardControl& c) { c.SetAutoSync(0, 1); }, 4489, {{12, 4, kCardRef}}},
        {"SetAutoSync off", [](CCardControl& c) { c.SetAutoSync(0, 0); }, 4488, {{12, 4, kCardRef}}},
        {"GetAutoSync", [=](CCardControl& c) mutable { c.GetAutoSync(0, &u8); }, 4490, {{12, 4, kCardRef}}},
        {"SaveDefaults", [](CCardControl& c) { c.SaveDefaults(0); }, 4495, {{12, 4, kCardRef}}},
        {"RetrieveDefaults", [](CCardControl& c) { c.RetrieveDefaults(0); }, 4496, {{12, 4, kCardRef}}},
        {"FreeCard", [](CCardControl& c) { c.FreeCard(0); }, 4499, {{12, 4, kCardRef}}},
        {"ReadDefaultsWord", [=](CCardControl& c) mutable { c.ReadDefaultsWord(0, &u32); }, 4500, {}},
    };
}

// Puts a recognisable pattern in words 2..6 through a request that sets them all.
void Prime(CCardControl& control) {
    uint32_t out = 0;
    control.ReadRegister(0, 0x81828384, 0x91929394, 0xA5, 0xB1B2B3B4, &out);
}

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, SendsItsWordsAndLeavesTheOthersAsThePreviousRequestLeftThem) {
    const FramingCase& c = GetParam();
    VirtualCardRig rig;
    // The only card answers under driver index 2, so word 1 is told apart from the card index.
    CCardControl& control = rig.Build([](CVirtualCard& core) { core.SetAnswerMask(0x4); });
    ASSERT_EQ(control.GetCardCount(), 1u);
    DriverLinkPeer::SetCardRef(*control.link(), 0, kCardRef);
    const uint32_t clientId = control.link()->clientId;
    ASSERT_NE(clientId, 0u);

    Prime(control);
    const VcLogEntry before = rig.Last();
    const uint32_t count = rig.RequestCount();
    c.issue(control);
    ASSERT_GT(rig.RequestCount(), count);
    const VcLogEntry sent = rig.Last();

    EXPECT_EQ(sent.code, c.code);
    std::vector<bool> set(kRequestSize, false);
    auto expect = [&](const Field& f) {
        const uint32_t got = f.width == 2 ? Word16(sent.bytes, f.offset) : Word32(sent.bytes, f.offset);
        EXPECT_EQ(got, f.value) << "offset " << f.offset;
        for (uint32_t i = 0; i < f.width; ++i) set[f.offset + i] = true;
    };
    expect({0, 4, clientId});
    expect({4, 4, 2});
    for (const Field& f : c.fields) expect(f);
    for (uint32_t i = 0; i < kRequestSize; ++i) {
        if (!set[i]) {
            EXPECT_EQ(sent.bytes[i], before.bytes[i]) << "byte " << i << " was changed";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCardOperation, Framing, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<FramingCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST(Framing, BytesBeyondWordSixAreNeverWritten) {
    VirtualCardRig rig;
    CCardControl& control = rig.Build();
    for (const FramingCase& c : Cases()) {
        Prime(control);
        c.issue(control);
    }
    for (const VcLogEntry& e : rig.Log()) {
        for (uint32_t i = 28; i < kRequestSize; ++i) {
            EXPECT_EQ(e.bytes[i], 0) << e.code << " byte " << i;
        }
    }
}

TEST(Framing, DiscoveryRequestsCarryClientDriverIndexAndRange) {
    VirtualCardRig rig;
    rig.Build([](CVirtualCard& core) { core.SetAnswerMask(0x2); });
    const std::vector<VcLogEntry> log = rig.Log();
    struct Expected {
        uint32_t code, word0, word1, word2;
    };
    const uint32_t client = rig.control->link()->clientId;
    const std::vector<Expected> expected = {
        {4403, 0, 0, 0},
        {4411, client, 0, 0},
        {4411, client, 1, 0},
        {4491, client, 1, 0},
        {4491, client, 1, 1},
        {4411, client, 2, 1},  // word 2 still holds the last range number
        {4411, client, 3, 1},
    };
    ASSERT_EQ(log.size(), expected.size());
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].code, expected[i].code) << i;
        EXPECT_EQ(Word32(log[i].bytes, 0), expected[i].word0) << i;
        EXPECT_EQ(Word32(log[i].bytes, 4), expected[i].word1) << i;
        EXPECT_EQ(Word32(log[i].bytes, 8), expected[i].word2) << i;
        for (uint32_t b = 12; b < kRequestSize; ++b) EXPECT_EQ(log[i].bytes[b], 0) << i;
    }
}

// Records what the link opens and the buffer sizes of each call; every call fails.
struct RecordingPort : DriverPort {
    std::string* path;
    std::vector<std::pair<uint32_t, uint32_t>>* sizes;
    void Open(const char* p) override { *path = p; }
    bool Control(uint32_t, void*, uint32_t in, void*, uint32_t out) override {
        sizes->emplace_back(in, out);
        return false;
    }
    void Close() override {}
};

TEST(Framing, OpensTheDeviceByNameAndSendsThirtySixAndTwentyEightBytes) {
    std::string path;
    std::vector<std::pair<uint32_t, uint32_t>> sizes;
    auto port = std::make_unique<RecordingPort>();
    port->path = &path;
    port->sizes = &sizes;
    CCardControl control(std::move(port));
    EXPECT_EQ(path, "\\\\.\\ZelkWave");
    EXPECT_EQ(path.size(), 12u);
    ASSERT_EQ(sizes.size(), 5u);  // the client request and four card requests
    for (const auto& s : sizes) {
        EXPECT_EQ(s.first, 36u);
        EXPECT_EQ(s.second, 28u);
    }
}

}  // namespace
