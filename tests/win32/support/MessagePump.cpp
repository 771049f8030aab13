#include "tests/win32/support/MessagePump.h"

namespace {

void Pump(bool dropMouse) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dropMouse && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace

void PumpMessages() { Pump(false); }

void PumpMessagesDroppingMouse() { Pump(true); }

bool PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

bool PumpEachUntil(const std::function<bool()>& done) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        MSG message;
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        }
    }
    return true;
}

bool PumpLookingUntil(const std::function<bool()>& done, DWORD boundMs) {
    constexpr DWORD kLookEveryMs = 20;
    const ULONGLONG deadline = ::GetTickCount64() + boundMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kLookEveryMs, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

bool PumpUntilEnded(HANDLE process, DWORD boundMs) {
    const ULONGLONG deadline = ::GetTickCount64() + boundMs;
    for (ULONGLONG now = ::GetTickCount64(); now < deadline; now = ::GetTickCount64()) {
        const DWORD woke =
            ::MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
        if (woke == WAIT_OBJECT_0) return true;
    }
    return false;
}

bool WaitUntilQueued(HWND window, UINT message) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    MSG queued;
    while (!::PeekMessageA(&queued, window, message, message, PM_NOREMOVE)) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_POSTMESSAGE);
    }
    return true;
}

void HandleFirstQueued(HWND window, UINT message) {
    MSG queued;
    if (::PeekMessageA(&queued, window, message, message, PM_REMOVE)) ::DispatchMessageA(&queued);
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < deadline; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
    }
}
