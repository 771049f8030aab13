#pragma once
// The program's only button: four bitmaps (off-up, on-up, off-down, on-down) and a
// two-valued state flipped by each click and reported to the parent as
// WM_USER(control id, new state). Serves as push button, switch and lamp. A click is
// a press and a release over the button: released elsewhere, it does nothing.
#include "framework/AccessibleWnd.h"
#include "controls/SkinBitmap.h"

class CSkinButton : public CAccessibleWnd {
public:
    // 0 off, 1 on; owners set it through ShowState
    int state = 0;
    int pressed = 0;   // 1 while a press is held with the pointer over the button
    int tracking = 0;  // 1 from a press on the button until its release or the capture's loss
    // off-up, on-up, off-down, on-down; owned by the cache. A held face made by Create
    // is null until first shown.
    CSkinBitmap* bitmaps[4] = {};
    // What the owner uses the button as: ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_CHECKBUTTON
    // (a switch: checked while on) or ROLE_SYSTEM_INDICATOR (a lamp: no action).
    LONG accessibleRole = ROLE_SYSTEM_PUSHBUTTON;

    // Window one pixel narrower and lower than the first bitmap, at topLeft in the
    // parent's client coordinates. Returns 0, creating nothing, when a bitmap is
    // missing from the resources or the window cannot be made.
    BOOL Create(const POINT& topLeft, CWnd* parent, UINT id,
                UINT offUp, UINT onUp, UINT offDown, UINT onDown);
    // Swaps the four images and repaints when they differ from those shown; keeps the
    // size, state and pressed. Returns 0, keeping the previous images, when a bitmap is
    // missing. User-interface thread only.
    BOOL SetBitmaps(UINT offUp, UINT onUp, UINT offDown, UINT onDown);
    // Shows a state its owner has from the card: repaints and tells readers, and sends
    // the parent nothing.
    void ShowState(int shown);

    LONG AccessibleRole() const override;
    // A switch says "on" or "off" unless its owner says more.
    std::string AccessibleValue() const override;
    LONG AccessibleState() const override;
    std::string AccessibleDefaultAction() const override;

protected:
    // A click, as a release after a press makes it.
    void DoDefaultAction(LONG child) override;

    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Flips the state, tells the parent and repaints.
    void Click();
    // Whether a point in client coordinates lies over the button.
    bool Over(LPARAM point) const;
    void ShowPressed(int shown);
    // The image of face index, loading a held face at its first showing.
    CSkinBitmap* Face(int index);

    UINT heldIds_[2] = {};  // the held faces' bitmaps as Create was given them
};
