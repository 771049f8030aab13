// The real program on the virtual card's driver, timed from outside through the
// driver's request counter (the one `cardctl count` prints):
//  - start to first completed paint: from CreateProcess until the driver took
//    the last of the first repaint's 38 requests after the main window appeared,
//    by the driver's stamp of it. Asked every 10 ms only: a bench asking the
//    driver every millisecond slowed the panel's requests it was timing;
//  - in the same run, alternating with it, the start of a minimal dialog program
//    to its first completed paint, under the same Wine;
//  - the idle panel's request rate over ten seconds.
// Usage: e2e_panel_bench PROGRAM MINIMAL_DIALOG   (the driver must be running)
//        e2e_panel_bench --minimise   minimises the running panel, as its minimise box would
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/MinimalDialog.h"
#include "emulator/PrivateCodes.h"

namespace {

constexpr char kMainTitle[] = "Zelk MIRVA PCI Wave Device Settings";
constexpr uint32_t kRepaintRequests = 38;
constexpr int kStarts = 5;
constexpr DWORD kLimitMs = 30000;
constexpr DWORD kSettleMs = 2000;
constexpr DWORD kIdleMs = 10000;
constexpr DWORD kPollMs = 10;

using Handle = std::unique_ptr<void, decltype(&::CloseHandle)>;

// Milliseconds of the performance counter, the clock the driver stamps requests with.
double Milliseconds(uint64_t ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

uint64_t Ticks() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart);
}

double Now() { return Milliseconds(Ticks()); }

Handle OpenDriver() {
    // The private codes carry FILE_READ_ACCESS in their access bits.
    const HANDLE device =
        ::CreateFileA("\\\\.\\ZelkWave", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return Handle(device == INVALID_HANDLE_VALUE ? nullptr : device, &::CloseHandle);
}

bool ReadGlobal(HANDLE device, VcGlobalSnapshot& global) {
    VcPrivateRequest request = {};
    DWORD returned = 0;
    return ::DeviceIoControl(device, kVcReadGlobal, &request, sizeof request, &global, sizeof global, &returned,
                             nullptr) &&
           global.status == kVcOk;
}

bool ReadCount(HANDLE device, uint32_t& count) {
    VcGlobalSnapshot global = {};
    if (!ReadGlobal(device, global)) return false;
    count = global.requestCount;
    return true;
}

Handle Start(const char* program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> commandLine(program, program + std::strlen(program) + 1);
    if (!::CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return Handle(nullptr, &::CloseHandle);
    ::CloseHandle(info.hThread);
    return Handle(info.hProcess, &::CloseHandle);
}

// Closes the main window as its close box would, and waits for the program to end.
void Close(HANDLE process, HWND window) {
    if (window != nullptr) ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, kLimitMs) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
}

struct StartTimes {
    double windowMs = 0;
    double paintedMs = 0;
    uint32_t before = 0;  // requests before the window appeared: the two links' discovery
};

// Starts the program and follows the counter until the first paint is through.
// The window exists, hidden, for some tens of milliseconds before it paints.
bool TimeStart(HANDLE device, const char* program, StartTimes& times, HWND& window, Handle& process) {
    uint32_t base = 0;
    if (!ReadCount(device, base)) return false;
    const uint64_t start = Ticks();
    process = Start(program);
    if (!process) return false;
    window = nullptr;
    while (Milliseconds(Ticks() - start) < kLimitMs) {
        VcGlobalSnapshot global = {};
        if (!ReadGlobal(device, global)) return false;
        const uint32_t count = global.requestCount - base;
        if (window == nullptr) {
            window = ::FindWindowA(nullptr, kMainTitle);
            if (window != nullptr) {
                times.windowMs = Milliseconds(Ticks() - start);
                times.before = count;
            }
        } else if (count >= times.before + kRepaintRequests) {
            const uint64_t last = global.lastRequestTicksLow | uint64_t{global.lastRequestTicksHigh} << 32;
            times.paintedMs = Milliseconds(last - start);
            return true;
        }
        ::Sleep(kPollMs);
    }
    return false;
}

// Starts the minimal dialog program and waits for its first paint.
bool TimeMinimalStart(const char* program, double& paintedMs) {
    const Handle painted(::CreateEventA(nullptr, TRUE, FALSE, kMinimalDialogPainted), &::CloseHandle);
    if (!painted) return false;
    const double start = Now();
    const Handle process = Start(program);
    if (!process) return false;
    const bool ok = ::WaitForSingleObject(painted.get(), kLimitMs) == WAIT_OBJECT_0;
    paintedMs = Now() - start;
    Close(process.get(), ::FindWindowA(nullptr, kMinimalDialogTitle));
    return ok;
}

// Sorts the times; the middle one.
double Median(std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool MeasureIdle(HANDLE device, double& perSecond, uint32_t& requests) {
    uint32_t first = 0, last = 0;
    if (!ReadCount(device, first)) return false;
    const double start = Now();
    ::Sleep(kIdleMs);
    if (!ReadCount(device, last)) return false;
    requests = last - first;
    perSecond = requests * 1000.0 / (Now() - start);
    return true;
}

// The window manager's minimise, from outside: the panel's own thread minimises it.
int MinimisePanel() {
    HWND window = ::FindWindowA(nullptr, kMainTitle);
    if (window == nullptr) {
        std::fprintf(stderr, "e2e_panel_bench: no panel to minimise\n");
        return 1;
    }
    ::ShowWindow(window, SW_MINIMIZE);
    return ::IsIconic(window) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--minimise") == 0) return MinimisePanel();
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e_panel_bench PROGRAM MINIMAL_DIALOG\n");
        return 2;
    }
    const Handle driver = OpenDriver();
    const HANDLE device = driver.get();
    if (device == nullptr) {
        std::fprintf(stderr, "e2e_panel_bench: the ZelkWave driver is not running\n");
        return 1;
    }
    std::vector<double> painted;
    std::vector<double> minimal;
    for (int i = 0; i < kStarts; ++i) {
        StartTimes times;
        HWND window = nullptr;
        Handle process(nullptr, &::CloseHandle);
        const bool ok = TimeStart(device, argv[1], times, window, process);
        if (process) Close(process.get(), window);
        if (!ok) {
            std::fprintf(stderr, "e2e_panel_bench: start %d did not reach its first paint\n", i + 1);
            return 1;
        }
        std::printf("start %d: window after %.1f ms (%u requests before it), first paint done after %.1f ms\n",
                    i + 1, times.windowMs, times.before, times.paintedMs);
        painted.push_back(times.paintedMs);
        double ms = 0;
        if (!TimeMinimalStart(argv[2], ms)) {
            std::fprintf(stderr, "e2e_panel_bench: the minimal dialog did not paint in start %d\n", i + 1);
            return 1;
        }
        std::printf("start %d: minimal dialog painted after %.1f ms\n", i + 1, ms);
        minimal.push_back(ms);
    }
    const double panelMedian = Median(painted);
    const double minimalMedian = Median(minimal);
    std::printf("start to first completed paint: median %.1f ms, best %.1f ms of %d starts\n", panelMedian,
                painted.front(), kStarts);
    std::printf("minimal dialog program:         median %.1f ms, best %.1f ms of %d starts\n", minimalMedian,
                minimal.front(), kStarts);
    std::printf("panel start / minimal dialog start: %.2f\n", panelMedian / minimalMedian);

    StartTimes times;
    HWND window = nullptr;
    Handle process(nullptr, &::CloseHandle);
    double perSecond = 0;
    uint32_t requests = 0;
    bool ok = TimeStart(device, argv[1], times, window, process);
    if (ok) {
        // A benchmark may wait: the first lamp polls and paints are over by then.
        ::Sleep(kSettleMs);
        ok = MeasureIdle(device, perSecond, requests);
    }
    if (process) Close(process.get(), window);
    if (!ok) {
        std::fprintf(stderr, "e2e_panel_bench: the idle panel could not be measured\n");
        return 1;
    }
    std::printf("idle panel: %u requests in %.0f s through the driver, %.1f requests per second\n", requests,
                kIdleMs / 1000.0, perSecond);
    return 0;
}
