#pragma once
// The port of a system without the card's driver: opening fails, so every request fails.
#include "device/DriverPort.h"

class CAbsentDriverPort : public DriverPort {
public:
    void Open(const char* path) override;
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply,
                 uint32_t replySize) override;
    void Close() override;
};
