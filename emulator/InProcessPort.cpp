#include "emulator/InProcessPort.h"

#include <cstring>
#include <mutex>

#include "device/DriverLink.h"

CInProcessPort::CInProcessPort(std::shared_ptr<CVirtualCardDevice> device) : device_(std::move(device)) {}

void CInProcessPort::Open(const char* path) {
    open_ = device_ && path && std::strcmp(path, kDevicePath) == 0 && device_->Present();
}

bool CInProcessPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                             uint32_t replySize) {
    return open_ && device_->Control(code, request, requestSize, reply, replySize);
}

void CInProcessPort::Close() { open_ = false; }

namespace {

// The factory is a plain function, so the shared card it hands out lives here.
std::mutex g_installLock;
std::shared_ptr<CVirtualCardDevice> g_installed;

std::unique_ptr<DriverPort> MakeInProcessPort() {
    std::lock_guard<std::mutex> hold(g_installLock);
    return std::make_unique<CInProcessPort>(g_installed);
}

}  // namespace

std::shared_ptr<CVirtualCardDevice> InstallInProcessCard() {
    auto device = std::make_shared<CVirtualCardDevice>();
    {
        std::lock_guard<std::mutex> hold(g_installLock);
        g_installed = device;
    }
    SetDriverPortFactory(MakeInProcessPort);
    return device;
}

void UninstallInProcessCard() {
    SetDriverPortFactory(nullptr);
    std::lock_guard<std::mutex> hold(g_installLock);
    g_installed.reset();
}
