#pragma once
// Selector drawn from a resting and a held bitmap; its face shows the chosen
// item. A press opens the list popup below (or above) the face; the chosen index
// is the value, and a change is posted to the parent as
// WM_COMMAND(MAKEWPARAM(id, 1), handle). While the list is open the control holds
// the mouse capture and the keyboard focus: Escape, a press outside the list or the
// loss of either closes it unchanged; Enter picks the highlighted item.
#include "controls/SkinListPopup.h"
#include "controls/SkinRangeCtrl.h"

class CSkinBitmap;

class CSkinDropList : public CSkinRangeCtrl {
public:
    CSkinDropList();
    ~CSkinDropList() override;

    // itemCount is accepted for the callers' sake; the range follows the items added.
    // Returns 0, creating nothing, when a face is missing from the resources.
    BOOL Create(POINT topLeft, CWnd* parent, UINT id, UINT normalBitmapId,
                UINT pressedBitmapId, int itemCount);
    void AddString(const char* text);
    // Highlights and shows an item without touching the value; returns the
    // highlighted index, -1 when the list does not hold it.
    int ShowItem(int index);

    void SetValue(int v) override;
    // As the base: 1 when the value changed, else 0. A change is also posted to the parent.
    int SetValueChanged(int v) override;
    virtual void NotifyChange(int v);

    LONG AccessibleRole() const override;
    // The text on the face.
    std::string AccessibleValue() const override;
    // Expanded while the list is down.
    LONG AccessibleState() const override;
    // Opens the list, or closes it choosing nothing.
    std::string AccessibleDefaultAction() const override;
    // An item's text (in any case): chosen as a click on it in the list chooses it.
    HRESULT SetAccessibleValue(const std::string& text) override;
    // The list's items, in order; the highlighted one is selected. Hidden while the
    // list is closed, but each can still be chosen.
    LONG AccessibleChildCount() const override;
    AccessibleChild AccessibleChildAt(LONG child) const override;
    bool AccessibleChildRect(LONG child, RECT* screen) const override;

    CSkinListPopup popup;
    CSkinBitmap* normalBitmap = nullptr;
    CSkinBitmap* pressedBitmap = nullptr;
    int pressed = 0;
    int dropped = 0;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool scaled = false;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    void DoDefaultAction(LONG child) override;
    DECLARE_MESSAGE_MAP()

private:
    void DropDown();
    // Chooses an item as a click on it would: through the open list, or at once.
    void Choose(int index);
    // Closes the list with the highlight back on the value and lets the face go.
    void CloseUp();
    // Sends a mouse message to the popup with the point moved into its client area.
    void ForwardToPopup(UINT message, WPARAM keys, LPARAM lParam) const;
};
