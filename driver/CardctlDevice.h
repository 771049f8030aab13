#pragma once
// cardctl's handle on the driver: opened once, closed when the tool ends.
#include <windows.h>

#include <cstdint>

class CCardctlDevice {
public:
    CCardctlDevice() = default;
    ~CCardctlDevice();
    CCardctlDevice(const CCardctlDevice&) = delete;
    CCardctlDevice& operator=(const CCardctlDevice&) = delete;

    // False when the driver is not there; lastError() tells why.
    bool Open();
    // One synchronous request; false when the call failed (lastError() tells why).
    bool Send(uint32_t code, const void* request, uint32_t requestSize, void* reply, uint32_t replySize);
    DWORD lastError() const { return lastError_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD lastError_ = 0;
};
