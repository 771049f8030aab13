#include "tests/win32/support/RealInput.h"

#include "tests/win32/support/MessagePump.h"

namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

// The marker's release, seen as it leaves the queue whatever window it goes to.
POINT g_marker;
bool g_markerSeen = false;
HHOOK g_hook = nullptr;

LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_LBUTTONUP && msg->pt.x == g_marker.x &&
        msg->pt.y == g_marker.y) {
        g_markerSeen = true;
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

void RealClick(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void RealKey(WORD virtualKey) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
        key.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

bool RealClickThenMarker(POINT target, POINT marker) {
    g_marker = marker;
    g_markerSeen = false;
    g_hook = ::SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, ::GetCurrentThreadId());
    RealClick(target);
    RealClick(marker);
    const bool seen = PumpUntil([] { return g_markerSeen; });
    ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return seen;
}
