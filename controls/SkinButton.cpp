#include "controls/SkinButton.h"

#include <windowsx.h>

#include "controls/BitmapCache.h"

BEGIN_MESSAGE_MAP(CSkinButton, CAccessibleWnd)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinButton::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, CSkinButton::OnLButtonUp)
    ON_MESSAGE(WM_MOUSEMOVE, CSkinButton::OnMouseMove)
    ON_MESSAGE(WM_CAPTURECHANGED, CSkinButton::OnCaptureChanged)
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

bool AllExist(const UINT ids[4]) {
    for (int i = 0; i < 4; ++i) {
        if (!SkinBitmapExists(static_cast<int>(ids[i]))) return false;
    }
    return true;
}

}  // namespace

// Most buttons are never held in a run, and every load costs the start: a held
// face is loaded when first shown, unless it is the face shown up.
BOOL CSkinButton::Create(const POINT& topLeft, CWnd* parent, UINT id,
                         UINT offUp, UINT onUp, UINT offDown, UINT onDown) {
    const UINT ids[4] = {offUp, onUp, offDown, onDown};
    if (!AllExist(ids)) return FALSE;
    CSkinBitmap* const up[2] = {LoadSkinBitmap(static_cast<int>(offUp)), LoadSkinBitmap(static_cast<int>(onUp))};
    RECT rect{};
    if (up[0] == nullptr || up[1] == nullptr || !up[0]->WindowRect(topLeft, &rect)) return FALSE;

    bitmaps[0] = up[0];
    bitmaps[1] = up[1];
    heldIds_[0] = offDown;
    heldIds_[1] = onDown;
    bitmaps[2] = offDown == offUp ? up[0] : nullptr;
    bitmaps[3] = onDown == onUp ? up[1] : nullptr;
    return CWnd::Create("", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

CSkinBitmap* CSkinButton::Face(int index) {
    if (bitmaps[index] == nullptr && index >= 2) {
        bitmaps[index] = LoadSkinBitmap(static_cast<int>(heldIds_[index - 2]));
    }
    // Not loaded (out of memory): the face shown up, rather than nothing.
    return bitmaps[index] != nullptr ? bitmaps[index] : bitmaps[index % 2];
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
    tracking = 1;
    ShowPressed(1);
    return Default();
}

// Released away from the button, the press was a slip: the button only looks up again.
LRESULT CSkinButton::OnLButtonUp(WPARAM, LPARAM lParam) {
    if (tracking == 0) return Default();
    // Cleared first: releasing the capture is not a loss of it.
    tracking = 0;
    ::ReleaseCapture();
    if (Over(lParam)) {
        pressed = 0;  // the click's own state change tells of it
        Click();
    } else {
        ShowPressed(0);
    }
    return Default();
}

// During a press the button looks held only while the pointer is over it.
LRESULT CSkinButton::OnMouseMove(WPARAM, LPARAM lParam) {
    if (tracking == 1) ShowPressed(Over(lParam) ? 1 : 0);
    return Default();
}

// Another window took the mouse during a press: no release will come, so no click.
LRESULT CSkinButton::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if (tracking == 1 && reinterpret_cast<HWND>(lParam) != m_hWnd) {
        tracking = 0;
        ShowPressed(0);
    }
    return Default();
}

bool CSkinButton::Over(LPARAM point) const {
    RECT client{};
    GetClientRect(&client);
    return ::PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE;
}

void CSkinButton::ShowPressed(int shown) {
    if (pressed == shown) return;
    pressed = shown;
    InvalidateRect(nullptr, TRUE);
    RaiseStateChange();
}

void CSkinButton::ShowState(int shown) {
    state = shown;
    InvalidateRect(nullptr, TRUE);
    RaiseStateChange();
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
    Face(index)->Draw(&dc, 0, 0);
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
