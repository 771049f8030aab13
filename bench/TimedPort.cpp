#include "bench/TimedPort.h"

#include <windows.h>

namespace {

constexpr uint32_t kSetChannelLevels = 4481;

}  // namespace

std::atomic<int64_t> CTimedPort::lastLevels_{0};

CTimedPort::CTimedPort(std::shared_ptr<CVirtualCardDevice> device) : CInProcessPort(std::move(device)) {}

bool CTimedPort::Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) {
    if (code == kSetChannelLevels) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        lastLevels_ = now.QuadPart;
    }
    return CInProcessPort::Control(code, request, requestSize, reply, replySize);
}

int64_t CTimedPort::LastLevelsTime() { return lastLevels_; }

void CTimedPort::ResetLevelsTime() { lastLevels_ = 0; }
