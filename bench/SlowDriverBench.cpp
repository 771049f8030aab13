// Figures of the main window on a slow in-process virtual card: the time from a click
// on a channel switch to its request reaching the card, at 0, 40 and 100 ms per
// request, while the lamp poll ticks once a second. Beside each figure, the floor:
// the same clicks on a window whose lamp poll never ticks, measured in the same run.
// The delay is armed once the window has painted and lasts a few seconds before the
// first click. Clicks are posted to the switch from another thread, as input arrives
// whatever the window is doing, and a poll on the window's thread makes them wait.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "bench/TimedPort.h"
#include "panel/WaveSettingsDialog.h"

namespace {

constexpr uint32_t kDelaysMs[] = {0, 40, 100};
constexpr int kClicks = 5;
constexpr DWORD kSettleMs = 3000;
constexpr DWORD kGapMs = 700;
constexpr DWORD kGiveUpMs = 20000;
constexpr int kSwitchId = 35;  // channel 3
constexpr UINT kQuietPeriodMs = 60 * 60 * 1000;

struct Figures {
    double meanMs = 0.0;
    double worstMs = 0.0;
    int lost = 0;
};

std::shared_ptr<CVirtualCardDevice> g_card;
CWaveSettingsDialog* g_dialog = nullptr;
uint32_t g_delayMs = 0;
Figures g_figures;

std::unique_ptr<DriverPort> MakeTimedPort() { return std::make_unique<CTimedPort>(g_card); }

void SetDelay(uint32_t ms) {
    g_card->WithCore([ms](CVirtualCard& core) {
        core.SetDelayMs(ms);
        return 0;
    });
}

double Milliseconds(int64_t ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// One message at a time, until done() or the deadline: a window that a slow driver
// keeps busy may never let its queue run empty.
bool PumpEachUntil(ULONGLONG deadline, const std::function<bool()>& done) {
    for (ULONGLONG now = ::GetTickCount64(); !done(); now = ::GetTickCount64()) {
        if (now >= deadline) return false;
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        }
    }
    return true;
}

void PumpEachFor(DWORD milliseconds) {
    PumpEachUntil(::GetTickCount64() + milliseconds, [] { return false; });
}

// The clicking thread: each click, then its wait for the request (a benchmark may
// sleep between clicks and poll the port's clock).
Figures Click(HWND button) {
    Figures figures;
    double total = 0.0;
    int handled = 0;
    for (int i = 0; i < kClicks; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kGapMs));
        CTimedPort::ResetSwitchTime();
        const int64_t posted = CTimedPort::Now();
        ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        const ULONGLONG giveUp = ::GetTickCount64() + kGiveUpMs;
        while (CTimedPort::LastSwitchTime() == 0 && ::GetTickCount64() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (CTimedPort::LastSwitchTime() == 0) {
            ++figures.lost;
            continue;
        }
        const double latency = Milliseconds(CTimedPort::LastSwitchTime() - posted);
        total += latency;
        ++handled;
        if (latency > figures.worstMs) figures.worstMs = latency;
    }
    if (handled > 0) figures.meanMs = total / handled;
    return figures;
}

Figures TimeClicks(HWND hwnd) {
    Figures figures;
    std::atomic<bool> done{false};
    std::thread clicker([&] {
        figures = Click(::GetDlgItem(hwnd, kSwitchId));
        done = true;
        ::PostMessageA(hwnd, WM_NULL, 0, 0);
    });
    PumpEachUntil(::GetTickCount64() + kClicks * (kGapMs + kGiveUpMs) + kGiveUpMs, [&] { return done.load(); });
    clicker.join();
    return figures;
}

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND hwnd = g_dialog->m_hWnd;
    SetDelay(g_delayMs);
    PumpEachFor(kSettleMs);
    g_figures = TimeClicks(hwnd);
    // The backlog a slow driver left drains fast once the delay is gone.
    SetDelay(0);
    ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// Clicks in a main window whose lamp poll ticks with the given period.
Figures RunWindow(UINT lampPeriodMs) {
    CWaveSettingsDialog::SetLampPeriod(lampPeriodMs);
    CWaveSettingsDialog dialog;
    g_dialog = &dialog;
    ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Measure);
    if (dialog.DoModal() == -1) std::printf("the main window could not be created\n");
    g_dialog = nullptr;
    return g_figures;
}

void PrintFigures(const char* label, const Figures& f) {
    std::printf("  %-8s %9.1f ms mean, %9.1f ms worst", label, f.meanMs, f.worstMs);
    if (f.lost > 0) std::printf(", %d of %d clicks not handled within %lu ms", f.lost, kClicks,
                                static_cast<unsigned long>(kGiveUpMs));
    std::printf("\n");
}

}  // namespace

int main() {
    g_card = InstallInProcessCard();
    SetDriverPortFactory(MakeTimedPort);
    g_card->WithCore([](CVirtualCard& core) {
        core.SetCardCount(1);
        return 0;
    });
    std::printf("main window on a slow in-process virtual card: click on a switch to its request\n");
    for (uint32_t delay : kDelaysMs) {
        g_delayMs = delay;
        std::printf("%u ms per request:\n", static_cast<unsigned>(delay));
        PrintFigures("polling", RunWindow(CWaveSettingsDialog::kDefaultLampPeriodMs));
        PrintFigures("floor", RunWindow(kQuietPeriodMs));
        std::fflush(stdout);
    }
    UninstallInProcessCard();
    return 0;
}
