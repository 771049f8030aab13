#include "controls/SkinListPopup.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/PopupPlacement.h"

BEGIN_MESSAGE_MAP(CSkinListPopup, CWnd)
    ON_MESSAGE(WM_MOUSEMOVE, CSkinListPopup::OnMouseMove)
    ON_MESSAGE(WM_LBUTTONDOWN, CSkinListPopup::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, CSkinListPopup::OnLButtonUp)
END_MESSAGE_MAP()

namespace {
constexpr WORD kSelect = CBN_SELENDOK;
constexpr WORD kCancel = CBN_SELENDCANCEL;

// Accessibility clients hear that the list appeared or went.
void TellShown(HWND list, bool shown) {
    ::NotifyWinEvent(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, list, OBJID_CLIENT, CHILDID_SELF);
}
}  // namespace

BOOL CSkinListPopup::Create(DWORD style, const RECT& rect, CWnd* owner, int commandId,
                            int resize) {
    m_hWndOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    this->commandId = commandId;
    this->rect = rect;
    this->resize = resize;
    const RECT empty{0, 0, 0, 0};
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", nullptr,
                    WS_CHILD | WS_BORDER | style, empty, GetDesktopWindow(), 0);
}

void CSkinListPopup::Place(const RECT& rect, CWnd* owner, int commandId, int resize) {
    m_hWndOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    this->commandId = commandId;
    this->rect = rect;
    this->resize = resize;
    tracking = 0;
    hoverIndex = -1;
    if (this->resize == 1) {
        const PopupRect placed =
            PlacePopup(PopupRect{rect.left, rect.top, rect.right, rect.bottom}, GetCount(),
                       GetItemHeight(), GetSystemMetrics(SM_CYFULLSCREEN));
        this->rect = RECT{placed.left, placed.top, placed.right, placed.bottom};
        this->resize = 0;
    }
    const bool wasShown = IsWindowVisible(m_hWnd) != FALSE;
    SetWindowPos(m_hWnd, HWND_TOPMOST, this->rect.left, this->rect.top,
                 this->rect.right - this->rect.left + 1, this->rect.bottom - this->rect.top + 1,
                 SWP_SHOWWINDOW);
    if (!wasShown) TellShown(m_hWnd, true);
}

void CSkinListPopup::Hide() {
    m_hWndOwner = nullptr;
    if (ShowWindow(SW_HIDE)) TellShown(m_hWnd, false);
}

void CSkinListPopup::Close(int index) {
    const HWND target = m_hWndOwner != nullptr ? m_hWndOwner : GetParentHwnd();
    const WORD code = index == -1 ? kCancel : kSelect;
    ::PostMessageA(target, WM_COMMAND, MAKEWPARAM(commandId, code), reinterpret_cast<LPARAM>(m_hWnd));
    if (ShowWindow(SW_HIDE)) TellShown(m_hWnd, false);
}

LRESULT CSkinListPopup::ListMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (m_hWnd == nullptr)
        return LB_ERR;
    return SendMessage(message, wParam, lParam);
}

int CSkinListPopup::AddString(const char* text) const {
    return static_cast<int>(ListMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CSkinListPopup::GetCurSel() const {
    return static_cast<int>(ListMessage(LB_GETCURSEL));
}

// The list keeps its old highlight for an index it does not hold; no item
// should be highlighted then, so the face shows nothing.
int CSkinListPopup::SetCurSel(int index) const {
    if (index < 0 || index >= GetCount()) {
        ListMessage(LB_SETCURSEL, static_cast<WPARAM>(-1));
        return -1;
    }
    return static_cast<int>(ListMessage(LB_SETCURSEL, static_cast<WPARAM>(index)));
}

int CSkinListPopup::GetCount() const {
    const int count = static_cast<int>(ListMessage(LB_GETCOUNT));
    return count < 0 ? 0 : count;
}

int CSkinListPopup::GetItemHeight() const {
    return static_cast<int>(ListMessage(LB_GETITEMHEIGHT, 0));
}

void CSkinListPopup::GetText(int index, std::string& text) const {
    text.clear();
    const int length = static_cast<int>(ListMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length <= 0)
        return;
    text.resize(static_cast<size_t>(length) + 1);
    const int copied = static_cast<int>(
        ListMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
}

int CSkinListPopup::ItemFromPoint(POINT point) const {
    const LRESULT hit = ListMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (hit == LB_ERR || HIWORD(hit) != 0)
        return -1;
    return LOWORD(hit);
}

void CSkinListPopup::SetHover(int index) {
    if (tracking == 1 && index != hoverIndex) {
        SetCurSel(index);
        hoverIndex = index;
    }
}

void CSkinListPopup::MoveHighlight(int step) {
    const int count = GetCount();
    if (count == 0)
        return;
    const int index = std::clamp(GetCurSel() + step, 0, count - 1);
    SetCurSel(index);
    // The pointer highlights the item it is over again once it moves.
    hoverIndex = index;
}

void CSkinListPopup::Choose(int index) {
    SetCurSel(index);
    Close(index);
}

// The mouse events come from the drop-down, which holds the capture. They do not
// go on to the list's own handling, which would move the highlight to the item
// nearest a press and take the focus: the highlight follows hovering only.
LRESULT CSkinListPopup::OnMouseMove(WPARAM, LPARAM lParam) {
    const int index = ItemFromPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    // Outside the list the last item passed over stays highlighted.
    if (index != -1) {
        tracking = 1;
        SetHover(index);
    }
    return 0;
}

// A press on an item chooses it; a press anywhere else closes the list unchanged,
// whatever the pointer passed over on its way.
LRESULT CSkinListPopup::OnLButtonDown(WPARAM, LPARAM lParam) {
    const int index = ItemFromPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index == -1)
        Close(-1);
    else
        Choose(index);
    return 0;
}

// A release on an item chooses it once the pointer has been over the items, so a
// press on the face, a drag and a release is one gesture, while a plain click on
// the face leaves the list open. A release elsewhere chooses nothing.
LRESULT CSkinListPopup::OnLButtonUp(WPARAM, LPARAM lParam) {
    const int index = ItemFromPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (tracking == 1 && index != -1)
        Choose(index);
    return 0;
}
