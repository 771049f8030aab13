// The main window opens the three windows: Diagnostics... (and re-reads the card when
// it closes), Custom... while Auto Sync is off (only the refusal while it is on), and
// the About entry of the system menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panel/WaveSettingsDialog.h"
#include "tests/win32/windows_harness.h"

namespace {

// What the window opened on top of the main window was.
struct Opened {
    std::string caption;
    bool diagnostics = false;  // has Reset Card (98)
    bool customSync = false;   // has the ADAT 3-4 record switch (36)
    bool about = false;        // has the about box's OK (63)
};

// Once a dialog other than the main window shows, notes what it is and cancels it.
class CNestedCloser {
public:
    explicit CNestedCloser(HWND main) : main_(main) {
        s_closer = this;
        timer_ = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Check);
    }
    ~CNestedCloser() {
        ::KillTimer(nullptr, timer_);
        s_closer = nullptr;
    }
    std::vector<Opened> opened;

private:
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM) {
        char className[16] = {};
        ::GetClassNameA(hwnd, className, sizeof className);
        if (hwnd == s_closer->main_ || !::IsWindowVisible(hwnd) || std::string(className) != "#32770") return TRUE;
        Opened o;
        char caption[64] = {};
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        o.caption = caption;
        o.diagnostics = ::GetDlgItem(hwnd, 98) != nullptr;
        o.customSync = ::GetDlgItem(hwnd, 36) != nullptr;
        o.about = ::GetDlgItem(hwnd, 63) != nullptr;
        s_closer->opened.push_back(o);
        ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return FALSE;
    }
    static void CALLBACK Check(HWND, UINT, UINT_PTR, DWORD) {
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, 0);
    }
    static CNestedCloser* s_closer;
    HWND main_;
    UINT_PTR timer_;
};
CNestedCloser* CNestedCloser::s_closer = nullptr;

class OpeningTest : public WindowsTest {
protected:
    // Runs the main window on the card and acts in it; returns what opened on top.
    std::vector<Opened> InMainWindow(const std::function<void(HWND)>& act) {
        std::vector<Opened> opened;
        CWaveSettingsDialog main;
        RunModal(main, [&](HWND hwnd) {
            ClearLog();
            CNestedCloser closer(hwnd);
            act(hwnd);
            opened = closer.opened;
        });
        return opened;
    }

    static size_t LastIndexOf(const std::vector<LoggedRequest>& log, uint32_t code) {
        for (size_t i = log.size(); i-- > 0;) {
            if (log[i].code == code) return i;
        }
        return log.size();
    }
};

TEST_F(OpeningTest, DiagnosticsOpensAndTheMainWindowReReadsAfterItCloses) {
    std::vector<LoggedRequest> log;
    const std::vector<Opened> opened = InMainWindow([&](HWND hwnd) {
        ClickId(hwnd, 95);
        log = TakeLog();
    });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].diagnostics);
    EXPECT_EQ(opened[0].caption, "Zelk MIRVA PCI Diagnostics");
    const size_t lastDiagnosticsRead = LastIndexOf(log, kReadRegister);
    ASSERT_LT(lastDiagnosticsRead, log.size()) << "the diagnostics window read the card";
    const std::vector<uint32_t> after = Codes(std::vector<LoggedRequest>(log.begin() + lastDiagnosticsRead, log.end()));
    EXPECT_NE(std::find(after.begin(), after.end(), 4490u), after.end()) << "Auto Sync re-read afterwards";
    EXPECT_NE(std::find(after.begin(), after.end(), 4440u), after.end()) << "clock mode re-read afterwards";
}

TEST_F(OpeningTest, CustomOpensTheSynchronizationWindowWhileAutoSyncIsOff) {
    OnCard([](VcCard& c) { c.settings.autoSync = 0; });
    std::vector<uint32_t> codes;
    const std::vector<Opened> opened = InMainWindow([&](HWND hwnd) {
        ClickId(hwnd, 90);
        codes = Codes(TakeLog());
    });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].customSync);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kGetStreamSync), 16) << "one repaint's reads";
}

TEST_F(OpeningTest, CustomWithAutoSyncOnShowsOnlyTheRefusal) {
    std::vector<uint32_t> codes;
    const std::vector<Opened> opened = InMainWindow([&](HWND hwnd) {
        ClickId(hwnd, 90);
        codes = Codes(TakeLog());
    });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_FALSE(opened[0].customSync);
    EXPECT_EQ(opened[0].caption, "Zelk MIRVA PCI Custom Synchronization");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kGetStreamSync), 0);
}

TEST_F(OpeningTest, TheSystemMenusAboutEntryOpensTheAboutBox) {
    const std::vector<Opened> opened = InMainWindow([](HWND hwnd) { ::SendMessageA(hwnd, WM_SYSCOMMAND, 16, 0); });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].about);
    EXPECT_EQ(opened[0].caption, "About Tessor");
}

}  // namespace
