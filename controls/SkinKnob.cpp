#include "controls/SkinKnob.h"

#include <windowsx.h>

#include "controls/BitmapCache.h"
#include "controls/KnobLaw.h"
#include "controls/SkinBitmap.h"
#include "framework/Gdi.h"

BEGIN_MESSAGE_MAP(CSkinKnob, CSkinRangeCtrl)
    ON_MESSAGE(WM_PAINT, CSkinKnob::OnPaint)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinKnob::OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, CSkinKnob::OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, CSkinKnob::OnLButtonUp)
    ON_MESSAGE(WM_LBUTTONDBLCLK, CSkinKnob::OnLButtonDblClk)
    ON_MESSAGE(WM_CAPTURECHANGED, CSkinKnob::OnCaptureChanged)
END_MESSAGE_MAP()

CSkinKnob::CSkinKnob() {
    value = 64;
    minValue = 0;
    maxValue = 127;
}

CSkinKnob::~CSkinKnob() = default;

BOOL CSkinKnob::Create(CWnd* parent, UINT id, UINT bitmapId, const POINT* topLeft,
                       const POINT* pivot, UINT length) {
    // The window takes the picture's size; without the picture there is none.
    CSkinBitmap* face = LoadSkinBitmap(static_cast<int>(bitmapId));
    RECT rect{};
    if (face == nullptr || !face->WindowRect(*topLeft, &rect))
        return FALSE;
    bitmap = face;
    center = *pivot;
    radius = length;
    return CWnd::Create(" ", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

// The picture and the pointer's colour go together: a missing picture changes neither.
BOOL CSkinKnob::SetSkin(UINT bitmapId, COLORREF colour) {
    CSkinBitmap* face = LoadSkinBitmap(static_cast<int>(bitmapId));
    if (face == nullptr)
        return FALSE;
    bitmap = face;
    pointerColour = colour;
    return TRUE;
}

int CSkinKnob::SetValueChanged(int v) {
    if (!CSkinRangeCtrl::SetValueChanged(v))
        return 0;
    InvalidateRect(nullptr, FALSE);
    return 1;
}

LONG CSkinKnob::AccessibleRole() const { return ROLE_SYSTEM_SLIDER; }

LONG CSkinKnob::AccessibleState() const {
    return CAccessibleWnd::AccessibleState() | (active == 0 ? STATE_SYSTEM_UNAVAILABLE : 0);
}

HRESULT CSkinKnob::SetAccessibleValue(const std::string& text) {
    if (!accessibleParse) return E_NOTIMPL;
    if (Unavailable()) return E_ACCESSDENIED;
    int target = 0;
    if (!accessibleParse(text, &target)) return E_INVALIDARG;
    SetValueChanged(target);
    Notify();
    return S_OK;
}

void CSkinKnob::Notify() const {
    SendToParent(WM_USER, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(value));
}

LRESULT CSkinKnob::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    bitmap->Draw(&dc, 0, 0);
    const KnobPoint pivot{center.x, center.y};
    const KnobPoint end = KnobPointerEnd(value, minValue, maxValue, pivot, radius);
    CPen pen(PS_SOLID, 2, pointerColour);
    CSelectObject selected(dc, pen);
    dc.MoveTo(center.x, center.y);
    dc.LineTo(end.x, end.y);
    return 0;
}

LRESULT CSkinKnob::OnLButtonDown(WPARAM, LPARAM lParam) {
    const KnobPoint press{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (active == 1 && KnobHit(press, KnobPoint{center.x, center.y}, radius)) {
        SetCapture();
        dragStart = POINT{press.x, press.y};
        dragStartValue = value;
        dragging = 1;
    }
    return Default();
}

LRESULT CSkinKnob::OnMouseMove(WPARAM, LPARAM lParam) {
    if (dragging == 1) {
        const KnobPoint now{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetValueChanged(KnobDragValue(dragStartValue, KnobPoint{dragStart.x, dragStart.y}, now));
        Notify();
    }
    return Default();
}

LRESULT CSkinKnob::OnLButtonUp(WPARAM, LPARAM) {
    ReleaseCapture();
    dragging = 0;
    return Default();
}

// Reset works whether or not the knob is active.
LRESULT CSkinKnob::OnLButtonDblClk(WPARAM, LPARAM) {
    SetValueChanged(defaultValue);
    Notify();
    return Default();
}

// Another window took the mouse: the release may never come here, so the drag
// ends now rather than turning the knob on later moves without the button.
LRESULT CSkinKnob::OnCaptureChanged(WPARAM, LPARAM) {
    dragging = 0;
    return Default();
}
