#pragma once
// The application object: refuses a second copy (also one started at the same
// moment, through a lock taken before the cards are discovered), checks that a
// card answers and runs the main window modally. The program ends when that
// window closes.
#include "framework/WinApp.h"

class CInstanceLock;

class CWaveSettingsApp : public CWinApp {
public:
    // The main window's title, by which a running copy is recognised.
    static constexpr char kMainWindowTitle[] = "Zelk MIRVA PCI Wave Device Settings";

    BOOL InitInstance() override;

    DECLARE_COMMAND_MAP()

private:
    // Brings a running copy forward; true when there is one. A copy whose main
    // window is hidden is closing, not running.
    static bool BringRunningCopyForward();
    // Takes the lock that one copy holds for its life. While another copy holds
    // it, waits a few seconds for that copy's main window and brings it forward,
    // or, while that copy closes, for it to end. True when this copy holds the lock
    // (the holder ended); false when this copy is to end without opening the driver.
    static bool TakeInstanceLock(CInstanceLock& lock);
};
