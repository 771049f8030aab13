#pragma once
// A virtual card that several ports (several links, several threads) reach, as
// processes reach one driver: one call at a time, with the card's delay applied
// after the answer, outside the lock.
#include <cstdint>
#include <mutex>

#include "emulator/VirtualCard.h"

class CVirtualCardDevice {
public:
    CVirtualCardDevice();
    CVirtualCardDevice(const CVirtualCardDevice&) = delete;
    CVirtualCardDevice& operator=(const CVirtualCardDevice&) = delete;

    bool Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize);

    // Runs f(core) under the device's lock: tests read the log and state and arm
    // faults through it.
    template <typename F>
    auto WithCore(F&& f) {
        std::lock_guard<std::mutex> hold(lock_);
        return f(core_);
    }

    // Whether opening the device by its path succeeds.
    void SetPresent(bool present);
    bool Present();

private:
    std::mutex lock_;
    CVirtualCard core_;
    bool present_ = true;
};
