#pragma once
// The fuzzer's input read as a stream of small values. Past the end every read
// gives zero, so a target never has to test for a short input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

class FuzzBytes {
public:
    FuzzBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    uint16_t Word16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }

    uint32_t Word32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
        return value;
    }

    // One of n choices, n > 0.
    uint32_t Pick(uint32_t n) { return Byte() % n; }

    void Fill(uint8_t* to, size_t n) {
        for (size_t i = 0; i < n; ++i) to[i] = Byte();
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A broken rule stops the run with one line that names it; libFuzzer then keeps
// the input that broke it.
inline void Rule(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "RULE BROKEN: %s\n", rule);
    std::abort();
}
