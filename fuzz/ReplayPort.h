#pragma once
// A driver port whose every answer comes from the fuzzer's input: whether the
// call succeeds, which reply bytes it writes (all, some or none, also when the
// call fails) and whether it scribbles over the request. It keeps each call as
// the link saw it, for the target to check the framing and the outputs against.
#include <cstdint>
#include <string>
#include <vector>

#include "device/DriverPort.h"
#include "fuzz/FuzzBytes.h"

struct PortCall {
    uint32_t code;
    uint8_t request[36];       // as the link sent it
    uint8_t requestAfter[36];  // as the call left it
    uint8_t reply[28];         // the whole reply buffer when the call returned
    bool answered;
};

struct PortRecord {
    std::vector<PortCall> calls;
    std::string openedPath;
    int opens = 0;
    int closes = 0;
};

class ReplayPort : public DriverPort {
public:
    ReplayPort(FuzzBytes& in, PortRecord& record) : in_(in), record_(record) {}

    void Open(const char* path) override;
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) override;
    void Close() override;

private:
    FuzzBytes& in_;
    PortRecord& record_;
};
