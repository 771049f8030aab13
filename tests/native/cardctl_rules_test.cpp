// The driver's reading of a request: the transfer method the code selects, the
// smallest buffers it accepts, and the cap on an armed delay.
#include <gtest/gtest.h>

#include "driver/RequestRules.h"

namespace {

TEST(RequestRules, TheProtocolsCodesSelectEveryMethod) {
    const struct {
        uint32_t code;
        TransferMethod method;
    } cases[] = {
        {4403, TransferMethod::Neither},   {4408, TransferMethod::Buffered}, {4409, TransferMethod::InDirect},
        {4411, TransferMethod::Neither},   {4412, TransferMethod::Buffered}, {4482, TransferMethod::OutDirect},
        {4500, TransferMethod::Buffered},  {0x7A00, TransferMethod::Buffered},
    };
    for (const auto& c : cases) EXPECT_EQ(TransferMethodOf(c.code), c.method) << c.code;
}

TEST(RequestRules, ProtocolBuffersBelow36And28AreTooSmall) {
    const struct {
        uint32_t in, out;
        bool tooSmall;
    } cases[] = {
        {36, 28, false}, {35, 28, true}, {36, 27, true}, {0, 0, true}, {4096, 4096, false}, {0, 28, true},
    };
    for (const auto& c : cases) EXPECT_EQ(BuffersTooSmall(c.in, c.out), c.tooSmall) << c.in << " " << c.out;
}

TEST(RequestRules, DelaysAreCappedAtTenSeconds) {
    EXPECT_EQ(ClampDelayMs(0), 0u);
    EXPECT_EQ(ClampDelayMs(10000), 10000u);
    EXPECT_EQ(ClampDelayMs(10001), 10000u);
    EXPECT_EQ(ClampDelayMs(0xFFFFFFFFu), 10000u);
}

}  // namespace
