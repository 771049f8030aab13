#include "device/Win32DriverPort.h"

namespace {

// What a call on a handle gives once the device behind it has gone. Measured under
// Wine: a stopped driver's handle answers ERROR_ACCESS_DENIED (as a handle whose
// device is pending deletion does on Windows), also after the driver has started
// again, and opening the path meanwhile fails with ERROR_FILE_NOT_FOUND. The rest
// are what Windows gives for a removed or disconnected device and a dead handle.
// A driver that fails a request (ERROR_GEN_FAILURE and the like) is still there.
bool MeansDeviceGone(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
        return true;
    default:
        return false;
    }
}

}  // namespace

CWin32DriverPort::~CWin32DriverPort() { Close(); }

void CWin32DriverPort::Open(const char* path) {
    Close();
    device_ = CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    gone_ = device_ == INVALID_HANDLE_VALUE;
}

bool CWin32DriverPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                               uint32_t replySize) {
    DWORD bytes = 0;
    if (DeviceIoControl(device_, code, request, requestSize, reply, replySize, &bytes, nullptr)) return true;
    // A handle whose device went stays dead, even when the driver comes back.
    if (MeansDeviceGone(GetLastError())) gone_ = true;
    return false;
}

// The invalid handle of a failed open is also the current-process pseudo handle:
// never hand it to CloseHandle.
void CWin32DriverPort::Close() {
    if (device_ != INVALID_HANDLE_VALUE && device_ != nullptr) CloseHandle(device_);
    device_ = INVALID_HANDLE_VALUE;
}

bool CWin32DriverPort::Gone() const { return gone_; }
