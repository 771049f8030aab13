#pragma once
// The program's road to the card's kernel driver: CreateFileA, DeviceIoControl, CloseHandle.
#include <windows.h>

#include "device/DriverPort.h"

class CWin32DriverPort : public DriverPort {
public:
    CWin32DriverPort() = default;
    ~CWin32DriverPort() override;
    CWin32DriverPort(const CWin32DriverPort&) = delete;
    CWin32DriverPort& operator=(const CWin32DriverPort&) = delete;

    void Open(const char* path) override;
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                 uint32_t replySize) override;
    void Close() override;
    bool Gone() const override;

private:
    HANDLE device_ = INVALID_HANDLE_VALUE;
    bool gone_ = false;
};
