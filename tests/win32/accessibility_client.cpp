// A screen reader's part in another process, writing what it met to a file:
//   accessibility_client <hwnd> <file>                 reads the window's accessible object
//   accessibility_client <hwnd> <file> action          runs its default action
//   accessibility_client <hwnd> <file> value <text>... sets each value in turn
//   accessibility_client events <process id> <file>    hears the process's WinEvents
// The last writes "ready" once its hook is set, then one line per event (event,
// window, object, child, in decimal) as it arrives, until its thread is told to quit.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/win32/accessibility_support.h"

namespace {

FILE* g_events = nullptr;

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    std::fprintf(g_events, "%lu %lld %ld %ld\n", static_cast<unsigned long>(event),
                 static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)), static_cast<long>(object),
                 static_cast<long>(child));
    std::fflush(g_events);
}

// Out of context, as readers hear: the events come through this thread's queue.
int HearEvents(DWORD process, const char* file) {
    g_events = std::fopen(file, "w");
    if (g_events == nullptr) return 3;
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Heard, process, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) return 4;
    std::fprintf(g_events, "ready\n");
    std::fflush(g_events);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    ::UnhookWinEvent(hook);
    std::fclose(g_events);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    if (std::string(argv[1]) == "events" && argc > 3) {
        return HearEvents(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), argv[3]);
    }
    HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    ComApartment com;
    AccessibleRef object(hwnd);
    FILE* out = std::fopen(argv[2], "w");
    if (out == nullptr) return 3;
    if (argc > 3 && std::string(argv[3]) == "value") {
        for (int i = 4; i < argc; ++i) std::fprintf(out, "%ld\n", static_cast<long>(object.SetValue(argv[i])));
    } else if (argc > 3) {
        std::fprintf(out, "%ld\n", static_cast<long>(object.DoDefaultAction()));
    } else {
        const AccessibleReading r = object.Read();
        std::fprintf(out, "%ld\n%s\n%ld\n%s\n%ld\n", static_cast<long>(r.found), r.name.c_str(), r.role,
                     r.value.c_str(), r.state);
    }
    std::fclose(out);
    return 0;
}
