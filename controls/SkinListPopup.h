#pragma once
// The list that a drop-down opens: a top-most "ComboLBox" window whose parent is
// the desktop. The drop-down keeps the mouse capture and forwards every mouse
// event here; the list answers by posting a select or cancel command to its owner.
#include <string>

#include "framework/Wnd.h"

class CSkinListPopup : public CWnd {
public:
    CSkinListPopup() = default;

    // Creates the hidden list window; records owner, commandId, rect and resize.
    BOOL Create(DWORD style, const RECT& rect, CWnd* owner, int commandId, int resize);
    // rect: the anchor face in screen coordinates. Resets hover tracking, then
    // sizes (when resize is 1) and shows the list top-most.
    void Place(const RECT& rect, CWnd* owner, int commandId, int resize);
    // Forgets the owner and hides the list.
    void Hide();
    // Posts select (code 9), or cancel (code 10) when index is -1, and hides.
    void Close(int index);

    int AddString(const char* text) const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
    int GetCount() const;
    int GetItemHeight() const;
    void GetText(int index, std::string& text) const;
    // The item under a point in the list's client coordinates; -1 outside the list.
    int ItemFromPoint(POINT point) const;
    void SetHover(int index);
    // Moves the highlight by step items, staying within the list.
    void MoveHighlight(int step);

    int commandId = 0;
    RECT rect{0, 0, 0, 0};
    int resize = 0;
    int tracking = 0;
    int hoverIndex = -1;

protected:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    LRESULT ListMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Highlights the item and closes with it chosen.
    void Choose(int index);

    HWND m_hWndOwner = nullptr;
};
