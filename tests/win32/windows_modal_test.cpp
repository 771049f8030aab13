// The three windows are modal to the main window: while one is open the main window
// is disabled, is answered for by that window, and takes no clicks; when it closes
// the main window is enabled and active again.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "panel/WaveSettingsDialog.h"
#include "tests/win32/support/RealInput.h"
#include "tests/win32/windows_harness.h"
#include "windows/DiagnosticsDialog.h"

namespace {

// The Control Enable switches of the ten channels.
constexpr int kSwitchIds[] = {44, 47, 32, 35, 38, 41, 74, 76, 78, 80};
constexpr UINT kQuietPeriodMs = 60 * 60 * 1000;

POINT CentreOnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// What was seen while the window on top of the main window was open.
struct WhileOpen {
    HWND window = nullptr;
    std::string caption;
    BOOL mainEnabled = TRUE;
    HWND lastActivePopup = nullptr;
    int pressedId = 0;
    bool pressDelivered = false;
    std::vector<uint32_t> pressRequests;
};

struct AuxWindow {
    const char* caption;
    std::function<void(HWND main)> open;
    bool mainReReadsAfter;
};

class ModalTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        // No poll may land among the requests a press is checked for.
        CWaveSettingsDialog::SetLampPeriod(kQuietPeriodMs);
        CDiagnosticsDialog::SetPollDelay(kQuietPeriodMs);
        OnCard([](VcCard& c) { c.settings.autoSync = 0; });
    }
    void TearDown() override {
        CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
        CWaveSettingsDialog::SetLampPeriod(CWaveSettingsDialog::kDefaultLampPeriodMs);
        WindowsTest::TearDown();
    }

    // Inside the window on top of main: a real click on a main window switch that
    // the window does not cover.
    void WhenOnTop(HWND main, HWND top) {
        seen.window = top;
        char caption[64] = {};
        ::GetWindowTextA(top, caption, sizeof caption);
        seen.caption = caption;
        seen.mainEnabled = ::IsWindowEnabled(main);
        seen.lastActivePopup = ::GetLastActivePopup(main);
        RECT covered{};
        ::GetWindowRect(top, &covered);
        POINT target{};
        for (int id : kSwitchIds) {
            target = CentreOnScreen(::GetDlgItem(main, id));
            if (!::PtInRect(&covered, target) && ::GetAncestor(::WindowFromPoint(target), GA_ROOT) == main) {
                seen.pressedId = id;
                break;
            }
        }
        // The top window's own background, beside no control of it.
        POINT marker = {2, 2};
        ::ClientToScreen(top, &marker);
        ASSERT_EQ(::ChildWindowFromPoint(top, POINT{2, 2}), top);
        ASSERT_NE(seen.pressedId, 0) << "the window covers every switch of the main window";
        ClearLog();
        seen.pressDelivered = RealClickThenMarker(target, marker);
        seen.pressRequests = Codes(TakeLog());
    }

    WhileOpen seen;
    HWND mainWindow = nullptr;
    BOOL mainEnabledAfter = FALSE;
    HWND activeAfter = nullptr;
    std::vector<uint32_t> afterClose;

    // Runs the main window as the application's main window, opens one window on
    // top and acts inside it.
    void OpenOnMain(const AuxWindow& aux) {
        CWinApp app;
        CWaveSettingsDialog main;
        app.m_pMainWnd = &main;
        RunModal(main, [&](HWND hwnd) {
            s_test = this;
            s_main = hwnd;
            mainWindow = hwnd;
            const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, FindTop);
            aux.open(hwnd);
            ::KillTimer(nullptr, timer);
            afterClose = Codes(TakeLog());
            mainEnabledAfter = ::IsWindowEnabled(hwnd);
            activeAfter = ::GetActiveWindow();
            s_test = nullptr;
        });
        app.m_pMainWnd = nullptr;
    }

private:
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM) {
        char className[16] = {};
        ::GetClassNameA(hwnd, className, sizeof className);
        if (hwnd == s_main || !::IsWindowVisible(hwnd) || std::string(className) != "#32770") return TRUE;
        s_top = hwnd;
        return FALSE;
    }
    // Runs once, inside the modal loop of the window opened on top.
    static void CALLBACK FindTop(HWND, UINT, UINT_PTR timer, DWORD) {
        s_top = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, 0);
        if (s_top == nullptr || s_test == nullptr) return;
        ::KillTimer(nullptr, timer);
        ::UpdateWindow(s_top);
        s_test->WhenOnTop(s_main, s_top);
        ::PostMessageA(s_top, WM_COMMAND, IDCANCEL, 0);
    }
    static ModalTest* s_test;
    static HWND s_main;
    static HWND s_top;
};
ModalTest* ModalTest::s_test = nullptr;
HWND ModalTest::s_main = nullptr;
HWND ModalTest::s_top = nullptr;

TEST_F(ModalTest, EachWindowKeepsTheMainWindowDisabledUntilItCloses) {
    const AuxWindow windows[] = {
        {"Zelk MIRVA PCI Diagnostics", [](HWND main) { ClickId(main, 95); }, true},
        {"Zelk MIRVA PCI Custom Synchronization", [](HWND main) { ClickId(main, 90); }, false},
        {"About Tessor", [](HWND main) { ::SendMessageA(main, WM_SYSCOMMAND, 16, 0); }, false},
    };
    for (const AuxWindow& aux : windows) {
        SCOPED_TRACE(aux.caption);
        seen = WhileOpen();
        OpenOnMain(aux);
        ASSERT_NE(seen.window, nullptr) << "no window opened";
        EXPECT_EQ(seen.caption, aux.caption);
        EXPECT_FALSE(seen.mainEnabled) << "the main window takes input meanwhile";
        EXPECT_EQ(seen.lastActivePopup, seen.window);
        EXPECT_TRUE(seen.pressDelivered) << "the clicks never came through";
        EXPECT_TRUE(seen.pressRequests.empty())
            << "a click on switch " << seen.pressedId << " sent " << seen.pressRequests.size() << " request(s), first "
            << (seen.pressRequests.empty() ? 0 : seen.pressRequests[0]);
        EXPECT_TRUE(mainEnabledAfter);
        EXPECT_EQ(activeAfter, mainWindow);
        EXPECT_EQ(!afterClose.empty(), aux.mainReReadsAfter) << afterClose.size() << " request(s) after it closed";
    }
}

}  // namespace
