// The main window as the README shows it, saved as screenshots that docs/ keeps: at
// rest on the demo card with streams running, and with the clock list open. Only
// what the program draws: the frame is the system's, and looks as it is active or not.
#include "controls/SkinDropList.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/Screenshot.h"

namespace {

// Away from the window, so that no readout shows in the pictures.
void ParkPointer() { ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1); }

void RunStreams(VcCard& c) {
    c.playbackState[0] = 3;
    c.recordState[0] = 3;
    c.playbackState[2] = 2;
    c.playbackState[6] = 4;
}

}  // namespace

TEST_F(PanelTest, PictureAtRestShowsTheCardAndNoPopup) {
    OnCard(RunStreams);
    ParkPointer();
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        EXPECT_FALSE(::IsWindowVisible(Control<CSkinDropList>(hwnd, 92).popup.m_hWnd));
        SaveScreenshot(CaptureClient(hwnd), "main_window");
    });
}

TEST_F(PanelTest, PictureWithTheClockListOpenShowsItsFourSourcesBelowTheFace) {
    OnCard(RunStreams);
    ParkPointer();
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND face = ::GetDlgItem(hwnd, 92);
        HWND list = Control<CSkinDropList>(hwnd, 92).popup.m_hWnd;
        Click(face);
        ASSERT_TRUE(::IsWindowVisible(list));
        EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
        RECT faceRect{};
        RECT listRect{};
        RECT both{};
        ::GetWindowRect(face, &faceRect);
        ::GetWindowRect(list, &listRect);
        EXPECT_GE(listRect.top, faceRect.bottom - 1);
        const RECT client = ClientOnScreen(hwnd);
        ::UnionRect(&both, &client, &listRect);
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
        SaveScreenshot(CaptureScreen(both), "clock_list");
        Click(face);
        EXPECT_FALSE(::IsWindowVisible(list));
    });
}
