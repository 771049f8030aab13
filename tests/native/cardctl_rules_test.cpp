// The driver's reading of a request: the transfer method the code selects, the
// fixed buffer sizes it needs, and the user-space range a caller's pointer must lie in.
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

TEST(RequestRules, BuffersBelowTheFixedSizesOfTheirCodeAreTooSmall) {
    const uint32_t card = sizeof(VcCardSnapshot);
    const uint32_t global = sizeof(VcGlobalSnapshot);
    const struct {
        uint32_t code, in, out;
        bool tooSmall;
    } cases[] = {
        {4412, 36, 28, false},  {4412, 35, 28, true},   {4412, 36, 27, true},         {4411, 0, 0, true},
        {4403, 4096, 4096, false}, {4481, 0, 28, true}, {0x12345678, 36, 28, false},  {0x12345678, 24, 8, true},
        {kVcSetCardState, 24, 8, false},  {kVcSetCardState, 23, 8, true},  {kVcSetCardState, 24, 7, true},
        {kVcReadCard, 24, card, false},   {kVcReadCard, 24, card - 1, true}, {kVcReadCard, 23, card, true},
        {kVcReadGlobal, 24, global, false}, {kVcReadGlobal, 24, global - 1, true},
        {kVcPrivateLast, 24, 8, false},   {kVcPrivateLast, 24, 7, true},  {kVcPrivateFirst - 1, 24, 28, true},
        {kVcPrivateLast + 1, 36, 8, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuffersTooSmall(c.code, c.in, c.out), c.tooSmall) << std::hex << c.code << std::dec << " " << c.in
                                                                    << " " << c.out;
    }
}

TEST(RequestRules, OnlyRangesWhollyBelowTheLimitAreInUserSpace) {
    const uintptr_t limit = 0x7FFF0000;
    const uintptr_t top = ~uintptr_t{0};
    const struct {
        uintptr_t address;
        uint32_t size;
        bool inside;
    } cases[] = {
        {0x10000, 28, true},          {limit - 28, 28, true},  {limit - 27, 28, false}, {limit, 0, false},
        {limit, 28, false},           {top - 3, 28, false},    {top, 1, false},         {0x10000, 0xFFFFFFFF, false},
        {limit - 1, 1, true},         {limit - 1, 2, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithinUserSpace(c.address, c.size, limit), c.inside) << std::hex << c.address << " " << c.size;
    }
}

}  // namespace
