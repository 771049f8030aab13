// The cost floor of the idle panel: a program that does nothing but send the lamp
// poll's sixteen requests a second through the driver, from a multimedia timer as
// the panel does. Runs until it is ended.
#include <windows.h>

#include <cstdint>

#include "device/CardControl.h"

namespace {

constexpr UINT kPeriodMs = 1000;
constexpr UINT kResolutionMs = 250;
constexpr int kChannels = 10;
constexpr int kRecordChannels = 6;
constexpr uint32_t kPlaybackStateSelector = 15;
constexpr uint32_t kRecordStateSelector = 14;

void CALLBACK Poll(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    CCardControl& card = *reinterpret_cast<CCardControl*>(user);
    uint32_t state = 0;
    for (uint32_t k = 0; k < kChannels; ++k) card.QueryStatus(0, 0, kPlaybackStateSelector, k, &state);
    for (uint32_t k = 0; k < kRecordChannels; ++k) card.QueryStatus(0, 0, kRecordStateSelector, k, &state);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CCardControl card;
    if (card.GetCardCount() == 0) return 1;
    const UINT timer = ::timeSetEvent(kPeriodMs, kResolutionMs, Poll, reinterpret_cast<DWORD_PTR>(&card),
                                      TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
    if (timer == 0) return 1;
    ::Sleep(INFINITE);
    return 0;
}
