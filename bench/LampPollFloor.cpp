// The cost floor of the idle panel: a program that does nothing but send the lamp
// poll's sixteen requests a second through the driver (the panel's own
// ReadStreamStates), from a multimedia timer as the panel does. Runs until it is ended.
#include <windows.h>

#include "device/CardControl.h"
#include "panel/StreamStates.h"

namespace {

constexpr UINT kPeriodMs = 1000;
constexpr UINT kResolutionMs = 250;

void CALLBACK Poll(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    ReadStreamStates(*reinterpret_cast<CCardControl*>(user), 0);
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
