// Prints what a person reads in a standard window such as a message box: its
// owner's title, the title of the window in front (the foreground window) and,
// for each visible child window, its class, whether it shows an icon, and its text. The skinned windows draw their texts themselves;
// message boxes are the system's own windows, whose texts live in their children.
// Usage: e2e_window_texts TITLE   (exit 1 when no window has that title)
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char className[64] = {};
    char text[512] = {};
    ::GetClassNameA(child, className, sizeof className);
    ::GetWindowTextA(child, text, sizeof text);
    const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0) return TRUE;
    // A message box keeps its icon control even without an icon; only a set one shows.
    const bool icon = ::lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
                      ::SendMessageA(child, STM_GETICON, 0, 0) != 0;
    std::printf("child %s%s: %s\n", className, icon ? " icon" : "", text);
    return TRUE;
}

int PrintTexts(const char* title) {
    const HWND window = ::FindWindowA(nullptr, title);
    if (window == nullptr) {
        std::fprintf(stderr, "e2e_window_texts: no window titled '%s'\n", title);
        return 1;
    }
    char owner[256] = {};
    const HWND ownerWindow = ::GetWindow(window, GW_OWNER);
    if (ownerWindow != nullptr) ::GetWindowTextA(ownerWindow, owner, sizeof owner);
    std::printf("owner: %s\n", ownerWindow != nullptr ? owner : "(none)");
    char foreground[256] = {};
    const HWND foregroundWindow = ::GetForegroundWindow();
    if (foregroundWindow != nullptr) ::GetWindowTextA(foregroundWindow, foreground, sizeof foreground);
    std::printf("foreground: %s\n", foregroundWindow != nullptr ? foreground : "(none)");
    ::EnumChildWindows(window, PrintChild, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_window_texts TITLE\n");
        return 2;
    }
    return PrintTexts(argv[1]);
}
