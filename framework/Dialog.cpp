#include "framework/Dialog.h"

#include "framework/AccessibleWnd.h"
#include "framework/CreationHook.h"
#include "framework/WinApp.h"

namespace {

// The dialog manager's window class.
const char kDialogClassName[] = "#32770";

constexpr DWORD kHelpContextBase = 0x20000;

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_COMMANDHELP, CDialog::OnCommandHelp)
    ON_MESSAGE(WM_SIZE, CDialog::OnSize)
    ON_MESSAGE(WM_ENABLE, CDialog::OnEnable)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;
    }
    // Subclasses the dialog as it is created, so that WM_CREATE reaches the map.
    CCreationHook hook(this, kDialogClassName);
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId_), OwnerWindow(), DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

// A dialog opened without a parent is modal to the program's main window, so that
// the main window takes no input under it and a second start finds it as the main
// window's last active popup.
HWND CDialog::OwnerWindow() const {
    if (parent_ != nullptr) {
        return parent_->m_hWnd;
    }
    CWinApp* app = CWinApp::Current();
    if (app == nullptr || app->m_pMainWnd == nullptr || app->m_pMainWnd == this) {
        return nullptr;
    }
    return app->m_pMainWnd->m_hWnd;
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::OnInitDialog() { return TRUE; }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default: {
        CWinApp* app = CWinApp::Current();
        return app != nullptr ? app->OnCmdMsg(LOWORD(wParam)) : FALSE;
    }
    }
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::OnCommandHelp(WPARAM, LPARAM) {
    if (CWinApp* app = CWinApp::Current()) {
        app->WinHelp(kHelpContextBase + templateId_, HELP_CONTEXT);
    }
    return TRUE;
}

LRESULT CDialog::OnSize(WPARAM wParam, LPARAM) {
    if (wParam == SIZE_MINIMIZED) {
        const HWND holder = ::GetCapture();
        if (holder != nullptr && ::IsChild(m_hWnd, holder)) {
            ::SendMessageA(holder, WM_CANCELMODE, 0, 0);
        }
    }
    return Default();
}

LRESULT CDialog::OnEnable(WPARAM, LPARAM) {
    CAccessibleWnd::RaiseStateChangesIn(m_hWnd);
    return Default();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<CDialog*>(FromHandle(hwnd));
    if (dialog == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return dialog->OnInitDialog();
    case WM_COMMAND:
        return dialog->OnCommand(wParam, lParam);
    default:
        return FALSE;
    }
}
