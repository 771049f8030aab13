#include "controls/ReadoutTip.h"

BEGIN_MESSAGE_MAP(CReadoutTip, CWnd)
    ON_MESSAGE(WM_TIMER, CReadoutTip::OnTimer)
END_MESSAGE_MAP()

namespace {

// The size comctl32 5 knows: a larger one makes it refuse every tool.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;
constexpr UINT_PTR kDragToolId = 1;
// Distinct from the tooltip's own timers on the same window.
constexpr UINT_PTR kReleaseTimer = 100;
constexpr UINT kReleaseCheckMs = 50;
// Between the control's edge and the tip.
constexpr int kGap = 4;

constexpr DWORD kTipStyle = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;

SIZE BubbleSize(const CWnd& tip, TOOLINFOA tool) {
    const LRESULT size = tip.SendMessage(TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    return SIZE{LOWORD(size), HIWORD(size)};
}

}  // namespace

void CReadoutTip::SetOwner(const CWnd& owner) { m_owner = owner.m_hWnd; }

// The control relays its mouse messages itself: the tip's subclass (TTF_SUBCLASS)
// would look up a window property on every message the control gets, paints included.
void CReadoutTip::AddTool(CWnd& control) {
    m_tools.push_back(control.m_hWnd);
    control.RelayMouseTo(this);
}

void CReadoutTip::RelayMouse(const MSG& msg) {
    if (!MakeTips()) return;
    m_hoverTip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool CReadoutTip::MakeTips() {
    if (m_tipsFailed) return false;
    if (m_hWnd != nullptr) return true;
    // The common controls load here, at the first hover, not at start.
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    const RECT none{0, 0, 0, 0};
    m_tipsFailed = true;
    if (!m_hoverTip.CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, kTipStyle, none, m_owner, 0) ||
        !CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, kTipStyle, none, m_owner, 0)) {
        return false;
    }
    TOOLINFOA tool = DragTool();
    if (SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) == 0) return false;
    for (HWND control : m_tools) {
        TOOLINFOA hover{};
        hover.cbSize = kToolInfoSize;
        hover.uFlags = TTF_IDISHWND;
        hover.hwnd = m_owner;
        hover.uId = reinterpret_cast<UINT_PTR>(control);
        hover.lpszText = LPSTR_TEXTCALLBACKA;
        if (m_hoverTip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&hover)) == 0) return false;
    }
    m_tipsFailed = false;
    return true;
}

TOOLINFOA CReadoutTip::DragTool() const {
    TOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = m_owner;
    tool.uId = kDragToolId;
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return tool;
}

void CReadoutTip::Follow(const CWnd& control) {
    if (!MakeTips()) return;
    const bool starting = m_followed == nullptr;
    m_followed = control.m_hWnd;
    TOOLINFOA tool = DragTool();
    const POINT at = BesideOf(control.m_hWnd, BubbleSize(*this, tool));
    SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    if (starting) {
        SendMessage(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        // The control tells nobody when it lets the mouse go.
        ::SetTimer(m_hWnd, kReleaseTimer, kReleaseCheckMs, nullptr);
    } else {
        // Wine's tooltips ask for the text again on the move above; this asks where
        // a move alone would keep the old text.
        SendMessage(TTM_UPDATE);
    }
}

void CReadoutTip::EndFollowing() {
    ::KillTimer(m_hWnd, kReleaseTimer);
    TOOLINFOA tool = DragTool();
    SendMessage(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    m_followed = nullptr;
}

LRESULT CReadoutTip::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kReleaseTimer) return Default();
    if (::GetCapture() != m_followed) EndFollowing();
    return 0;
}

HWND CReadoutTip::ControlOf(const NMHDR& header) const {
    if (header.hwndFrom == m_hWnd) return m_followed;
    // A tip without text does not show: during a drag the hover tip stays away
    // rather than say the same a second time.
    if (header.hwndFrom == m_hoverTip.m_hWnd && m_followed == nullptr) return reinterpret_cast<HWND>(header.idFrom);
    return nullptr;
}

BOOL CReadoutTip::OnShow(const NMHDR& header) const {
    if (header.hwndFrom != m_hoverTip.m_hWnd) return FALSE;
    HWND control = reinterpret_cast<HWND>(header.idFrom);
    TOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = m_owner;
    tool.uId = header.idFrom;
    const POINT at = BesideOf(control, BubbleSize(m_hoverTip, tool));
    ::SetWindowPos(m_hoverTip.m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// To the right of the control, top edges level; to its left where the screen ends.
POINT CReadoutTip::BesideOf(HWND control, SIZE tip) const {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    POINT at{rect.right + kGap, rect.top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor) &&
        at.x + tip.cx > monitor.rcWork.right) {
        at.x = rect.left - kGap - tip.cx;
    }
    return at;
}
