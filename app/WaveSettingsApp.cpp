#include "app/WaveSettingsApp.h"

#include <memory>

#include "device/CardControl.h"
#include "panel/WaveSettingsDialog.h"

namespace {

constexpr char kNoCardText[] = "No MIRVA PCI Cards were found!";
constexpr char kNoCardCaption[] = "MIRVA PCI Wave Settings";

}  // namespace

// The framework's Help command opens the program's help.
BEGIN_COMMAND_MAP(CWaveSettingsApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_COMMAND_MAP()

bool CWaveSettingsApp::BringRunningCopyForward() {
    HWND running = ::FindWindowA(nullptr, kMainWindowTitle);
    if (running == nullptr) return false;
    // The copy may be showing one of its modal windows: that one comes forward.
    HWND popup = ::GetLastActivePopup(running);
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(popup);
    return true;
}

BOOL CWaveSettingsApp::InitInstance() {
    if (BringRunningCopyForward()) return FALSE;

    Enable3dControlsStatic();

    // Only counts the cards; the main window opens a link of its own.
    auto cards = std::make_unique<CCardControl>();
    if (cards->GetCardCount() == 0) {
        ::MessageBoxA(nullptr, kNoCardText, kNoCardCaption, MB_ICONEXCLAMATION | MB_OK);
        cards->Release();
        return FALSE;
    }

    CWaveSettingsDialog dialog(nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    cards->Release();
    return FALSE;
}
