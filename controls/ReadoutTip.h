#pragma once
// The readouts of a window's controls, in the common controls' tooltips: one shows
// after the system's hover delay, a tracking one (this window) follows a control's
// value while it is dragged. The owner supplies every text on demand
// (TTN_GETDISPINFO), so a tip always says the current value; both sit beside their
// control, never over it. The tooltip windows are made when the pointer first
// reaches a control: a run in which nobody points at one never pays for them.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/Wnd.h"

class CReadoutTip : public CWnd, public CMouseRelay {
public:
    CReadoutTip() = default;

    // The window that will own both tips, answer their TTN_GETDISPINFO and hand
    // their TTN_SHOW to OnShow.
    void SetOwner(const CWnd& owner);
    // A hover readout for control, which relays its mouse messages to the tip.
    void AddTool(CWnd& control);
    // A control's mouse message: makes the tips on the first one, then hands it on.
    void RelayMouse(const MSG& msg) override;
    // A drag moved control's value: shows the tracking readout beside it, or brings
    // its text up to date, until the control lets the mouse go.
    void Follow(const CWnd& control);
    // The control a notification from either tip is about, or null: the owner then
    // answers with no text, and the tip does not show.
    HWND ControlOf(const NMHDR& header) const;
    // TTN_SHOW: places the hover tip beside its control. TRUE when it did.
    BOOL OnShow(const NMHDR& header) const;

protected:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Both tips with every tool; false when they cannot be made, then or before.
    bool MakeTips();
    TOOLINFOA DragTool() const;
    POINT BesideOf(HWND control, SIZE tip) const;
    void EndFollowing();

    HWND m_owner = nullptr;
    std::vector<HWND> m_tools;
    bool m_tipsFailed = false;
    CWnd m_hoverTip;
    HWND m_followed = nullptr;
};
