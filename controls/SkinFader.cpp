#include "controls/SkinFader.h"

#include <windowsx.h>

#include "controls/BitmapCache.h"
#include "controls/RangeLaw.h"
#include "controls/SkinBitmap.h"
#include "framework/Gdi.h"

BEGIN_MESSAGE_MAP(CSkinFader, CAccessibleWnd)
    ON_MESSAGE(WM_PAINT, CSkinFader::OnPaint)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinFader::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, CSkinFader::OnLButtonUp)
    ON_MESSAGE(WM_MOUSEMOVE, CSkinFader::OnMouseMove)
    ON_MESSAGE(WM_CAPTURECHANGED, CSkinFader::OnCaptureChanged)
END_MESSAGE_MAP()

BOOL CSkinFader::Create(CWnd* parent, UINT id, int x, int y, UINT trackBitmapId,
                        UINT thumbBitmapId, int bottomMargin, int topMargin,
                        const RECT& thumbInset, int maxValue, int minValue, int taperMode,
                        double taperExponent) {
    this->minValue = minValue;
    this->maxValue = maxValue;
    this->taperMode = taperMode;
    taperBase = TaperBase(taperExponent);

    // Without its pictures the fader has no size to take.
    if (!SetBitmaps(trackBitmapId, thumbBitmapId))
        return FALSE;

    BITMAP thumb{};
    BITMAP track{};
    thumbBitmap->GetBitmap(&thumb);
    trackBitmap->GetBitmap(&track);
    const FaderTravel travel = FaderTravelFor(thumb.bmHeight, thumbInset.top, thumbInset.bottom,
                                              track.bmHeight, bottomMargin, topMargin);
    grabHalf = travel.grabHalf;
    thumbCentre = travel.thumbCentre;
    topLimit = travel.topLimit;
    bottomLimit = travel.bottomLimit;

    const RECT rect{x, y, x + track.bmWidth - 1, y + track.bmHeight - 1};
    return CWnd::Create(" ", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

FaderScale CSkinFader::Scale() const {
    return FaderScale{minValue, maxValue, topLimit, bottomLimit, taperMode, taperBase};
}

void CSkinFader::SetValue(int v) {
    if (v == value)
        return;
    value = ClampToRange(v, minValue, maxValue);
    position = ValueToPosition(Scale(), value);
    InvalidateRect(nullptr, FALSE);
}

void CSkinFader::SetPosition(int p) {
    if (p == position)
        return;
    position = ClampToRange(p, topLimit, bottomLimit);
    value = PositionToValue(Scale(), position);
    InvalidateRect(nullptr, TRUE);
}

// Both or neither, so the fader never paints half a skin.
BOOL CSkinFader::SetBitmaps(UINT trackBitmapId, UINT thumbBitmapId) {
    CSkinBitmap* track = LoadSkinBitmap(static_cast<int>(trackBitmapId));
    CSkinBitmap* thumb = LoadSkinBitmap(static_cast<int>(thumbBitmapId));
    if (track == nullptr || thumb == nullptr)
        return FALSE;
    trackBitmap = track;
    thumbBitmap = thumb;
    return TRUE;
}

LONG CSkinFader::AccessibleRole() const { return ROLE_SYSTEM_SLIDER; }

LONG CSkinFader::AccessibleState() const {
    return CAccessibleWnd::AccessibleState() | (active == 0 ? STATE_SYSTEM_UNAVAILABLE : 0);
}

HRESULT CSkinFader::SetAccessibleValue(const std::string& text) {
    if (!accessibleParse) return E_NOTIMPL;
    if (Unavailable()) return E_ACCESSDENIED;
    int target = 0;
    if (!accessibleParse(text, &target)) return E_INVALIDARG;
    SetPosition(NearestPosition(Scale(), target));
    Notify();
    return S_OK;
}

bool CSkinFader::OnThumb(int y) const {
    return position - grabHalf <= y && y <= position + grabHalf;
}

bool CSkinFader::OnTrack(int y) const {
    return topLimit <= y && y <= bottomLimit;
}

void CSkinFader::Notify() const {
    SendToParent(WM_USER, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(value));
}

LRESULT CSkinFader::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    trackBitmap->Draw(&dc, 0, 0);
    thumbBitmap->Draw(&dc, 0, position - thumbCentre);
    return 0;
}

LRESULT CSkinFader::OnLButtonDown(WPARAM, LPARAM lParam) {
    const int y = GET_Y_LPARAM(lParam);
    if (active != 1)
        return Default();
    if (OnThumb(y)) {
        // Grabbed where it was pressed: the thumb does not jump.
        SetCapture();
        dragging = 1;
        dragOffset = position - y;
    } else if (OnTrack(y)) {
        SetPosition(y);
        Notify();
        SetCapture();
        dragging = 1;
        dragOffset = 0;
    }
    return Default();
}

LRESULT CSkinFader::OnMouseMove(WPARAM, LPARAM lParam) {
    if (dragging == 1) {
        SetPosition(GET_Y_LPARAM(lParam) + dragOffset);
        Notify();
    }
    return Default();
}

LRESULT CSkinFader::OnLButtonUp(WPARAM, LPARAM) {
    ReleaseCapture();
    dragging = 0;
    return Default();
}

// Without the capture the release may never reach the fader; ending the drag
// keeps a later move with the button up from moving the thumb.
LRESULT CSkinFader::OnCaptureChanged(WPARAM, LPARAM) {
    dragging = 0;
    return Default();
}
