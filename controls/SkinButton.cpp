#include "controls/SkinButton.h"

#include "controls/BitmapCache.h"

BEGIN_MESSAGE_MAP(CSkinButton, CAccessibleWnd)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinButton::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, CSkinButton::OnLButtonUp)
    ON_MESSAGE(WM_PAINT, CSkinButton::OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, CSkinButton::OnEraseBkgnd)
    ON_MESSAGE(WM_LBUTTONDBLCLK, CSkinButton::OnLButtonDblClk)
END_MESSAGE_MAP()

namespace {

// All four or none, so a button never holds a missing image.
bool LoadFour(const UINT ids[4], CSkinBitmap* loaded[4]) {
    for (int i = 0; i < 4; ++i) {
        loaded[i] = LoadSkinBitmap(static_cast<int>(ids[i]));
        if (loaded[i] == nullptr) return false;
    }
    return true;
}

}  // namespace

BOOL CSkinButton::Create(const POINT& topLeft, CWnd* parent, UINT id,
                         UINT offUp, UINT onUp, UINT offDown, UINT onDown) {
    const UINT ids[4] = {offUp, onUp, offDown, onDown};
    CSkinBitmap* loaded[4] = {};
    if (!LoadFour(ids, loaded)) return FALSE;
    RECT rect{};
    if (!loaded[0]->WindowRect(topLeft, &rect)) return FALSE;

    for (int i = 0; i < 4; ++i) bitmaps[i] = loaded[i];
    return CWnd::Create("", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

BOOL CSkinButton::SetBitmaps(UINT offUp, UINT onUp, UINT offDown, UINT onDown) {
    const UINT ids[4] = {offUp, onUp, offDown, onDown};
    CSkinBitmap* loaded[4] = {};
    if (!LoadFour(ids, loaded)) return FALSE;
    bool changed = false;
    for (int i = 0; i < 4; ++i) {
        changed = changed || bitmaps[i] != loaded[i];
        bitmaps[i] = loaded[i];
    }
    // The lamps are set at every poll and mostly to what they show already.
    if (changed) InvalidateRect(nullptr, TRUE);
    return TRUE;
}

LRESULT CSkinButton::OnLButtonDown(WPARAM, LPARAM) {
    SetCapture();
    pressed = 1;
    InvalidateRect(nullptr, TRUE);
    RaiseStateChange();
    return Default();
}

LRESULT CSkinButton::OnLButtonUp(WPARAM, LPARAM) {
    if (pressed == 0) return Default();
    // Released anywhere, inside or outside: dragging away does not cancel a click.
    ::ReleaseCapture();
    pressed = 0;
    Click();
    return Default();
}

void CSkinButton::Click() {
    state = state == 0 ? 1 : 0;
    // Clients hear of the switch before of what the parent does about it.
    RaiseStateChange();
    SendToParent(WM_USER, static_cast<WPARAM>(GetDlgCtrlID()), state);
    InvalidateRect(nullptr, TRUE);
}

LONG CSkinButton::AccessibleRole() const { return accessibleRole; }

std::string CSkinButton::AccessibleValue() const {
    if (accessibleValue || accessibleRole != ROLE_SYSTEM_CHECKBUTTON) return CAccessibleWnd::AccessibleValue();
    return state != 0 ? "on" : "off";
}

LONG CSkinButton::AccessibleState() const {
    LONG flags = CAccessibleWnd::AccessibleState();
    if (pressed != 0 && accessibleRole != ROLE_SYSTEM_INDICATOR) flags |= STATE_SYSTEM_PRESSED;
    if (state != 0 && accessibleRole == ROLE_SYSTEM_CHECKBUTTON) flags |= STATE_SYSTEM_CHECKED;
    return flags;
}

std::string CSkinButton::AccessibleDefaultAction() const {
    switch (accessibleRole) {
    case ROLE_SYSTEM_PUSHBUTTON: return "Press";
    case ROLE_SYSTEM_CHECKBUTTON: return state != 0 ? "Uncheck" : "Check";
    default: return std::string();
    }
}

void CSkinButton::DoDefaultAction(LONG) { Click(); }

LRESULT CSkinButton::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const int index = (state != 0 ? 1 : 0) + (pressed != 0 ? 2 : 0);
    bitmaps[index]->Draw(&dc, 0, 0);
    return 0;
}

LRESULT CSkinButton::OnEraseBkgnd(WPARAM, LPARAM) {
    // The bitmap covers the whole window; clearing first would only flicker.
    return 1;
}

LRESULT CSkinButton::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    // The second press of a double-click is a press like any other.
    return OnLButtonDown(wParam, lParam);
}
