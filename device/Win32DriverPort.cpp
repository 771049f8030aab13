#include "device/Win32DriverPort.h"

CWin32DriverPort::~CWin32DriverPort() { Close(); }

void CWin32DriverPort::Open(const char* path) {
    Close();
    device_ = CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool CWin32DriverPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                               uint32_t replySize) {
    DWORD bytes = 0;
    return DeviceIoControl(device_, code, request, requestSize, reply, replySize, &bytes, nullptr) != FALSE;
}

// The invalid handle of a failed open is also the current-process pseudo handle:
// never hand it to CloseHandle.
void CWin32DriverPort::Close() {
    if (device_ != INVALID_HANDLE_VALUE && device_ != nullptr) CloseHandle(device_);
    device_ = INVALID_HANDLE_VALUE;
}
