#include "framework/AccessibleWnd.h"

#include <new>

#include "framework/AccessibleObject.h"

namespace {

// COM starts on a window's thread when a client first asks one of its windows for
// its object, not at start: most runs are never asked, and COM and oleacc (both
// loaded on their first call) would otherwise be held for the whole run.
thread_local bool comTried = false;
thread_local bool comStarted = false;

void StartComOnThisThread() {
    if (comTried) return;
    comTried = true;
    // A thread already in another apartment keeps it; the object still marshals there.
    comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

}  // namespace

BEGIN_MESSAGE_MAP(CAccessibleWnd, CWnd)
    ON_MESSAGE(WM_GETOBJECT, CAccessibleWnd::OnGetObject)
    ON_MESSAGE(CAccessibleWnd::kDefaultActionMessage, CAccessibleWnd::OnDefaultAction)
END_MESSAGE_MAP()

CAccessibleWnd::~CAccessibleWnd() {
    if (accessible_ != nullptr) {
        accessible_->Disconnect();
        accessible_->Release();
    }
}

LONG CAccessibleWnd::AccessibleRole() const { return ROLE_SYSTEM_CLIENT; }

std::string CAccessibleWnd::AccessibleValue() const { return accessibleValue ? accessibleValue() : std::string(); }

LONG CAccessibleWnd::AccessibleState() const { return ::IsWindowVisible(m_hWnd) ? 0 : STATE_SYSTEM_INVISIBLE; }

std::string CAccessibleWnd::AccessibleDefaultAction() const { return std::string(); }

BOOL CAccessibleWnd::QueueDefaultAction() const {
    if (AccessibleDefaultAction().empty()) return FALSE;
    return PostMessage(kDefaultActionMessage);
}

void CAccessibleWnd::DoDefaultAction() {}

void CAccessibleWnd::EndComOnThisThread() {
    if (comStarted) ::CoUninitialize();
    comStarted = false;
    comTried = false;
}

LRESULT CAccessibleWnd::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // The object id arrives as a 32-bit value, sign-extended or not.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return Default();
    StartComOnThisThread();
    if (accessible_ == nullptr) {
        accessible_ = new (std::nothrow) CAccessibleObject(this);
        if (accessible_ == nullptr) return Default();
    }
    // __uuidof, not IID_IAccessible: MinGW's oleacc import library resolves that
    // name to a code thunk, whose bytes are no interface identifier.
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
    // A failure (an error code, negative; no COM on this thread, say) leaves the
    // system's own proxy to answer.
    return result <= 0 ? Default() : result;
}

LRESULT CAccessibleWnd::OnDefaultAction(WPARAM, LPARAM) {
    DoDefaultAction();
    return 0;
}
