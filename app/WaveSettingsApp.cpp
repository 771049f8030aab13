#include "app/WaveSettingsApp.h"

#include <memory>

#include "app/InstanceLock.h"
#include "device/CardControl.h"
#include "panel/WaveSettingsDialog.h"

namespace {

constexpr char kNoCardText[] = "No MIRVA PCI Cards were found!";
constexpr char kNoCardCaption[] = "MIRVA PCI Wave Settings";

constexpr char kInstanceLockName[] = "Local\\Zelk MIRVA PCI Wave Device Settings";
// How long a copy that finds the lock held waits for the holder's main window,
// and how often it looks meanwhile. The holder is discovering cards or ending.
constexpr ULONGLONG kHolderWaitMs = 5000;
// How long it waits for a holder whose main window is hidden: that copy is closing,
// which takes the requests in flight at most, seconds each on a slow driver.
constexpr ULONGLONG kClosingHolderWaitMs = 60000;
constexpr DWORD kLookEveryMs = 50;

// The first top-level window titled as the main window that is shown, or hidden.
HWND FindMainWindow(bool shown) {
    const char* title = CWaveSettingsApp::kMainWindowTitle;
    for (HWND window = ::FindWindowExA(nullptr, nullptr, nullptr, title); window != nullptr;
         window = ::FindWindowExA(nullptr, window, nullptr, title)) {
        if ((::IsWindowVisible(window) != FALSE) == shown) return window;
    }
    return nullptr;
}

}  // namespace

// The framework's Help command opens the program's help.
BEGIN_COMMAND_MAP(CWaveSettingsApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_COMMAND_MAP()

bool CWaveSettingsApp::BringRunningCopyForward() {
    // A copy whose main window is hidden is closing: brought forward, it would end
    // all the same and leave no window at all.
    HWND running = FindMainWindow(true);
    if (running == nullptr) return false;
    // The copy may be showing one of its modal windows: that one comes forward.
    HWND popup = ::GetLastActivePopup(running);
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(popup);
    return true;
}

bool CWaveSettingsApp::TakeInstanceLock(CInstanceLock& lock) {
    const ULONGLONG start = ::GetTickCount64();
    for (DWORD wait = 0; !lock.Take(wait); wait = kLookEveryMs) {
        if (BringRunningCopyForward()) return false;
        // A holder without a main window for that long shows its no-card message
        // or is stuck in discovery: a second message or discovery would not help.
        // A closing holder is waited for, so that this copy runs once it has gone.
        const ULONGLONG bound = FindMainWindow(false) != nullptr ? kClosingHolderWaitMs : kHolderWaitMs;
        if (::GetTickCount64() - start >= bound) return false;
    }
    return true;
}

BOOL CWaveSettingsApp::InitInstance() {
    if (BringRunningCopyForward()) return FALSE;
    // Held until this copy ends; a copy started at the same moment has no window yet.
    CInstanceLock lock(kInstanceLockName);
    if (!TakeInstanceLock(lock)) return FALSE;

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
