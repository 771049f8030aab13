// Figures of the main window on the in-process virtual card under Wine: requests
// and time per repaint beside the floor (a window of the same size with as many
// child windows, each only beginning and ending its paint), with the user32 and
// gdi32 calls of a repaint and their times beside the floor's; time from a fader's
// mouse move to its level request, and the request rate while the window sits idle.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/CallProbe.h"
#include "bench/TimedPort.h"
#include "panel/WaveSettingsDialog.h"

namespace {

constexpr int kRepaints = 10;
constexpr int kRounds = 21;
constexpr int kCallCounts = 5;
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

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
}

// A repaint as the program meets one: the window and its children invalid, as an
// uncovering leaves them, and the message loop paints until the queue is empty.
// There, idle, Wine hands the window's new pixels to the X server at once.
double SecondsPerRepaint(HWND hwnd) {
    const int64_t start = CTimedPort::Now();
    for (int i = 0; i < kRepaints; ++i) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    return Seconds(CTimedPort::Now() - start) / kRepaints;
}

// Repaints back to back, never idle. Once its thread has not been idle for 50 ms,
// Wine hands each window's pixels to the X server at its EndPaint, one round trip
// for each child that drew; the floor's children draw nothing to hand over.
double SecondsPerRepaintBackToBack(HWND hwnd) {
    const int64_t start = CTimedPort::Now();
    for (int i = 0; i < kRepaints; ++i) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return Seconds(CTimedPort::Now() - start) / kRepaints;
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            ::BeginPaint(hwnd, &ps);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        default: return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

struct ChildPlace {
    RECT rect;
    DWORD style;
    DWORD exStyle;
};

BOOL CALLBACK AddChild(HWND child, LPARAM places) {
    ChildPlace place{};
    ::GetWindowRect(child, &place.rect);
    place.style = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE));
    place.exStyle = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_EXSTYLE));
    reinterpret_cast<std::vector<ChildPlace>*>(places)->push_back(place);
    return TRUE;
}

// The floor of a repaint: the main window's size, styles and child windows, each in
// the place and with the styles of its own, of classes with the same class styles,
// where every window only begins and ends its paint. Placed beside the main window
// where the screen allows, so that neither covers the other.
HWND CreateFloor(HWND like, int& children) {
    // The classes' styles too (a class DC, say), the main window's and its children's.
    WNDCLASSA wc{};
    wc.style = static_cast<UINT>(::GetClassLongPtrA(like, GCL_STYLE));
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchFloor";
    ::RegisterClassA(&wc);
    wc.style = static_cast<UINT>(::GetClassLongPtrA(::GetWindow(like, GW_CHILD), GCL_STYLE));
    wc.lpszClassName = "BenchFloorChild";
    ::RegisterClassA(&wc);
    RECT frame{};
    ::GetWindowRect(like, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const bool below = frame.bottom + height <= ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<ChildPlace> places;
    ::EnumChildWindows(like, AddChild, reinterpret_cast<LPARAM>(&places));
    children = static_cast<int>(places.size());
    HWND floor = ::CreateWindowExA(static_cast<DWORD>(::GetWindowLongPtrA(like, GWL_EXSTYLE)), "BenchFloor", "floor",
                                   static_cast<DWORD>(::GetWindowLongPtrA(like, GWL_STYLE)) | WS_VISIBLE, frame.left,
                                   below ? frame.bottom : frame.top, width, height, nullptr, nullptr, wc.hInstance,
                                   nullptr);
    for (ChildPlace& place : places) {
        RECT& rect = place.rect;
        ::MapWindowPoints(nullptr, like, reinterpret_cast<POINT*>(&rect), 2);
        ::CreateWindowExA(place.exStyle, "BenchFloorChild", "", place.style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, floor, nullptr, wc.hInstance, nullptr);
    }
    ::UpdateWindow(floor);
    PumpFor(200);
    return floor;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Calls and their own times, summed over several counts.
struct CallTally {
    std::vector<CallFigure> calls;
    double ms = 0;  // the repaints' own time
    void Add(const std::vector<CallFigure>& figures, double repaintMs) {
        for (const CallFigure& figure : figures) {
            auto same = std::find_if(calls.begin(), calls.end(), [&](const CallFigure& c) { return c.name == figure.name; });
            if (same == calls.end()) {
                calls.push_back(figure);
            } else {
                same->calls += figure.calls;
                same->ms += figure.ms;
            }
        }
        ms += repaintMs;
    }
    CallFigure Of(const std::string& name) const {
        auto same = std::find_if(calls.begin(), calls.end(), [&](const CallFigure& c) { return c.name == name; });
        return same != calls.end() ? *same : CallFigure{name};
    }
};

// The user32 and gdi32 calls of a repaint, each with its own time, the main
// window's beside the floor's, in alternating counts: where the repaint's time
// goes beyond its floor's.
void CountRepaintCalls(HWND hwnd, HWND floor) {
    CallTally panel, empty;
    for (int count = 0; count < kCallCounts; ++count) {
        StartCallCount();
        const double panelMs = SecondsPerRepaint(hwnd) * 1000.0 * kRepaints;
        panel.Add(StopCallCount(), panelMs);
        StartCallCount();
        const double floorMs = SecondsPerRepaint(floor) * 1000.0 * kRepaints;
        empty.Add(StopCallCount(), floorMs);
    }
    std::sort(panel.calls.begin(), panel.calls.end(), [](const CallFigure& a, const CallFigure& b) { return a.ms > b.ms; });
    const double repaints = static_cast<double>(kRepaints) * kCallCounts;
    std::printf("calls of one repaint and their own time (calls made inside them apart), mean of %.0f:\n", repaints);
    std::printf("  %-28s %7s %9s   %7s %9s\n", "", "calls", "ms", "floor", "ms");
    for (const CallFigure& call : panel.calls) {
        const CallFigure floorCall = empty.Of(call.name);
        std::printf("  %-28s %7.1f %9.3f   %7.1f %9.3f\n", call.name.c_str(), static_cast<double>(call.calls) / repaints,
                    call.ms / repaints, static_cast<double>(floorCall.calls) / repaints, floorCall.ms / repaints);
    }
    std::printf("  %-28s %7s %9.3f   %7s %9.3f\n", "the whole repaint", "", panel.ms / repaints, "", empty.ms / repaints);
}

// The main window and the floor in alternating rounds, so that a machine busy with
// other work weighs on both alike: the ratio is the median of the rounds' ratios.
void MeasureRepaints(HWND hwnd) {
    int children = 0;
    HWND floor = CreateFloor(hwnd, children);
    std::vector<double> panel, empty, ratios, panelBackToBack, emptyBackToBack, ratiosBackToBack;
    uint32_t requests = 0;
    for (int round = 0; round < kRounds; ++round) {
        const uint32_t before = Requests();
        panel.push_back(SecondsPerRepaint(hwnd));
        requests += Requests() - before;
        empty.push_back(SecondsPerRepaint(floor));
        ratios.push_back(panel.back() / empty.back());
        panelBackToBack.push_back(SecondsPerRepaintBackToBack(hwnd));
        emptyBackToBack.push_back(SecondsPerRepaintBackToBack(floor));
        ratiosBackToBack.push_back(panelBackToBack.back() / emptyBackToBack.back());
    }
    CountRepaintCalls(hwnd, floor);
    ::DestroyWindow(floor);
    ::SetForegroundWindow(hwnd);
    PumpFor(200);
    std::printf("requests per repaint:                %.1f\n",
                static_cast<double>(requests) / (kRepaints * kRounds));
    std::printf("time per repaint (with controls):    %.3f ms (median of %d rounds)\n", Median(panel) * 1000.0, kRounds);
    std::printf("floor, %d empty child windows:       %.3f ms\n", children, Median(empty) * 1000.0);
    std::printf("repaint / floor:                     %.2f\n", Median(ratios));
    std::printf("back to back, never idle:            %.3f ms, floor %.3f ms, repaint / floor %.2f\n",
                Median(panelBackToBack) * 1000.0, Median(emptyBackToBack) * 1000.0, Median(ratiosBackToBack));
}

void MeasureFaderMoves(HWND hwnd) {
    HWND fader = ::GetDlgItem(hwnd, kFaderId);
    ::SendMessageA(fader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 60));
    double total = 0.0;
    double worst = 0.0;
    for (int i = 0; i < kMoves; ++i) {
        CTimedPort::ResetLevelsTime();
        const int y = 20 + i % 80;
        const int64_t sent = CTimedPort::Now();
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
    const int64_t start = CTimedPort::Now();
    PumpFor(kIdleMs);
    const double seconds = Seconds(CTimedPort::Now() - start);
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
    if (!InstallCallProbes()) std::printf("some user32 and gdi32 calls are not counted\n");
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
