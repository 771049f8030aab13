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

    // Opening the device by its path: the session the opener's calls belong to, or 0
    // while the device is absent.
    uint64_t Open();
    // One call within session. Once the device has been taken away since the session
    // began, the call fails and *ended is set, as on a stopped driver's handle.
    bool Control(uint64_t session, uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                 bool* ended);

    // Runs f(core) under the device's lock: tests read the log and state and arm
    // faults through it.
    template <typename F>
    auto WithCore(F&& f) {
        std::lock_guard<std::mutex> hold(lock_);
        return f(core_);
    }

    // Whether opening the device by its path succeeds. Taking the device away acts as
    // stopping its driver: it ends every session, so the calls of ports opened
    // before fail even once the device is back; the card keeps its state.
    void SetPresent(bool present);

private:
    std::mutex lock_;
    CVirtualCard core_;
    bool present_ = true;
    uint64_t session_ = 1;
};
