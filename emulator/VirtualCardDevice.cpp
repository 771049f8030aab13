#include "emulator/VirtualCardDevice.h"

#include <chrono>
#include <thread>

CVirtualCardDevice::CVirtualCardDevice() : core_() { core_.Reset(); }

bool CVirtualCardDevice::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                                 uint32_t outSize) {
    uint32_t replyBytes = 0;
    uint32_t delayMs = 0;
    bool ok = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        ok = core_.Dispatch(code, in, inSize, out, outSize, &replyBytes, &delayMs);
    }
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    return ok;
}

void CVirtualCardDevice::SetPresent(bool present) {
    std::lock_guard<std::mutex> hold(lock_);
    present_ = present;
}

bool CVirtualCardDevice::Present() {
    std::lock_guard<std::mutex> hold(lock_);
    return present_;
}
