#pragma once
// Test support for the main window: an in-process virtual card whose request log
// the tests read, a modal run of the window with the test's steps inside its
// message loop, captured command lines, and pixels read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/InProcessPort.h"
#include "panel/WaveSettingsDialog.h"

// One request as the virtual card received it.
struct LoggedRequest {
    uint32_t code = 0;
    uint8_t bytes[36] = {};
    uint32_t Word(int offset) const;
    uint16_t Half(int offset) const;
    uint32_t DriverIndex() const { return Word(4); }
};

// Request codes of the card operations the main window uses.
enum : uint32_t {
    kQueryStatus = 4412,
    kSetClockMode = 4439,
    kGetClockMode = 4440,
    kSetChannelLevels = 4481,
    kGetChannelLevels = 4482,
    kGetChannelControl = 4483,
    kChannelControlOff = 4484,
    kChannelControlOn = 4485,
    kAutoSyncOff = 4488,
    kAutoSyncOn = 4489,
    kGetAutoSync = 4490,
    kSaveDefaults = 4495,
    kRetrieveDefaults = 4496,
    kReadDefaultsWord = 4500,
};

// Control ids by channel, restated here from the window's channel table.
struct ChannelControlIds {
    int switchId, faderId, knobId;
};
extern const ChannelControlIds kChannelControls[10];

// Colours as 0xRRGGBB.
using Colour = uint32_t;
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> colours;
    Colour At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};
// The client area as the user sees it (children included), after pending paints.
Pixels CaptureClient(HWND hwnd);
// A skin bitmap's own pixels.
Pixels SkinPixels(int id);

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the main window modally. body runs inside the window's message loop once
    // the window has painted; afterwards the window is cancelled unless body ended
    // it. Returns the modal result.
    INT_PTR RunPanel(const std::function<void(CWaveSettingsDialog& dialog, HWND hwnd)>& body);

    // The requests logged since the last call, oldest first; clears the log.
    std::vector<LoggedRequest> TakeLog();
    void ClearLog() { TakeLog(); }
    // Changes the card behind the panel's back.
    void OnCard(const std::function<void(VcCard& card)>& change, uint32_t slot = 0);
    void OnCore(const std::function<void(CVirtualCard& core)>& change);
    uint32_t RequestCount();

    std::shared_ptr<CVirtualCardDevice> card;

public:
    // Repaints the main window now (its own paint, which re-reads the card).
    static void Repaint(HWND hwnd);
    // Handles every message already queued for this thread.
    static void PumpMessages();
    // Pumps messages until done() holds; false after a generous deadline.
    static bool PumpUntil(const std::function<bool()>& done);

    template <typename T>
    static T& Control(HWND dialog, int id) {
        T* control = static_cast<T*>(CWnd::FromHandle(::GetDlgItem(dialog, id)));
        EXPECT_NE(control, nullptr) << "control " << id;
        return *control;
    }
    // The child window whose top-left corner is at (x, y) of the dialog's client area.
    static HWND ChildAt(HWND dialog, int x, int y);

    // Mouse messages as the system delivers them, in the control's client coordinates.
    static void Click(HWND control, int x = 3, int y = 3);
    static void ClickId(HWND dialog, int id) { Click(::GetDlgItem(dialog, id)); }

    static std::vector<std::string> launched;
};
