#include "framework/CreationHook.h"

#include "framework/Wnd.h"

namespace {

// The innermost pending creation of this thread; nested creations (controls
// made inside a dialog's WM_CREATE) stack on it.
thread_local CCreationHook* t_pending = nullptr;

bool SameClass(HWND hwnd, const char* className) {
    if (IS_INTRESOURCE(className)) {
        return ::GetClassLongPtrA(hwnd, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(className);
    }
    char actual[256];
    if (::GetClassNameA(hwnd, actual, sizeof actual) == 0) {
        return false;
    }
    return ::lstrcmpiA(actual, className) == 0;
}

}  // namespace

CCreationHook::CCreationHook(CWnd* wnd, const char* className)
    : wnd_(wnd), className_(className), hook_(nullptr), outer_(t_pending) {
    hook_ = ::SetWindowsHookExA(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
    t_pending = this;
}

CCreationHook::~CCreationHook() {
    Unhook();
    t_pending = outer_;
}

void CCreationHook::Unhook() {
    if (hook_ != nullptr) {
        ::UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
    wnd_ = nullptr;
}

LRESULT CALLBACK CCreationHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    CCreationHook* pending = t_pending;
    if (code == HCBT_CREATEWND && pending != nullptr && pending->wnd_ != nullptr) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        // Skip helper windows the system may create first (the IME window).
        if (SameClass(hwnd, pending->className_)) {
            CWnd* wnd = pending->wnd_;
            pending->Unhook();
            wnd->Attach(hwnd);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
