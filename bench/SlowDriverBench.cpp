// Figures of the main window on a slow in-process virtual card: the time from a click
// on a channel switch to its request reaching the card, at 0, 40 and 100 ms per
// request, while the lamp poll ticks once a second. Beside each figure, the floor:
// the same clicks on a window whose lamp poll never ticks, measured in the same run.
// The delay is armed once the window has painted and lasts a few seconds before the
// first click. Clicks are posted to the switch from another thread, as input arrives
// whatever the window is doing, and a poll on the window's thread makes them wait.
//
// Then the time that closing a window holds the window's thread in its WM_DESTROY:
// Diagnostics, opened from the main window's button and polling beside the lamp poll,
// and the main window, each closed after a while at the same delays with both polls
// at their own periods. The floor: the same closes with no poll running.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "bench/TimedPort.h"
#include "panel/WaveSettingsDialog.h"
#include "windows/DiagnosticsDialog.h"

namespace {

constexpr uint32_t kDelaysMs[] = {0, 40, 100};
constexpr int kClicks = 5;
constexpr DWORD kSettleMs = 3000;
constexpr DWORD kGapMs = 700;
constexpr DWORD kGiveUpMs = 20000;
constexpr int kSwitchId = 35;  // channel 3
constexpr UINT kQuietPeriodMs = 60 * 60 * 1000;
constexpr int kDiagnosticsButtonId = 95;
constexpr char kDiagnosticsTitle[] = "Zelk MIRVA PCI Diagnostics";
constexpr int kCloseRounds = 3;
constexpr UINT kOpenMs = 1500;  // how long each window polls before it is closed

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

// How long the last of the two windows to be destroyed held this thread in its
// WM_DESTROY.
int64_t g_destroyBegan = 0;
double g_lastDestroyMs = 0.0;

bool IsDestroyOfAMeasuredWindow(int code, UINT message, HWND hwnd) {
    if (code != HC_ACTION || message != WM_DESTROY) return false;
    if (g_dialog != nullptr && hwnd == g_dialog->m_hWnd) return true;
    char title[64] = {};
    ::GetWindowTextA(hwnd, title, sizeof title);
    return std::strcmp(title, kDiagnosticsTitle) == 0;
}

LRESULT CALLBACK BeforeMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (IsDestroyOfAMeasuredWindow(code, m->message, m->hwnd)) g_destroyBegan = CTimedPort::Now();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (IsDestroyOfAMeasuredWindow(code, m->message, m->hwnd)) {
        g_lastDestroyMs = Milliseconds(CTimedPort::Now() - g_destroyBegan);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct CloseFigures {
    double totalMs = 0.0;
    double worstMs = 0.0;
    int closes = 0;
    void Add(double ms) {
        totalMs += ms;
        if (ms > worstMs) worstMs = ms;
        ++closes;
    }
};

CloseFigures g_diagnosticsCloses;
CloseFigures g_mainCloses;

// Runs inside the Diagnostics window's own loop: closes it once it is there.
void CALLBACK CloseDiagnostics(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND diagnostics = ::FindWindowA("#32770", kDiagnosticsTitle);
    if (diagnostics == nullptr) return;
    ::KillTimer(nullptr, timer);
    ::PostMessageA(diagnostics, WM_COMMAND, IDCANCEL, 0);
}

// Opens Diagnostics with the main window's button, closes it after a while (the main
// window then reads the card again), then closes the main window after a while.
void CALLBACK CloseRound(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND hwnd = g_dialog->m_hWnd;
    SetDelay(g_delayMs);
    ::SetTimer(nullptr, 0, kOpenMs, CloseDiagnostics);
    HWND button = ::GetDlgItem(hwnd, kDiagnosticsButtonId);
    ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    g_lastDestroyMs = -1.0;
    PumpEachUntil(::GetTickCount64() + kGiveUpMs + kOpenMs, [] { return g_lastDestroyMs >= 0.0; });
    g_diagnosticsCloses.Add(g_lastDestroyMs);
    PumpEachFor(kOpenMs);
    ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// Closes of both windows, with the polls ticking at the given periods.
void RunCloses(UINT lampPeriodMs, UINT diagnosticsPeriodMs, CloseFigures& diagnostics, CloseFigures& main) {
    CWaveSettingsDialog::SetLampPeriod(lampPeriodMs);
    CDiagnosticsDialog::SetPollDelay(diagnosticsPeriodMs);
    g_diagnosticsCloses = CloseFigures();
    g_mainCloses = CloseFigures();
    HHOOK before = ::SetWindowsHookExA(WH_CALLWNDPROC, BeforeMessage, nullptr, ::GetCurrentThreadId());
    HHOOK after = ::SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, ::GetCurrentThreadId());
    for (int round = 0; round < kCloseRounds; ++round) {
        CWaveSettingsDialog dialog;
        g_dialog = &dialog;
        ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseRound);
        g_lastDestroyMs = -1.0;
        if (dialog.DoModal() == -1) std::printf("the main window could not be created\n");
        if (g_lastDestroyMs >= 0.0) g_mainCloses.Add(g_lastDestroyMs);
        g_dialog = nullptr;
        SetDelay(0);
    }
    ::UnhookWindowsHookEx(after);
    ::UnhookWindowsHookEx(before);
    diagnostics = g_diagnosticsCloses;
    main = g_mainCloses;
}

void PrintCloses(const char* label, const CloseFigures& f) {
    std::printf("  %-8s %9.1f ms mean, %9.1f ms worst of %d closes\n", label,
                f.closes > 0 ? f.totalMs / f.closes : 0.0, f.worstMs, f.closes);
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
    std::printf("closing a window on a slow in-process virtual card: its thread held in WM_DESTROY\n");
    for (uint32_t delay : kDelaysMs) {
        g_delayMs = delay;
        CloseFigures diagnostics, main, diagnosticsFloor, mainFloor;
        RunCloses(CWaveSettingsDialog::kDefaultLampPeriodMs, CDiagnosticsDialog::kPollDelayMs, diagnostics, main);
        RunCloses(kQuietPeriodMs, kQuietPeriodMs, diagnosticsFloor, mainFloor);
        std::printf("%u ms per request, Diagnostics:\n", static_cast<unsigned>(delay));
        PrintCloses("polling", diagnostics);
        PrintCloses("floor", diagnosticsFloor);
        std::printf("%u ms per request, main window:\n", static_cast<unsigned>(delay));
        PrintCloses("polling", main);
        PrintCloses("floor", mainFloor);
        std::fflush(stdout);
    }
    UninstallInProcessCard();
    return 0;
}
