#include "emulator/InProcessPort.h"

#include <cstring>
#include <mutex>

#include "device/DriverLink.h"

CInProcessPort::CInProcessPort(std::shared_ptr<CVirtualCardDevice> device) : device_(std::move(device)) {}

void CInProcessPort::Open(const char* path) {
    session_ = device_ && path && std::strcmp(path, kDevicePath) == 0 ? device_->Open() : 0;
    ended_ = false;
}

bool CInProcessPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                             uint32_t replySize) {
    return session_ != 0 && !ended_ && device_->Control(session_, code, request, requestSize, reply, replySize, &ended_);
}

void CInProcessPort::Close() { session_ = 0; }

bool CInProcessPort::Gone() const { return session_ == 0 || ended_; }

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
