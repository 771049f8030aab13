#pragma once
// A window that answers WM_GETOBJECT for its client area with an IAccessible
// object, so that screen readers can tell what it is and work it. Its owner gives
// it a name (and may give a value text and read a client's value text); the window
// class says its role, state, default action and children. The window tells
// clients of what changes with WinEvents.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

#include "framework/Wnd.h"

class CAccessibleObject;

// One of a window's simple children (child ids 1..count), such as a list's items.
struct AccessibleChild {
    std::string name;
    LONG role = 0;
    LONG state = 0;
    std::string defaultAction;
};

class CAccessibleWnd : public CWnd {
public:
    // Posted to the window to run a default action from its own message loop, so
    // that the client's call returns at once even when the action opens a modal
    // window. wParam: the child id, CHILDID_SELF for the window itself.
    static constexpr UINT kDefaultActionMessage = WM_APP + 0x300;
    // The state flags that clients are told of when they change.
    static constexpr LONG kToldStates =
        STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_EXPANDED |
        STATE_SYSTEM_COLLAPSED;

    CAccessibleWnd() = default;
    ~CAccessibleWnd() override;

    std::string accessibleName;
    // The owner's text for the value; when empty the window says its own.
    std::function<std::string()> accessibleValue;
    // The owner's reading of a client's text as a value of the window; false for
    // a text that is none of the forms the value takes.
    std::function<bool(const std::string& text, int* value)> accessibleParse;

    // ROLE_SYSTEM_*; a plain client area unless the window class says more.
    virtual LONG AccessibleRole() const;
    virtual std::string AccessibleValue() const;
    // STATE_SYSTEM_* flags; the base says whether the window is hidden, and that it
    // is unavailable while its top-level window is disabled (a modal window runs).
    virtual LONG AccessibleState() const;
    // The default action's name; empty when the window has none.
    virtual std::string AccessibleDefaultAction() const;
    // Queues the default action of the window or of one of its children: S_OK, or
    // DISP_E_MEMBERNOTFOUND when there is none, E_ACCESSDENIED while unavailable.
    HRESULT QueueDefaultAction(LONG child) const;
    // Sets the value from a client's text the way the user's own input would: S_OK,
    // or E_NOTIMPL when the window takes no value, E_INVALIDARG for a text that it
    // does not take, E_ACCESSDENIED while it is unavailable. Nothing changes unless S_OK.
    virtual HRESULT SetAccessibleValue(const std::string& text);

    virtual LONG AccessibleChildCount() const;
    // child: 1..AccessibleChildCount().
    virtual AccessibleChild AccessibleChildAt(LONG child) const;
    // The child's rectangle on the screen; false while it is not shown.
    virtual bool AccessibleChildRect(LONG child, RECT* screen) const;

    // The value that clients read has changed.
    void RaiseValueChange() const;
    // Tells clients of the told states when they differ from what clients were
    // last told (or what the window had when it was created).
    void RaiseStateChange();
    // Every accessible window inside topLevel rechecks its states: topLevel was
    // enabled or disabled.
    static void RaiseStateChangesIn(HWND topLevel);

    // Ends COM on this thread if a window's first WM_GETOBJECT here started it.
    static void EndComOnThisThread();

protected:
    bool Unavailable() const;
    // Does what the default action names, as the user's own input would; child is
    // CHILDID_SELF or one of the children.
    virtual void DoDefaultAction(LONG child);
    void RaiseEvent(DWORD event, LONG child = CHILDID_SELF) const;

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnDefaultAction(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CAccessibleObject* accessible_ = nullptr;  // one reference held while the window object lives
    LONG toldState_ = 0;                        // the told states as clients last heard them
};
