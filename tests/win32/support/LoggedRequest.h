#pragma once
// Requests as the in-process virtual card logged them.
#include <cstdint>
#include <vector>

struct LoggedRequest {
    uint32_t code = 0;
    uint8_t bytes[36] = {};
    uint32_t Word(int offset) const;
    uint16_t Half(int offset) const;
    uint32_t DriverIndex() const { return Word(4); }
};

// The codes alone, in order.
std::vector<uint32_t> Codes(const std::vector<LoggedRequest>& log);

// Request codes of the card operations the tests look for, restated here so that a
// wrong code in the program shows.
enum : uint32_t {
    kResetCardStart = 4408,
    kResetCardStop = 4409,
    kQueryStatus = 4412,
    kReadRegister = 4432,
    kSetClockMode = 4439,
    kGetClockMode = 4440,
    kSetChannelLevels = 4481,
    kGetChannelLevels = 4482,
    kGetChannelControl = 4483,
    kChannelControlOff = 4484,
    kChannelControlOn = 4485,
    kGetStreamSync = 4486,
    kSetStreamSync = 4487,
    kAutoSyncOff = 4488,
    kAutoSyncOn = 4489,
    kGetAutoSync = 4490,
    kSaveDefaults = 4495,
    kRetrieveDefaults = 4496,
    kFreeCard = 4499,
    kReadDefaultsWord = 4500,
};
