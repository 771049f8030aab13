#pragma once
// How the driver reads a control request: where its buffers are, the sizes they
// must have before the driver touches them, and where a caller's own pointers may
// point. Freestanding: the kernel driver and user programs share it.
#include <stdint.h>

#include "emulator/VirtualCard.h"

enum class TransferMethod : uint32_t { Buffered = 0, InDirect = 1, OutDirect = 2, Neither = 3 };

// The protocol's codes are small plain integers, so their low two bits pick
// different methods from one code to the next.
constexpr TransferMethod TransferMethodOf(uint32_t code) {
    return static_cast<TransferMethod>(code & 3);
}

// The driver refuses buffers below the fixed sizes of their code, as the core would.
constexpr bool BuffersTooSmall(uint32_t code, uint32_t inSize, uint32_t outSize) {
    return inSize < VcRequestBytesOf(code) || outSize < VcReplyBytesOf(code);
}

// True when the `size` bytes at `address` lie wholly below `limit`, the first
// address beyond user space; a range that wraps around is not.
constexpr bool WithinUserSpace(uintptr_t address, uint32_t size, uintptr_t limit) {
    return address < limit && size <= limit - address;
}
