#pragma once
// The seam between the driver link and the driver: open a device path, carry one
// control request, close. The program uses the Win32 port; tests may give a link
// a port that answers in-process.
#include <cstdint>
#include <memory>

class DriverPort {
public:
    virtual ~DriverPort() = default;
    // Opens the device. The result is kept by the port and not tested by the
    // link: when opening failed, every later Control fails.
    virtual void Open(const char* path) = 0;
    // One synchronous request; false when the call itself failed.
    virtual bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                         uint32_t replySize) = 0;
    virtual void Close() = 0;
    // Whether the device has gone from under the port: opening it failed, or a call
    // failed as calls to a stopped driver or a removed card do. A link on a port that
    // has gone is built again; a call the driver fails leaves the link as it is.
    virtual bool Gone() const { return false; }
};

// Makes the port that a CCardControl built without one uses. The default makes the
// Win32 port (on Windows) or a port that cannot open anything (elsewhere).
using DriverPortFactory = std::unique_ptr<DriverPort> (*)();
void SetDriverPortFactory(DriverPortFactory factory);  // null restores the default
std::unique_ptr<DriverPort> MakeDriverPort();
