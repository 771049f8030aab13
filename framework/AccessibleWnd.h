#pragma once
// A window that answers WM_GETOBJECT for its client area with an IAccessible
// object, so that screen readers can tell what it is. Its owner gives it a name
// (and may give a value text); the window class says its role, state and default
// action.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

#include "framework/Wnd.h"

class CAccessibleObject;

class CAccessibleWnd : public CWnd {
public:
    // Posted to the window to run its default action from its own message loop:
    // the client's call returns at once even when the action opens a modal window.
    static constexpr UINT kDefaultActionMessage = WM_APP + 0x300;

    CAccessibleWnd() = default;
    ~CAccessibleWnd() override;

    std::string accessibleName;
    // The owner's text for the value; when empty the window says its own.
    std::function<std::string()> accessibleValue;

    // ROLE_SYSTEM_*; a plain client area unless the window class says more.
    virtual LONG AccessibleRole() const;
    virtual std::string AccessibleValue() const;
    // STATE_SYSTEM_* flags; the base says only whether the window is hidden.
    virtual LONG AccessibleState() const;
    // The default action's name; empty when the window has none.
    virtual std::string AccessibleDefaultAction() const;
    // Queues the default action; FALSE when the window has none.
    BOOL QueueDefaultAction() const;

    // Ends COM on this thread if a window's first WM_GETOBJECT here started it.
    static void EndComOnThisThread();

protected:
    // Does what the default action names, as the user's own input would.
    virtual void DoDefaultAction();

    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnDefaultAction(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CAccessibleObject* accessible_ = nullptr;  // one reference held while the window object lives
};
