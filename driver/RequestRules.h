#pragma once
// How the driver reads a control request: where its buffers are, when it is
// refused for its sizes, and how long a slow card may hold a caller.
// Freestanding: the kernel driver and user programs share it.
#include <stdint.h>

enum class TransferMethod : uint32_t { Buffered = 0, InDirect = 1, OutDirect = 2, Neither = 3 };

// The protocol's codes are small plain integers, so their low two bits pick
// different methods from one code to the next.
constexpr TransferMethod TransferMethodOf(uint32_t code) {
    return static_cast<TransferMethod>(code & 3);
}

// The smallest buffers of a protocol request; private codes need their own layouts.
constexpr uint32_t kMinRequestBytes = 36;
constexpr uint32_t kMinReplyBytes = 28;

constexpr bool BuffersTooSmall(uint32_t inSize, uint32_t outSize) {
    return inSize < kMinRequestBytes || outSize < kMinReplyBytes;
}

// A delay armed for every request is capped, so that a stray value cannot stall
// every client of the card for hours.
constexpr uint32_t kMaxDelayMs = 10000;

constexpr uint32_t ClampDelayMs(uint32_t ms) { return ms > kMaxDelayMs ? kMaxDelayMs : ms; }
