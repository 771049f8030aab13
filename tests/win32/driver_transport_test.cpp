// The driver as a device: every transfer method carries request and reply, buffers
// that are too small are refused without a byte written, and garbage does not
// stop it from answering.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "device/CardControl.h"
#include "driver/RequestRules.h"
#include "emulator/PrivateCodes.h"
#include "tests/win32/driver_harness.h"

namespace {

constexpr uint8_t kUntouched = 0xA5;

uint32_t Word(const uint8_t* bytes, uint32_t offset) {
    uint32_t v = 0;
    std::memcpy(&v, bytes + offset, 4);
    return v;
}

void PutWord(uint8_t* bytes, uint32_t offset, uint32_t v) { std::memcpy(bytes + offset, &v, 4); }

class DriverTransport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.IsOpen()) << "the ZelkWave driver is not running";
        ASSERT_TRUE(device.ResetCard());
    }

    // Every slot of the card and the protocol requests seen, as the driver holds them.
    std::vector<uint8_t> WholeCard() {
        std::vector<uint8_t> state;
        for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) {
            VcPrivateRequest request = {};
            request.card = slot;
            VcCardSnapshot snapshot = {};
            EXPECT_TRUE(device.Send(kVcReadCard, &request, sizeof request, &snapshot, sizeof snapshot));
            const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&snapshot);
            state.insert(state.end(), bytes, bytes + sizeof snapshot);
        }
        const uint32_t count = device.RequestCount();
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&count);
        state.insert(state.end(), bytes, bytes + sizeof count);
        return state;
    }

    CRawDevice device;
};

// Requests that would change the card, one per transfer method (4482 only reads:
// no code of the protocol that changes the card selects METHOD_OUT_DIRECT).
struct ChangingCase {
    const char* method;
    uint32_t code;
    uint32_t word2, word4;  // request words at 8 and 16
    uint16_t half20, half22, half24;
};

const ChangingCase kChanging[] = {
    {"METHOD_BUFFERED auto sync off", 4488, 0, 0, 0, 0, 0},
    {"METHOD_IN_DIRECT levels", 4481, 0, 0, 2, 0x1234, 0xABCD},
    {"METHOD_OUT_DIRECT levels read", 4482, 2, 0, 0, 0, 0},
    {"METHOD_NEITHER sync off", 4487, 0, 1, 4, 0, 0},
    {"METHOD_NEITHER clock mode", 4439, 0, 5, 0, 0, 0},
};

void Fill(const ChangingCase& c, uint8_t (&request)[36]) {
    std::memset(request, 0, sizeof request);
    PutWord(request, 8, c.word2);
    PutWord(request, 16, c.word4);
    std::memcpy(request + 20, &c.half20, 2);
    std::memcpy(request + 22, &c.half22, 2);
    std::memcpy(request + 24, &c.half24, 2);
}

TEST_F(DriverTransport, BuffersShorterThanTheFixedSizesAreRefusedAndChangeNothingInTheCard) {
    const struct {
        uint32_t in, out;
    } sizes[] = {{35, 28}, {36, 27}, {1, 28}, {36, 1}, {0, 28}, {36, 0}};
    for (const ChangingCase& c : kChanging) {
        for (const auto& s : sizes) {
            SCOPED_TRACE(std::string(c.method) + " in " + std::to_string(s.in) + " out " + std::to_string(s.out));
            const std::vector<uint8_t> before = WholeCard();
            uint8_t request[36];
            Fill(c, request);
            uint8_t reply[28];
            std::memset(reply, kUntouched, sizeof reply);
            EXPECT_FALSE(device.Send(c.code, request, s.in, s.out ? reply : nullptr, s.out));
            EXPECT_EQ(device.lastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
            for (uint8_t b : reply) ASSERT_EQ(b, kUntouched);
            EXPECT_TRUE(WholeCard() == before);
        }
    }
    // The same requests with their whole buffers do change the card.
    const std::vector<uint8_t> before = WholeCard();
    uint8_t request[36];
    uint8_t reply[28];
    Fill(kChanging[1], request);
    ASSERT_TRUE(device.Send(kChanging[1].code, request, sizeof request, reply, sizeof reply));
    EXPECT_FALSE(WholeCard() == before);
}

// An address the kernel keeps for itself, in any process.
void* KernelAddress() { return reinterpret_cast<void*>(~uintptr_t{0} - 0xFFFF); }

TEST_F(DriverTransport, NeitherMethodBuffersOutsideUserSpaceAreRefusedAndChangeNothing) {
    for (const ChangingCase& c : kChanging) {
        if (TransferMethodOf(c.code) != TransferMethod::Neither) continue;
        for (bool kernelReply : {true, false}) {
            SCOPED_TRACE(std::string(c.method) + (kernelReply ? ", reply" : ", request") + " in kernel space");
            const std::vector<uint8_t> before = WholeCard();
            uint8_t request[36];
            Fill(c, request);
            uint8_t reply[28];
            std::memset(reply, kUntouched, sizeof reply);
            void* in = kernelReply ? static_cast<void*>(request) : KernelAddress();
            void* out = kernelReply ? KernelAddress() : static_cast<void*>(reply);
            EXPECT_FALSE(device.Send(c.code, in, sizeof request, out, sizeof reply));
            EXPECT_NE(device.lastError(), static_cast<DWORD>(ERROR_SUCCESS));
            for (uint8_t b : reply) ASSERT_EQ(b, kUntouched);
            EXPECT_TRUE(WholeCard() == before);
        }
    }
}

// One request per transfer method, each with a reply the load state fixes.
struct MethodCase {
    const char* method;
    uint32_t code;
    uint32_t word2, word4, word5;  // request words at 8, 16, 20
    uint32_t replyWord1, replyWord2;
};

const MethodCase kMethods[] = {
    {"METHOD_BUFFERED", 4412, 0, 12, 0, 1, 0},             // card state: ready
    {"METHOD_IN_DIRECT", 4409, 0, 0, 0, 0, 0},              // reset, first step
    {"METHOD_OUT_DIRECT", 4482, 1, 0, 0, 65535, 49152},     // levels of S/PDIF
    {"METHOD_NEITHER", 4411, 0, 0, 0, 0, 0},                // card request, index 0
};

TEST_F(DriverTransport, EveryMethodCarriesRequestAndReplyAndReportsTheReplySize) {
    for (const MethodCase& m : kMethods) {
        SCOPED_TRACE(m.method);
        uint8_t request[36] = {};
        PutWord(request, 8, m.word2);
        PutWord(request, 16, m.word4);
        PutWord(request, 20, m.word5);
        uint8_t reply[64];
        std::memset(reply, kUntouched, sizeof reply);
        DWORD returned = 0;
        ASSERT_TRUE(device.Send(m.code, request, sizeof request, reply, sizeof reply, &returned)) << device.lastError();
        EXPECT_EQ(returned, 28u);
        EXPECT_EQ(Word(reply, 0), 0u);
        if (m.code == 4411) {
            EXPECT_EQ(Word(reply, 12), 0x06011A3Cu);  // identification words of slot 0
        } else {
            EXPECT_EQ(Word(reply, 4), m.replyWord1);
            EXPECT_EQ(Word(reply, 8), m.replyWord2);
        }
        for (size_t i = 28; i < sizeof reply; ++i) ASSERT_EQ(reply[i], kUntouched) << "byte " << i;
    }
}

TEST_F(DriverTransport, BuffersTooSmallAreRefusedWithoutWritingOrCounting) {
    const struct {
        uint32_t in, out;
    } sizes[] = {{35, 28}, {36, 27}, {0, 28}, {36, 0}, {0, 0}};
    for (const MethodCase& m : kMethods) {
        for (const auto& s : sizes) {
            SCOPED_TRACE(std::string(m.method) + " in " + std::to_string(s.in) + " out " + std::to_string(s.out));
            const uint32_t before = device.RequestCount();
            uint8_t request[36] = {};
            uint8_t reply[28];
            std::memset(reply, kUntouched, sizeof reply);
            EXPECT_FALSE(device.Send(m.code, request, s.in, s.out ? reply : nullptr, s.out));
            EXPECT_EQ(device.lastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
            for (uint8_t b : reply) ASSERT_EQ(b, kUntouched);
            EXPECT_EQ(device.RequestCount(), before);
        }
    }
}

TEST_F(DriverTransport, PrivateReadsNeedTheirWholeLayout) {
    VcPrivateRequest request = {};
    std::vector<uint8_t> reply(sizeof(VcCardSnapshot), kUntouched);
    EXPECT_FALSE(device.Send(kVcReadCard, &request, sizeof request, reply.data(), sizeof(VcCardSnapshot) - 1));
    for (uint8_t b : reply) ASSERT_EQ(b, kUntouched);
    EXPECT_FALSE(device.Send(kVcReadCard, &request, sizeof request - 1, reply.data(), sizeof(VcCardSnapshot)));
    DWORD returned = 0;
    EXPECT_TRUE(device.Send(kVcReadCard, &request, sizeof request, reply.data(), sizeof(VcCardSnapshot), &returned));
    EXPECT_EQ(returned, sizeof(VcCardSnapshot));
}

// Random codes (any, the protocol's range, the private range) with random sizes and
// bytes. The per-request delay is left out: a random delay would only slow the run.
TEST_F(DriverTransport, SurvivesGarbageAndKeepsAnswering) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<uint32_t> any;
    std::uniform_int_distribution<uint32_t> size(0, 80);
    for (int i = 0; i < 1500; ++i) {
        uint32_t code = any(random);
        switch (i % 3) {
        case 0: code = 4400 + code % 112; break;
        case 1: code = 0x7A00 + code % 0x100; break;
        default: break;
        }
        if (code == kVcFaultDelay) continue;
        uint8_t in[80];
        uint8_t out[80];
        for (uint8_t& b : in) b = static_cast<uint8_t>(any(random));
        std::memset(out, kUntouched, sizeof out);
        const uint32_t outSize = size(random);
        DWORD returned = 0;
        if (device.Send(code, in, size(random), out, outSize, &returned)) {
            ASSERT_LE(returned, outSize) << code;
        }
    }
    EXPECT_NE(device.RequestCount(), 0xFFFFFFFFu) << "the driver stopped answering";
    ASSERT_TRUE(device.ResetCard());

    CCardControl control;
    ASSERT_EQ(control.GetCardCount(), 1u);
    EXPECT_EQ(control.SetChannelLevels(0, 2, 100, 200), 0);
    uint16_t left = 0;
    uint16_t right = 0;
    EXPECT_EQ(control.GetChannelLevels(0, 2, &left, &right), 0);
    EXPECT_EQ(left, 100);
    EXPECT_EQ(right, 200);
}

}  // namespace
