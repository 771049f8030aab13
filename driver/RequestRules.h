#pragma once
// How the driver reads a control request: where its buffers are, the sizes they
// must have before the driver touches them, and where a caller's own pointers may
// point. Freestanding: the kernel driver and user programs share it.
#include <stdint.h>

#include "emulator/PrivateCodes.h"

enum class TransferMethod : uint32_t { Buffered = 0, InDirect = 1, OutDirect = 2, Neither = 3 };

// The protocol's codes are small plain integers, so their low two bits pick
// different methods from one code to the next.
constexpr TransferMethod TransferMethodOf(uint32_t code) {
    return static_cast<TransferMethod>(code & 3);
}

// The fixed buffer sizes of a request: 36 and 28 bytes for every code outside the
// private range, the private layouts for private codes.
constexpr uint32_t kProtocolRequestBytes = 36;
constexpr uint32_t kProtocolReplyBytes = 28;

constexpr uint32_t RequestBytesOf(uint32_t code) {
    return VcIsPrivateCode(code) ? static_cast<uint32_t>(sizeof(VcPrivateRequest)) : kProtocolRequestBytes;
}

constexpr uint32_t ReplyBytesOf(uint32_t code) {
    return code == kVcReadCard     ? static_cast<uint32_t>(sizeof(VcCardSnapshot))
           : code == kVcReadGlobal ? static_cast<uint32_t>(sizeof(VcGlobalSnapshot))
           : VcIsPrivateCode(code) ? static_cast<uint32_t>(sizeof(VcPrivateReply))
                                   : kProtocolReplyBytes;
}

constexpr bool BuffersTooSmall(uint32_t code, uint32_t inSize, uint32_t outSize) {
    return inSize < RequestBytesOf(code) || outSize < ReplyBytesOf(code);
}

// True when the `size` bytes at `address` lie wholly below `limit`, the first
// address beyond user space; a range that wraps around is not.
constexpr bool WithinUserSpace(uintptr_t address, uint32_t size, uintptr_t limit) {
    return address < limit && size <= limit - address;
}
