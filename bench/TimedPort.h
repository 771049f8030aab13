#pragma once
// An in-process port that notes when the last level request and the last channel
// switch request reached the card, so that a benchmark can time a fader move or a
// click from its message to its request.
#include <atomic>
#include <cstdint>

#include "emulator/InProcessPort.h"

class CTimedPort : public CInProcessPort {
public:
    explicit CTimedPort(std::shared_ptr<CVirtualCardDevice> device);

    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) override;

    // Performance-counter time now, the clock the times below are read on.
    static int64_t Now();
    // Performance-counter time of the last SetChannelLevels request; 0 before any.
    static int64_t LastLevelsTime();
    static void ResetLevelsTime();
    // The same for SetChannelControl, on or off.
    static int64_t LastSwitchTime();
    static void ResetSwitchTime();

private:
    static std::atomic<int64_t> lastLevels_;
    static std::atomic<int64_t> lastSwitch_;
};
