#pragma once
// Test support for the auxiliary windows: the in-process virtual card, its request
// log and the thread of every request, the main window's device object, and the
// children of a dialog; modal runs, pumps, mouse messages, pixels and screenshots
// come from the shared support.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "device/CardControl.h"
#include "tests/win32/support/Capture.h"
#include "tests/win32/support/InProcessCardTest.h"
#include "tests/win32/support/MessagePump.h"
#include "tests/win32/support/ModalRun.h"
#include "tests/win32/support/Mouse.h"
#include "tests/win32/support/Screenshot.h"
#include "tests/win32/support/SkinPixels.h"

class WindowsTest : public InProcessCardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Threads on which requests reached the driver port, since the last call.
    std::vector<DWORD> TakeRequestThreads();
    // Called on every request that reaches the driver port, before the card answers.
    void WatchRequests(std::function<void(const LoggedRequest& request)> watch);

    std::unique_ptr<CCardControl> device;  // the main window's device object
    static constexpr int32_t kCard = 0;

public:
    // The child windows, in the order of their top edge, then left edge.
    static std::vector<HWND> ChildrenByPosition(HWND dialog);
    // A child's window rectangle in the dialog's client coordinates.
    static RECT ChildRect(HWND dialog, HWND child);
};

// The diagnostics window without timer ticks, so that its fields change on repaints
// only, and with the process-wide DMA error count back at 0.
class QuietDiagnosticsTest : public WindowsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    INT_PTR RunDiagnostics(const std::function<void(HWND)>& body);
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
