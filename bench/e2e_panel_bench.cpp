// The real program on the virtual card's driver, timed from outside through the
// driver's request counter (the one `cardctl count` prints):
//  - start to first completed paint: from CreateProcess until the counter has
//    taken the first repaint's 38 requests after the main window appeared;
//  - the idle panel's request rate over ten seconds.
// Usage: e2e_panel_bench PROGRAM   (the driver must be running)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "emulator/PrivateCodes.h"

namespace {

constexpr char kMainTitle[] = "Zelk MIRVA PCI Wave Device Settings";
constexpr uint32_t kRepaintRequests = 38;
constexpr int kStarts = 5;
constexpr DWORD kLimitMs = 30000;
constexpr DWORD kSettleMs = 2000;
constexpr DWORD kIdleMs = 10000;

using Handle = std::unique_ptr<void, decltype(&::CloseHandle)>;

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Handle OpenDriver() {
    // The private codes carry FILE_READ_ACCESS in their access bits.
    const HANDLE device =
        ::CreateFileA("\\\\.\\ZelkWave", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return Handle(device == INVALID_HANDLE_VALUE ? nullptr : device, &::CloseHandle);
}

bool ReadCount(HANDLE device, uint32_t& count) {
    VcPrivateRequest request = {};
    VcGlobalSnapshot global = {};
    DWORD returned = 0;
    if (!::DeviceIoControl(device, kVcReadGlobal, &request, sizeof request, &global, sizeof global, &returned,
                           nullptr) ||
        global.status != kVcOk)
        return false;
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
bool TimeStart(HANDLE device, const char* program, StartTimes& times, HWND& window, Handle& process) {
    uint32_t base = 0;
    if (!ReadCount(device, base)) return false;
    const double start = Now();
    process = Start(program);
    if (!process) return false;
    window = nullptr;
    while (Now() - start < kLimitMs) {
        uint32_t count = 0;
        if (!ReadCount(device, count)) return false;
        count -= base;
        if (window == nullptr) {
            window = ::FindWindowA(nullptr, kMainTitle);
            if (window != nullptr) {
                times.windowMs = Now() - start;
                times.before = count;
            }
        } else if (count >= times.before + kRepaintRequests) {
            times.paintedMs = Now() - start;
            return true;
        }
        ::Sleep(1);
    }
    return false;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_panel_bench PROGRAM\n");
        return 2;
    }
    const Handle driver = OpenDriver();
    const HANDLE device = driver.get();
    if (device == nullptr) {
        std::fprintf(stderr, "e2e_panel_bench: the ZelkWave driver is not running\n");
        return 1;
    }
    std::vector<double> painted;
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
    }
    std::sort(painted.begin(), painted.end());
    std::printf("start to first completed paint: median %.1f ms, best %.1f ms of %d starts\n",
                painted[painted.size() / 2], painted.front(), kStarts);

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
