// Figures of the main window on the in-process virtual card under Wine: requests
// and time per repaint, time from a fader's mouse move to its level request, and
// the request rate while the window sits idle.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/TimedPort.h"
#include "panel/WaveSettingsDialog.h"

namespace {

constexpr int kRepaints = 100;
constexpr int kMoves = 500;
constexpr DWORD kIdleMs = 5000;
constexpr int kFaderId = 51;  // channel 3

std::shared_ptr<CVirtualCardDevice> g_card;
CWaveSettingsDialog* g_dialog = nullptr;

std::unique_ptr<DriverPort> MakeTimedPort() { return std::make_unique<CTimedPort>(g_card); }

uint32_t Requests() {
    return g_card->WithCore([](CVirtualCard& core) { return core.RequestCount(); });
}

double Seconds(int64_t ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

int64_t Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
}

void MeasureRepaints(HWND hwnd) {
    const uint32_t before = Requests();
    const int64_t start = Now();
    for (int i = 0; i < kRepaints; ++i) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    const double seconds = Seconds(Now() - start);
    std::printf("requests per repaint:                %.1f\n", static_cast<double>(Requests() - before) / kRepaints);
    std::printf("time per repaint (with controls):    %.3f ms\n", seconds * 1000.0 / kRepaints);
}

void MeasureFaderMoves(HWND hwnd) {
    HWND fader = ::GetDlgItem(hwnd, kFaderId);
    ::SendMessageA(fader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 60));
    double total = 0.0;
    double worst = 0.0;
    for (int i = 0; i < kMoves; ++i) {
        CTimedPort::ResetLevelsTime();
        const int y = 20 + i % 80;
        const int64_t sent = Now();
        ::SendMessageA(fader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, y));
        const double latency = Seconds(CTimedPort::LastLevelsTime() - sent);
        total += latency;
        if (latency > worst) worst = latency;
    }
    ::SendMessageA(fader, WM_LBUTTONUP, 0, MAKELPARAM(5, 60));
    std::printf("fader move, message to request:      %.3f ms mean, %.3f ms worst\n", total * 1000.0 / kMoves,
                worst * 1000.0);
}

void MeasureIdle() {
    PumpFor(200);
    const uint32_t before = Requests();
    const int64_t start = Now();
    PumpFor(kIdleMs);
    const double seconds = Seconds(Now() - start);
    std::printf("requests per second while idle:      %.1f (over %.1f s)\n",
                static_cast<double>(Requests() - before) / seconds, seconds);
}

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND hwnd = g_dialog->m_hWnd;
    ::UpdateWindow(hwnd);
    MeasureRepaints(hwnd);
    MeasureFaderMoves(hwnd);
    MeasureIdle();
    ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main() {
    g_card = InstallInProcessCard();
    SetDriverPortFactory(MakeTimedPort);
    g_card->WithCore([](CVirtualCard& core) {
        core.SetCardCount(1);
        return 0;
    });
    std::printf("main window on the in-process virtual card\n");
    {
        CWaveSettingsDialog dialog;
        g_dialog = &dialog;
        ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Measure);
        if (dialog.DoModal() == -1) {
            std::printf("the main window could not be created\n");
            return 1;
        }
        g_dialog = nullptr;
    }
    UninstallInProcessCard();
    return 0;
}
