#include "bench/CallProbe.h"

#include <windows.h>
#include <x86intrin.h>

#include <algorithm>
#include <cstring>

namespace {

// The user32 and gdi32 functions the program imports (those the paint, the message
// loop and the controls call; not the modal and help calls).
#define WAVE_PROBED_CALLS(X)                                                                                        \
    X(user32, BeginPaint) X(user32, CallWindowProcA) X(user32, ClientToScreen) X(user32, DefWindowProcA)            \
    X(user32, DispatchMessageA) X(user32, DrawIcon) X(user32, DrawTextA) X(user32, EndPaint)                        \
    X(user32, EnumChildWindows) X(user32, GetAncestor) X(user32, GetCapture) X(user32, GetClientRect)               \
    X(user32, GetDC) X(user32, GetDesktopWindow) X(user32, GetDlgCtrlID) X(user32, GetDlgItem) X(user32, GetFocus)  \
    X(user32, GetParent) X(user32, GetSystemMetrics) X(user32, GetWindowRect) X(user32, GetWindowTextA)           \
    X(user32, GetWindowTextLengthA) X(user32, InvalidateRect) X(user32, IsChild) X(user32, IsIconic)               \
    X(user32, IsWinEventHookInstalled) X(user32, IsWindow) X(user32, IsWindowEnabled) X(user32, IsWindowVisible)   \
    X(user32, LoadStringA) X(user32, MapWindowPoints) X(user32, NotifyWinEvent) X(user32, PeekMessageA)            \
    X(user32, PostMessageA) X(user32, PtInRect) X(user32, RedrawWindow) X(user32, ReleaseDC)                       \
    X(user32, ScreenToClient) X(user32, SendMessageA) X(user32, SetWindowPos) X(user32, SetWindowTextA)            \
    X(user32, ShowWindow) X(user32, TranslateMessage) X(user32, UpdateWindow) X(gdi32, BitBlt)                    \
    X(gdi32, CreateCompatibleDC) X(gdi32, CreateFontIndirectA) X(gdi32, CreatePen) X(gdi32, DPtoLP)               \
    X(gdi32, DeleteDC) X(gdi32, DeleteObject) X(gdi32, GetDeviceCaps) X(gdi32, GetMapMode) X(gdi32, GetObjectA)   \
    X(gdi32, LineTo) X(gdi32, MoveToEx) X(gdi32, Polyline) X(gdi32, SelectObject) X(gdi32, SetBkMode)             \
    X(gdi32, SetMapMode) X(gdi32, StretchBlt)

enum ProbeId {
#define WAVE_PROBE_ID(dll, name) k_##dll##_##name,
    WAVE_PROBED_CALLS(WAVE_PROBE_ID)
#undef WAVE_PROBE_ID
    kCardRequestSlot,
    kSlots
};

struct Tally {
    uint64_t calls = 0;
    uint64_t ticks = 0;
};

Tally tallies[kSlots];
thread_local bool counting = false;
thread_local CProbedCall* innermost = nullptr;
uint64_t startTicks = 0;
LARGE_INTEGER startTime{};

template <int Id, typename Function>
struct Probe;

template <int Id, typename Result, typename... Args>
struct Probe<Id, Result(WINAPI*)(Args...)> {
    static inline Result(WINAPI* real)(Args...) = nullptr;
    static Result WINAPI Call(Args... args) {
        const CProbedCall call(Id);
        return real(args...);
    }
};

// Puts replacement into the program's import entry of dll!name; keeps the
// function it held in *real.
bool Patch(const char* dll, const char* name, void* replacement, void** real) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD protection = 0;
            if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
                return false;
            *real = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

const char* const kNames[kSlots] = {
#define WAVE_PROBE_NAME(dll, name) #dll "." #name,
    WAVE_PROBED_CALLS(WAVE_PROBE_NAME)
#undef WAVE_PROBE_NAME
    "card requests",
};

}  // namespace

CProbedCall::CProbedCall(int id) : id_(id == kCardRequest ? kCardRequestSlot : id) {
    if (!counting) return;
    start_ = __rdtsc();
    outer_ = innermost;
    innermost = this;
}

CProbedCall::~CProbedCall() {
    if (start_ == 0) return;
    const uint64_t total = __rdtsc() - start_;
    tallies[id_].calls += 1;
    tallies[id_].ticks += total - nested_;
    if (outer_ != nullptr) outer_->nested_ += total;
    innermost = outer_;
}

bool InstallCallProbes() {
    bool all = true;
#define WAVE_PROBE_PATCH(dll, name)                                                                     \
    {                                                                                                   \
        using P = Probe<k_##dll##_##name, decltype(&::name)>;                                           \
        void* real = nullptr;                                                                           \
        if (Patch(#dll ".dll", #name, reinterpret_cast<void*>(&P::Call), &real)) {                      \
            P::real = reinterpret_cast<decltype(P::real)>(real);                                        \
        } else {                                                                                        \
            all = false;                                                                                \
        }                                                                                               \
    }
    WAVE_PROBED_CALLS(WAVE_PROBE_PATCH)
#undef WAVE_PROBE_PATCH
    return all;
}

void StartCallCount() {
    for (Tally& tally : tallies) tally = Tally();
    ::QueryPerformanceCounter(&startTime);
    startTicks = __rdtsc();
    counting = true;
}

std::vector<CallFigure> StopCallCount() {
    counting = false;
    const uint64_t ticks = __rdtsc() - startTicks;
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    // The time-stamp counter's rate, from the same span on the performance counter.
    const double msPerTick = static_cast<double>(now.QuadPart - startTime.QuadPart) * 1000.0 /
                             static_cast<double>(frequency.QuadPart) / static_cast<double>(ticks);
    std::vector<CallFigure> figures;
    for (int i = 0; i < kSlots; ++i) {
        if (tallies[i].calls == 0) continue;
        figures.push_back(CallFigure{kNames[i], tallies[i].calls, static_cast<double>(tallies[i].ticks) * msPerTick});
    }
    std::sort(figures.begin(), figures.end(), [](const CallFigure& a, const CallFigure& b) { return a.ms > b.ms; });
    return figures;
}
