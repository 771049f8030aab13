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
    ON_MESSAGE(WM_CREATE, CAccessibleWnd::OnCreate)
    ON_MESSAGE(WM_GETOBJECT, CAccessibleWnd::OnGetObject)
    ON_MESSAGE(CAccessibleWnd::kDefaultActionMessage, CAccessibleWnd::OnDefaultAction)
END_MESSAGE_MAP()

namespace {

BOOL CALLBACK RecheckState(HWND hwnd, LPARAM) {
    if (auto* window = dynamic_cast<CAccessibleWnd*>(CWnd::FromHandle(hwnd))) window->RaiseStateChange();
    return TRUE;
}

}  // namespace

CAccessibleWnd::~CAccessibleWnd() {
    if (accessible_ != nullptr) {
        accessible_->Disconnect();
        accessible_->Release();
    }
}

LONG CAccessibleWnd::AccessibleRole() const { return ROLE_SYSTEM_CLIENT; }

std::string CAccessibleWnd::AccessibleValue() const { return accessibleValue ? accessibleValue() : std::string(); }

LONG CAccessibleWnd::AccessibleState() const {
    LONG flags = ::IsWindowVisible(m_hWnd) ? 0 : STATE_SYSTEM_INVISIBLE;
    // A disabled top-level window takes no input: a modal window runs over it.
    const HWND root = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!::IsWindowEnabled(m_hWnd) || (root != nullptr && !::IsWindowEnabled(root))) flags |= STATE_SYSTEM_UNAVAILABLE;
    return flags;
}

std::string CAccessibleWnd::AccessibleDefaultAction() const { return std::string(); }

bool CAccessibleWnd::Unavailable() const { return (AccessibleState() & STATE_SYSTEM_UNAVAILABLE) != 0; }

HRESULT CAccessibleWnd::QueueDefaultAction(LONG child) const {
    const std::string action =
        child == CHILDID_SELF ? AccessibleDefaultAction() : AccessibleChildAt(child).defaultAction;
    if (action.empty()) return DISP_E_MEMBERNOTFOUND;
    if (Unavailable()) return E_ACCESSDENIED;
    return PostMessage(kDefaultActionMessage, static_cast<WPARAM>(child)) ? S_OK : E_FAIL;
}

HRESULT CAccessibleWnd::SetAccessibleValue(const std::string&) { return E_NOTIMPL; }

void CAccessibleWnd::DoDefaultAction(LONG) {}

LONG CAccessibleWnd::AccessibleChildCount() const { return 0; }

AccessibleChild CAccessibleWnd::AccessibleChildAt(LONG) const { return AccessibleChild(); }

bool CAccessibleWnd::AccessibleChildRect(LONG, RECT*) const { return false; }

void CAccessibleWnd::RaiseEvent(DWORD event, LONG child) const {
    if (m_hWnd != nullptr) ::NotifyWinEvent(event, m_hWnd, OBJID_CLIENT, child);
}

void CAccessibleWnd::RaiseValueChange() const { RaiseEvent(EVENT_OBJECT_VALUECHANGE); }

void CAccessibleWnd::RaiseStateChange() {
    if (m_hWnd == nullptr) return;
    const LONG now = AccessibleState() & kToldStates;
    if (now == toldState_) return;
    toldState_ = now;
    RaiseEvent(EVENT_OBJECT_STATECHANGE);
}

void CAccessibleWnd::RaiseStateChangesIn(HWND topLevel) { ::EnumChildWindows(topLevel, RecheckState, 0); }

// What a new window shows is what clients meet first, not a change.
LRESULT CAccessibleWnd::OnCreate(WPARAM, LPARAM) {
    toldState_ = AccessibleState() & kToldStates;
    return Default();
}

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

// Queued while the window took input; it may not any more (a modal window opened
// meanwhile), so the action is checked again before it runs.
LRESULT CAccessibleWnd::OnDefaultAction(WPARAM wParam, LPARAM) {
    const auto child = static_cast<LONG>(wParam);
    if (Unavailable()) return 0;
    if (child != CHILDID_SELF && (child < 1 || child > AccessibleChildCount())) return 0;
    DoDefaultAction(child);
    return 0;
}
