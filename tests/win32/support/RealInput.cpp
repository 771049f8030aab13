#include "tests/win32/support/RealInput.h"

#include "tests/win32/support/MessagePump.h"

namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

// The marker event, seen as it leaves the queue whatever window it goes to. A
// press may leave it as the second press of a double-click.
POINT g_marker;
UINT g_markerMessages[2] = {};
bool g_markerSeen = false;
HHOOK g_hook = nullptr;

LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        (msg->message == g_markerMessages[0] || msg->message == g_markerMessages[1]) && msg->pt.x == g_marker.x &&
        msg->pt.y == g_marker.y) {
        g_markerSeen = true;
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// Queues input, then pumps until the event that ends it, at marker, has left the queue.
template <typename Queue>
bool UntilTaken(POINT marker, UINT message, UINT alsoMessage, Queue queue) {
    g_marker = marker;
    g_markerMessages[0] = message;
    g_markerMessages[1] = alsoMessage;
    g_markerSeen = false;
    g_hook = ::SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, ::GetCurrentThreadId());
    queue();
    const bool seen = PumpUntil([] { return g_markerSeen; });
    ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return seen;
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
    return UntilTaken(marker, WM_LBUTTONUP, WM_LBUTTONUP, [&] {
        RealClick(target);
        RealClick(marker);
    });
}

bool RealMoveTo(POINT screen) {
    POINT now{};
    if (::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return true;
    return UntilTaken(screen, WM_MOUSEMOVE, WM_MOUSEMOVE, [&] { ::SetCursorPos(screen.x, screen.y); });
}

// Moved there first, so that the button's event cannot land where the pointer was.
bool RealPressAt(POINT screen) {
    return RealMoveTo(screen) &&
           UntilTaken(screen, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); });
}

bool RealReleaseAt(POINT screen) {
    return RealMoveTo(screen) && UntilTaken(screen, WM_LBUTTONUP, WM_LBUTTONUP, [] { SendMouse(MOUSEEVENTF_LEFTUP); });
}
