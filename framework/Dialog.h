#pragma once
// Modal dialog from a resource template. The template holds no controls: they are
// created in the dialog's WM_CREATE handler (the framework subclasses the dialog
// window while it is being created, so its message map sees WM_CREATE; -1 from it
// makes the modal run return at once).
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the EndDialog result (IDOK 1, IDCANCEL 2),
    // or -1 when the window could not be created. The owner (the parent, else the
    // application's main window) is disabled meanwhile, then enabled and activated.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    UINT GetTemplateId() const { return templateId_; }

protected:
    // From the dialog procedure: WM_INITDIALOG, WM_COMMAND.
    virtual BOOL OnInitDialog();  // returns TRUE: the system sets the focus
    // Routes IDOK to OnOK and IDCANCEL to OnCancel (Enter, Escape, close box), and
    // any other command to the application's command map.
    // Returns TRUE when the command was handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)
    // The framework's help search asks with WM_COMMANDHELP; a dialog answers by
    // opening the program's help at the context 0x20000 + its template id.
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    // Minimised, the dialog tells the child holding the mouse to cancel its mode
    // (WM_CANCELMODE): nothing the user no longer sees may keep it, or stay open on
    // the desktop, as a drop-down's list would.
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    // Enabled or disabled (a modal window over it opens or closes): its controls
    // become available or unavailable to accessibility clients.
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;
    UINT templateId_;
    CWnd* parent_;
};
