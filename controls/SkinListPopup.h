#pragma once
// The list that a drop-down opens: a top-most "ComboLBox" window whose parent is
// the desktop. The drop-down keeps the mouse capture and forwards every mouse
// event here; the list answers by posting a select or cancel command to its owner.
// The items and the highlight are kept here as well: the window is made when the
// list first opens, and until then the list answers from what it keeps.
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CSkinListPopup : public CWnd {
public:
    CSkinListPopup() = default;

    // Records owner, commandId, rect and resize, and the font of the window to come.
    void Prepare(const RECT& rect, CWnd* owner, int commandId, int resize, HFONT font);
    // rect: the anchor face in screen coordinates. Makes the window on the first
    // call, resets hover tracking, then sizes (when resize is 1) and shows the list
    // top-most. False, showing nothing, when the window cannot be made.
    bool Place(const RECT& rect, CWnd* owner, int commandId, int resize);
    // Forgets the owner and hides the list.
    void Hide();
    // Posts select (code 9), or cancel (code 10) when index is -1, and hides.
    void Close(int index);
    // Highlights the item and closes with it chosen.
    void Choose(int index);

    int AddString(const char* text);
    int GetCurSel() const;
    int SetCurSel(int index);
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
    // The hidden list window with the items and the highlight kept so far.
    bool CreateList();
    HWND m_hWndOwner = nullptr;
    HFONT font_ = nullptr;
    std::vector<std::string> items_;
    int highlight_ = -1;  // the highlight while there is no window
};
