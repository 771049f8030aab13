#pragma once
// Test support for the auxiliary windows: an in-process virtual card whose request
// log (and the thread of every request) the tests read, modal runs with the test's
// steps inside the window's own message loop, mouse clicks on child controls, and
// pixels read back from the screen and saved as screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/CardControl.h"
#include "emulator/InProcessPort.h"
#include "framework/Dialog.h"

// One request as the virtual card received it.
struct LoggedRequest {
    uint32_t code = 0;
    uint8_t bytes[36] = {};
    uint32_t Word(int offset) const;
    uint16_t Half(int offset) const;
};

enum : uint32_t {
    kResetCardStart = 4408,
    kResetCardStop = 4409,
    kQueryStatus = 4412,
    kReadRegister = 4432,
    kGetStreamSync = 4486,
    kSetStreamSync = 4487,
    kFreeCard = 4499,
};

std::vector<uint32_t> Codes(const std::vector<LoggedRequest>& log);

// Colours as 0xRRGGBB.
using Colour = uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return (static_cast<Colour>(r) << 16) | (static_cast<Colour>(g) << 8) | static_cast<Colour>(b);
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> colours;  // rows top to bottom
    Colour At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
    // The w x h part whose top-left corner is (x, y).
    Pixels Part(int x, int y, int w, int h) const;
};
bool operator==(const Pixels& a, const Pixels& b);

// The client area as the user sees it, children included, after pending paints.
Pixels CaptureClient(HWND hwnd);
// A skin bitmap's own pixels.
Pixels SkinPixels(int id);
// Saves the pixels as build/screenshots/<name>.png for a person to look at.
bool SaveScreenshot(const Pixels& pixels, const std::string& name);

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The requests logged since the last call, oldest first; clears the log.
    std::vector<LoggedRequest> TakeLog();
    void ClearLog() { TakeLog(); }
    uint32_t RequestCount();
    // Changes the card (slot 0) or the card's driver behind the windows' backs.
    void OnCard(const std::function<void(VcCard& card)>& change);
    void OnCore(const std::function<void(CVirtualCard& core)>& change);

    // Threads on which requests reached the driver port, since the last call.
    std::vector<DWORD> TakeRequestThreads();
    // Called on every request that reaches the driver port, before the card answers.
    void WatchRequests(std::function<void(uint32_t code, const uint8_t* request)> watch);

    std::shared_ptr<CVirtualCardDevice> card;
    std::unique_ptr<CCardControl> device;  // the main window's device object
    static constexpr int32_t kCard = 0;

public:
    // Runs dialog modally; body runs inside its message loop once the window is
    // shown and painted. Afterwards the dialog is cancelled unless body ended it.
    static INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND hwnd)>& body);
    static void PumpMessages();
    // Pumps messages until done() holds; false after a generous deadline.
    static bool PumpUntil(const std::function<bool()>& done);
    // Pumps messages for the given time: only to show that nothing more happens.
    static void PumpFor(DWORD milliseconds);
    // Repaints the window now (its own paint).
    static void Repaint(HWND hwnd);

    // Mouse press and release as the system delivers them, in the control's coordinates.
    static void Click(HWND control, int x = 3, int y = 3);
    static void ClickId(HWND dialog, int id) { Click(::GetDlgItem(dialog, id)); }
    // The child windows, in the order of their top edge, then left edge.
    static std::vector<HWND> ChildrenByPosition(HWND dialog);
    // A child's window rectangle in the dialog's client coordinates.
    static RECT ChildRect(HWND dialog, HWND child);
    template <typename T>
    static T& Control(HWND dialog, int id) {
        T* control = static_cast<T*>(CWnd::FromHandle(::GetDlgItem(dialog, id)));
        EXPECT_NE(control, nullptr) << "control " << id;
        return *control;
    }
};

// Records the identifiers of the child windows created while it lives, in order.
class CChildCreationRecorder {
public:
    CChildCreationRecorder();
    ~CChildCreationRecorder();
    CChildCreationRecorder(const CChildCreationRecorder&) = delete;
    CChildCreationRecorder& operator=(const CChildCreationRecorder&) = delete;
    std::vector<int> ids;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
};
