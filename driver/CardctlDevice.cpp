#include "driver/CardctlDevice.h"

CCardctlDevice::~CCardctlDevice() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool CCardctlDevice::Open() {
    // The private codes carry FILE_READ_ACCESS in their access bits.
    handle_ = CreateFileA("\\\\.\\ZelkWave", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    lastError_ = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    return handle_ != INVALID_HANDLE_VALUE;
}

bool CCardctlDevice::Send(uint32_t code, const void* request, uint32_t requestSize, void* reply,
                          uint32_t replySize) {
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(request), requestSize, reply, replySize,
                                    &returned, nullptr);
    lastError_ = ok ? 0 : GetLastError();
    return ok != FALSE;
}
