// Start-up: one copy only, the no-card message, and the main window on the last card.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/WaveSettingsApp.h"
#include "emulator/InProcessPort.h"

namespace {

constexpr char kTitle[] = "Zelk MIRVA PCI Wave Device Settings";

// Ports made while a test runs: a link that is built opens one.
std::shared_ptr<CVirtualCardDevice> g_card;
int g_portsMade = 0;

std::unique_ptr<DriverPort> CountingPort() {
    ++g_portsMade;
    return std::make_unique<CInProcessPort>(g_card);
}

// Dialog boxes that come up (message boxes among them), each answered at once:
// a message box with OK, the main window with Cancel once it has painted.
struct Shown {
    std::string caption, text;
    HWND owner;
    HICON icon;
    bool cancel;
};
std::vector<Shown> g_shown;
HHOOK g_hook = nullptr;

void CALLBACK CloseMainWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    CWinApp* app = CWinApp::Current();
    ASSERT_NE(app, nullptr);
    ASSERT_NE(app->m_pMainWnd, nullptr);
    ::UpdateWindow(app->m_pMainWnd->m_hWnd);
    ::PostMessageA(app->m_pMainWnd->m_hWnd, WM_COMMAND, IDCANCEL, 0);
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        char caption[256] = {};
        char text[256] = {};
        ::GetClassNameA(window, className, sizeof className);
        ::GetWindowTextA(window, caption, sizeof caption);
        if (std::strcmp(className, "#32770") == 0) {
            ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            HWND cancel = ::GetDlgItem(window, IDCANCEL);
            const auto icon = reinterpret_cast<HICON>(::SendDlgItemMessageA(window, stc1 + 0, STM_GETICON, 0, 0));
            g_shown.push_back({caption, text, ::GetWindow(window, GW_OWNER), icon,
                               cancel != nullptr && ::IsWindowVisible(cancel)});
            if (std::strcmp(caption, kTitle) == 0) {
                ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseMainWindow);
            } else {
                ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_card = InstallInProcessCard();
        SetDriverPortFactory(CountingPort);
        g_portsMade = 0;
        g_shown.clear();
        g_hook = ::SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        ::UnhookWindowsHookEx(g_hook);
        UninstallInProcessCard();
        g_card.reset();
    }
    void OnCore(void (*change)(CVirtualCard&)) {
        g_card->WithCore([&](CVirtualCard& core) {
            change(core);
            return 0;
        });
    }
    std::vector<VcLogEntry> Log() {
        return g_card->WithCore([](CVirtualCard& core) {
            std::vector<VcLogEntry> log;
            for (uint32_t i = 0; i < core.LogSize(); ++i) log.push_back(core.LogEntry(i));
            return log;
        });
    }

    CWaveSettingsApp app;
};

// A running copy: its main window, minimised, and the popup it showed last.
class RunningCopy {
public:
    RunningCopy() {
        main = ::CreateWindowExA(0, "STATIC", kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
        popup = ::CreateWindowExA(0, "STATIC", "Diagnostics", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 200, 100,
                                  main, nullptr, nullptr, nullptr);
        ::SetActiveWindow(popup);
        ::ShowWindow(main, SW_MINIMIZE);
        other = ::CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
    }
    ~RunningCopy() {
        ::DestroyWindow(other);
        ::DestroyWindow(popup);
        ::DestroyWindow(main);
    }
    HWND main, popup, other;
};

uint32_t Word(const VcLogEntry& e, int offset) {
    uint32_t value = 0;
    std::memcpy(&value, e.bytes + offset, sizeof value);
    return value;
}

}  // namespace

TEST_F(StartUpTest, WithoutACardTheMessageSaysSoAndNoWindowOpens) {
    OnCore([](CVirtualCard& core) { core.SetCardCount(0); });
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].text, "No MIRVA PCI Cards were found!");
    EXPECT_EQ(g_shown[0].caption, "MIRVA PCI Wave Settings");
    EXPECT_EQ(g_shown[0].owner, nullptr);
    EXPECT_EQ(g_shown[0].icon, ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION)));
    EXPECT_FALSE(g_shown[0].cancel);
    EXPECT_EQ(g_portsMade, 1);
}

TEST_F(StartUpTest, WithoutTheDriverTheMessageSaysNoCard) {
    g_card->SetPresent(false);
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].text, "No MIRVA PCI Cards were found!");
}

TEST_F(StartUpTest, ASecondCopyBringsTheFirstForwardAndOpensNoLink) {
    RunningCopy running;
    ASSERT_TRUE(::IsIconic(running.main));
    ASSERT_NE(::GetForegroundWindow(), running.popup);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(::IsIconic(running.main));
    EXPECT_EQ(::GetForegroundWindow(), running.popup);
    EXPECT_EQ(g_portsMade, 0);
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(StartUpTest, TheProgramStartedAgainBringsTheFirstForwardAndEnds) {
    RunningCopy running;
    ASSERT_TRUE(::IsIconic(running.main));
    ASSERT_NE(::GetForegroundWindow(), running.popup);
    std::string path = WAVE_SETTINGS_EXE;
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << path;
    // The copy restores our window through this thread's queue: keep it served.
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    bool ended = false;
    while (!ended && ::GetTickCount64() < deadline) {
        ended = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    if (!ended) ::TerminateProcess(process.hProcess, 1);
    EXPECT_TRUE(ended);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(::IsIconic(running.main));
    EXPECT_EQ(::GetForegroundWindow(), running.popup);
}

TEST_F(StartUpTest, WithTwoCardsTheMainWindowWorksOnTheSecond) {
    // Driver indexes 0 and 2 answer: card index 1 is driver index 2.
    OnCore([](CVirtualCard& core) { core.SetAnswerMask(0x5); });
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].caption, kTitle);
    EXPECT_EQ(g_portsMade, 2) << "one link counts the cards, the main window has its own";
    int operations = 0;
    for (const VcLogEntry& e : Log()) {
        if (e.code == 4403 || e.code == 4411 || e.code == 4491) continue;
        ++operations;
        EXPECT_EQ(Word(e, 4), 2u) << e.code;
    }
    EXPECT_EQ(operations, 38);
}
