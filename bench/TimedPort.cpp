#include "bench/TimedPort.h"

#include <windows.h>

#include "bench/CallProbe.h"

namespace {

constexpr uint32_t kSetChannelLevels = 4481;
constexpr uint32_t kChannelControlOff = 4484;
constexpr uint32_t kChannelControlOn = 4485;

}  // namespace

std::atomic<int64_t> CTimedPort::lastLevels_{0};
std::atomic<int64_t> CTimedPort::lastSwitch_{0};

int64_t CTimedPort::Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

CTimedPort::CTimedPort(std::shared_ptr<CVirtualCardDevice> device) : CInProcessPort(std::move(device)) {}

bool CTimedPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) {
    if (code == kSetChannelLevels) lastLevels_ = Now();
    if (code == kChannelControlOff || code == kChannelControlOn) lastSwitch_ = Now();
    const CProbedCall counted(CProbedCall::kCardRequest);
    return CInProcessPort::Control(code, request, requestSize, reply, replySize);
}

int64_t CTimedPort::LastLevelsTime() { return lastLevels_; }

void CTimedPort::ResetLevelsTime() { lastLevels_ = 0; }

int64_t CTimedPort::LastSwitchTime() { return lastSwitch_; }

void CTimedPort::ResetSwitchTime() { lastSwitch_ = 0; }
