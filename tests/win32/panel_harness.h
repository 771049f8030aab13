#pragma once
// Test support for the main window: the in-process virtual card, a modal run of the
// window with the test's steps inside its message loop, captured command lines, and
// the shared pixel read-back, pumps and mouse messages.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "panel/WaveSettingsDialog.h"
#include "tests/win32/support/Capture.h"
#include "tests/win32/support/InProcessCardTest.h"
#include "tests/win32/support/MessagePump.h"
#include "tests/win32/support/ModalRun.h"
#include "tests/win32/support/Mouse.h"
#include "tests/win32/support/SkinPixels.h"

// Control ids by channel, restated here from the window's channel table.
struct ChannelControlIds {
    int switchId, faderId, knobId;
};
extern const ChannelControlIds kChannelControls[10];

class PanelTest : public InProcessCardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the main window modally. body runs inside the window's message loop once
    // the window has painted; afterwards the window is cancelled unless body ended
    // it. Returns the modal result.
    INT_PTR RunPanel(const std::function<void(CWaveSettingsDialog& dialog, HWND hwnd)>& body);

public:
    // The child window whose top-left corner is at (x, y) of the dialog's client area.
    static HWND ChildAt(HWND dialog, int x, int y);

    static std::vector<std::string> launched;
};
