#pragma once
// A DriverPort that answers from a virtual card in this process, so that tests
// can give a link a card without the kernel driver.
#include <cstdint>
#include <memory>

#include "device/DriverPort.h"
#include "emulator/VirtualCardDevice.h"

class CInProcessPort : public DriverPort {
public:
    explicit CInProcessPort(std::shared_ptr<CVirtualCardDevice> device);

    // Opens only the card's own path, and only while the device is present.
    void Open(const char* path) override;
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                 uint32_t replySize) override;
    void Close() override;
    // Opening failed, or the device was taken away since (CVirtualCardDevice::SetPresent).
    bool Gone() const override;

private:
    std::shared_ptr<CVirtualCardDevice> device_;
    uint64_t session_ = 0;  // 0 while not open
    bool ended_ = false;
};

// Makes every port built by MakeDriverPort() from now on reach one shared virtual
// card in the load state, and returns that card. Uninstall restores the default.
std::shared_ptr<CVirtualCardDevice> InstallInProcessCard();
void UninstallInProcessCard();
