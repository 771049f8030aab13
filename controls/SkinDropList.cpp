#include "controls/SkinDropList.h"

#include <windowsx.h>

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinBitmap.h"
#include "controls/SkinDialogBaseUnits.h"
#include "framework/Gdi.h"

BEGIN_MESSAGE_MAP(CSkinDropList, CSkinRangeCtrl)
    ON_MESSAGE(WM_PAINT, CSkinDropList::OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, CSkinDropList::OnEraseBkgnd)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinDropList::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, CSkinDropList::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, CSkinDropList::OnLButtonUp)
    ON_MESSAGE(WM_MOUSEMOVE, CSkinDropList::OnMouseMove)
    ON_MESSAGE(WM_COMMAND, CSkinDropList::OnCommand)
    ON_MESSAGE(WM_CAPTURECHANGED, CSkinDropList::OnCaptureChanged)
    ON_MESSAGE(WM_KILLFOCUS, CSkinDropList::OnKillFocus)
    ON_MESSAGE(WM_GETDLGCODE, CSkinDropList::OnGetDlgCode)
    ON_MESSAGE(WM_KEYDOWN, CSkinDropList::OnKeyDown)
END_MESSAGE_MAP()

namespace {
// The popup's own command identifier, in the low word of its commands.
constexpr int kPopupCommand = 1;
// The change notification's code: CBN_SELCHANGE.
constexpr WORD kChangeCode = 1;
}  // namespace

CSkinDropList::CSkinDropList() {
    minValue = -1;
    maxValue = -1;
    SetValue(-1);
    const LONG units = SkinDialogBaseUnits();
    scaleX = static_cast<float>(LOWORD(units)) * 0.125f;
    scaleY = static_cast<float>(HIWORD(units)) * 0.0625f;
    scaled = scaleX > 1.05 || scaleY > 1.05;
}

// The popup is a child of the desktop, not of our parent, so nothing else
// would take its window down.
CSkinDropList::~CSkinDropList() {
    if (popup.GetSafeHwnd() != nullptr)
        popup.DestroyWindow();
}

BOOL CSkinDropList::Create(POINT topLeft, CWnd* parent, UINT id, UINT normalBitmapId,
                           UINT pressedBitmapId, int) {
    // Both faces or neither: the window takes the resting face's size.
    CSkinBitmap* normal = LoadSkinBitmap(static_cast<int>(normalBitmapId));
    CSkinBitmap* held = LoadSkinBitmap(static_cast<int>(pressedBitmapId));
    if (normal == nullptr || held == nullptr)
        return FALSE;
    normalBitmap = normal;
    pressedBitmap = held;

    BITMAP face{};
    normalBitmap->GetBitmap(&face);
    RECT rect{topLeft.x, topLeft.y, topLeft.x + face.bmWidth - 1, topLeft.y + face.bmHeight - 1};
    if (scaled) {
        rect.right += static_cast<int>((scaleX - 1.0f) * static_cast<float>(face.bmWidth));
        rect.bottom += static_cast<int>((scaleY - 1.0f) * static_cast<float>(face.bmHeight));
    }
    if (!CWnd::Create("", WS_CHILD | WS_VISIBLE, rect, parent, id))
        return FALSE;
    // The list's window waits for the first opening; the items wait in the list.
    popup.Prepare(rect, this, kPopupCommand, 1, g_panelFont.Handle());
    return TRUE;
}

void CSkinDropList::AddString(const char* text) {
    popup.AddString(text);
    const int count = popup.GetCount();
    SetMax(count - 1);
    if (count >= 1 && GetMin() < 0)
        SetMin(0);
}

int CSkinDropList::ShowItem(int index) {
    if (m_hWnd == nullptr)
        return -1;
    const int before = popup.GetCurSel();
    const int shown = popup.SetCurSel(index);
    std::string text;
    if (shown != -1)
        popup.GetText(shown, text);
    // The main window sets its lists at every repaint, mostly to what they show.
    if (shown == before && faceText_ == text)
        return shown;
    faceText_ = text;
    SetWindowText(text.c_str());
    Invalidate(TRUE);
    RaiseValueChange();
    return shown;
}

void CSkinDropList::SetValue(int v) {
    CSkinRangeCtrl::SetValue(v);
    ShowItem(value);
}

int CSkinDropList::SetValueChanged(int v) {
    if (!CSkinRangeCtrl::SetValueChanged(v))
        return 0;
    NotifyChange(value);
    ShowItem(value);
    return 1;
}

// Posted, so the parent hears of the change after the closing event is handled.
void CSkinDropList::NotifyChange(int) {
    if (m_hWnd == nullptr)
        return;
    PostToParent(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kChangeCode),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

LONG CSkinDropList::AccessibleRole() const { return ROLE_SYSTEM_COMBOBOX; }

std::string CSkinDropList::AccessibleValue() const { return GetWindowText(); }

LONG CSkinDropList::AccessibleState() const {
    return CAccessibleWnd::AccessibleState() | (dropped != 0 ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
}

std::string CSkinDropList::AccessibleDefaultAction() const { return dropped != 0 ? "Close" : "Open"; }

HRESULT CSkinDropList::SetAccessibleValue(const std::string& text) {
    if (Unavailable()) return E_ACCESSDENIED;
    const int count = popup.GetCount();
    for (int i = 0; i < count; ++i) {
        std::string item;
        popup.GetText(i, item);
        if (::lstrcmpiA(item.c_str(), text.c_str()) == 0) {
            Choose(i);
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

LONG CSkinDropList::AccessibleChildCount() const { return popup.GetCount(); }

AccessibleChild CSkinDropList::AccessibleChildAt(LONG child) const {
    AccessibleChild item;
    popup.GetText(child - 1, item.name);
    item.role = ROLE_SYSTEM_LISTITEM;
    item.state = STATE_SYSTEM_SELECTABLE;
    if (popup.GetCurSel() == child - 1) item.state |= STATE_SYSTEM_SELECTED;
    if (dropped == 0) item.state |= STATE_SYSTEM_INVISIBLE;
    if (Unavailable()) item.state |= STATE_SYSTEM_UNAVAILABLE;
    item.defaultAction = "Select";
    return item;
}

bool CSkinDropList::AccessibleChildRect(LONG child, RECT* screen) const {
    if (dropped == 0) return false;
    const HWND list = popup.GetSafeHwnd();
    if (::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(child - 1), reinterpret_cast<LPARAM>(screen)) ==
        LB_ERR) {
        return false;
    }
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(screen), 2);
    return true;
}

// The list opens without a press to hold the face down.
void CSkinDropList::DoDefaultAction(LONG child) {
    if (child != CHILDID_SELF) {
        Choose(static_cast<int>(child) - 1);
    } else if (dropped == 1) {
        popup.Close(-1);
    } else {
        DropDown();
        pressed = 0;
    }
}

void CSkinDropList::Choose(int index) {
    if (dropped == 1) {
        popup.Choose(index);
    } else {
        SetValueChanged(index);
    }
}

void CSkinDropList::DropDown() {
    pressed = 1;
    RECT client{};
    GetClientRect(&client);
    POINT origin{0, 0};
    ClientToScreen(&origin);
    const RECT anchor{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    // The keys go to the focus: the open list's keys must reach it, not the dialog.
    // Taken before the list shows: focusing an inactive window raises it, over a
    // list shown before.
    ::SetFocus(m_hWnd);
    if (!popup.Place(anchor, this, kPopupCommand, 1)) {
        pressed = 0;
        return;
    }
    SetCapture();
    dropped = 1;
    Invalidate(TRUE);
    RaiseStateChange();
}

void CSkinDropList::CloseUp() {
    // Cleared first: releasing the capture below is not a loss of it.
    dropped = 0;
    popup.Hide();
    popup.SetCurSel(GetValue());
    pressed = 0;
    if (GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Invalidate(TRUE);
    RaiseStateChange();
}

void CSkinDropList::ForwardToPopup(UINT message, WPARAM keys, LPARAM lParam) const {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(m_hWnd, popup.GetSafeHwnd(), &point, 1);
    popup.SendMessage(message, keys, MAKELPARAM(point.x, point.y));
}

LRESULT CSkinDropList::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    if (dropped == 1)
        ForwardToPopup(WM_LBUTTONDOWN, wParam, lParam);
    else
        DropDown();
    return Default();
}

LRESULT CSkinDropList::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (dropped == 1)
        ForwardToPopup(WM_LBUTTONUP, wParam, lParam);
    if (pressed == 1) {
        pressed = 0;
        Invalidate(TRUE);
    }
    return Default();
}

LRESULT CSkinDropList::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (dropped != 1)
        return Default();
    ForwardToPopup(WM_MOUSEMOVE, wParam, lParam);
    return 0;
}

LRESULT CSkinDropList::OnCommand(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default();
    if (lParam == 0 || LOWORD(wParam) != kPopupCommand)
        return result;
    switch (HIWORD(wParam)) {
    case CBN_SELENDOK: {
        const int chosen = popup.GetCurSel();
        if (chosen != -1)
            SetValueChanged(chosen);
        CloseUp();
        break;
    }
    case CBN_SELENDCANCEL:
        CloseUp();
        break;
    default:
        break;
    }
    return result;
}

// Another window took the mouse (WM_CANCELMODE releases it too): close without
// committing, and let the held face go, since its release goes elsewhere.
LRESULT CSkinDropList::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if (dropped == 1 && reinterpret_cast<HWND>(lParam) != m_hWnd)
        CloseUp();
    return Default();
}

// The window was deactivated or minimised: nothing is chosen.
LRESULT CSkinDropList::OnKillFocus(WPARAM, LPARAM) {
    if (dropped == 1)
        CloseUp();
    return Default();
}

// The dialog turns Enter and Escape into OK and Cancel unless the focus asks for them.
LRESULT CSkinDropList::OnGetDlgCode(WPARAM, LPARAM) {
    if (dropped == 1)
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    return Default();
}

LRESULT CSkinDropList::OnKeyDown(WPARAM wParam, LPARAM) {
    if (dropped != 1)
        return Default();
    switch (wParam) {
    case VK_ESCAPE:
        popup.Close(-1);
        break;
    case VK_RETURN:
        popup.Close(popup.GetCurSel());
        break;
    case VK_UP:
        popup.MoveHighlight(-1);
        break;
    case VK_DOWN:
        popup.MoveHighlight(1);
        break;
    default:
        return Default();
    }
    return 0;
}

LRESULT CSkinDropList::OnEraseBkgnd(WPARAM, LPARAM) {
    return 1;
}

LRESULT CSkinDropList::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    CBkModeScope transparent(dc, TRANSPARENT);
    CSelectObject font(dc, g_panelFont);

    std::string text;
    const int shown = popup.GetCurSel();
    if (shown != -1)
        popup.GetText(shown, text);

    RECT client{};
    GetClientRect(&client);
    RECT area{client.left + 3, client.top + 1, client.right - 3, client.bottom - 1};

    const CSkinBitmap& face = pressed == 1 ? *pressedBitmap : *normalBitmap;
    if (scaled) {
        BITMAP size{};
        face.GetBitmap(&size);
        face.DrawStretched(&dc, 0, 0, static_cast<int>(static_cast<float>(size.bmWidth) * scaleX),
                           static_cast<int>(static_cast<float>(size.bmHeight) * scaleY));
    } else {
        face.Draw(&dc, 0, 0);
    }

    if (!text.empty()) {
        // The held face shows its text one pixel lower and further right.
        if (pressed == 1) {
            ++area.left;
            ++area.top;
        } else {
            --area.right;
            --area.bottom;
        }
        dc.DrawText(text.c_str(), -1, &area, DT_VCENTER);
    }
    return 0;
}
