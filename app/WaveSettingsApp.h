#pragma once
// The application object: refuses a second copy, checks that a card answers and
// runs the main window modally. The program ends when that window closes.
#include "framework/WinApp.h"

class CWaveSettingsApp : public CWinApp {
public:
    // The main window's title, by which a running copy is recognised.
    static constexpr char kMainWindowTitle[] = "Zelk MIRVA PCI Wave Device Settings";

    BOOL InitInstance() override;

    DECLARE_COMMAND_MAP()

private:
    // Brings a running copy forward; true when there is one.
    static bool BringRunningCopyForward();
};
