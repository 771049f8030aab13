#pragma once
// Little-endian words of the request and reply buffers, by byte offset.
#include <cstdint>

inline void PutWord32(uint8_t* buffer, uint32_t offset, uint32_t value) {
    for (uint32_t i = 0; i < 4; ++i) buffer[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PutWord16(uint8_t* buffer, uint32_t offset, uint16_t value) {
    buffer[offset] = static_cast<uint8_t>(value);
    buffer[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t GetWord32(const uint8_t* buffer, uint32_t offset) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(buffer[offset + i]) << (8 * i);
    return value;
}

inline uint16_t GetWord16(const uint8_t* buffer, uint32_t offset) {
    return static_cast<uint16_t>(buffer[offset] | (buffer[offset + 1] << 8));
}
