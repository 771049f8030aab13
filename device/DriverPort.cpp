#include "device/DriverPort.h"

#include <atomic>

#include "device/AbsentDriverPort.h"
#ifdef _WIN32
#include "device/Win32DriverPort.h"
#endif

namespace {

std::unique_ptr<DriverPort> MakeDefaultPort() {
#ifdef _WIN32
    return std::make_unique<CWin32DriverPort>();
#else
    return std::make_unique<CAbsentDriverPort>();
#endif
}

// Tests set the factory before they build card controls, possibly from another thread.
std::atomic<DriverPortFactory> g_portFactory{nullptr};

}  // namespace

void SetDriverPortFactory(DriverPortFactory factory) { g_portFactory.store(factory); }

std::unique_ptr<DriverPort> MakeDriverPort() {
    const DriverPortFactory factory = g_portFactory.load();
    return factory ? factory() : MakeDefaultPort();
}
