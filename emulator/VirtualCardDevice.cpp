#include "emulator/VirtualCardDevice.h"

#include <chrono>
#include <thread>

CVirtualCardDevice::CVirtualCardDevice() : core_() { core_.Reset(); }

uint64_t CVirtualCardDevice::Open() {
    std::lock_guard<std::mutex> hold(lock_);
    return present_ ? session_ : 0;
}

bool CVirtualCardDevice::Control(uint64_t session, uint32_t code, const void* in, uint32_t inSize, void* out,
                                 uint32_t outSize, bool* ended) {
    uint32_t replyBytes = 0;
    uint32_t delayMs = 0;
    bool ok = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!present_ || session != session_) {
            *ended = true;
            return false;
        }
        ok = core_.Dispatch(code, in, inSize, out, outSize, &replyBytes, &delayMs);
    }
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    return ok;
}

void CVirtualCardDevice::SetPresent(bool present) {
    std::lock_guard<std::mutex> hold(lock_);
    if (present_ && !present) ++session_;
    present_ = present;
}
