// Start-up: one copy only, the no-card message, the main window on the last card,
// and the application's Help command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/WaveSettingsApp.h"
#include "emulator/InProcessPort.h"
#include "tests/win32/support/MessagePump.h"
#include "tests/win32/support/ModalRun.h"
#include "tests/win32/support/Mouse.h"

namespace {

constexpr char kTitle[] = "Zelk MIRVA PCI Wave Device Settings";

// Ports made while a test runs: a link that is built opens one.
std::shared_ptr<CVirtualCardDevice> g_card;
int g_portsMade = 0;

std::unique_ptr<DriverPort> CountingPort() {
    ++g_portsMade;
    return std::make_unique<CInProcessPort>(g_card);
}

// Dialog boxes that come up (message boxes among them): a message box is answered
// with OK at once, the main window with Cancel once it has painted and the test's
// steps in it have run.
struct Shown {
    std::string caption, text;
    HWND owner;
    HICON icon;
    bool cancel;
};
std::vector<Shown> g_shown;
HHOOK g_hook = nullptr;
HWND g_mainShown = nullptr;
std::function<void(HWND main)> g_inMainWindow;

void CALLBACK CloseMainWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    CWinApp* app = CWinApp::Current();
    ASSERT_NE(app, nullptr);
    ASSERT_NE(app->m_pMainWnd, nullptr);
    HWND main = app->m_pMainWnd->m_hWnd;
    ::UpdateWindow(main);
    if (g_inMainWindow) g_inMainWindow(main);
    ::PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        char caption[256] = {};
        char text[256] = {};
        ::GetClassNameA(window, className, sizeof className);
        ::GetWindowTextA(window, caption, sizeof caption);
        // The main window comes back to the front when a window on top of it closes.
        if (std::strcmp(className, "#32770") == 0 && window != g_mainShown) {
            ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            HWND cancel = ::GetDlgItem(window, IDCANCEL);
            const auto icon = reinterpret_cast<HICON>(::SendDlgItemMessageA(window, stc1 + 0, STM_GETICON, 0, 0));
            g_shown.push_back({caption, text, ::GetWindow(window, GW_OWNER), icon,
                               cancel != nullptr && ::IsWindowVisible(cancel)});
            if (std::strcmp(caption, kTitle) == 0) {
                g_mainShown = window;
                ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseMainWindow);
            } else if (CWnd::FromHandle(window) == nullptr) {
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
        g_mainShown = nullptr;
        g_inMainWindow = nullptr;
        g_hook = ::SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        g_inMainWindow = nullptr;
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

constexpr char kDiagnosticsTitle[] = "Zelk MIRVA PCI Diagnostics";

struct SecondCopy {
    bool ended = false;
    DWORD exitCode = 1;
};

// Starts the real program once more; false when it cannot be started.
bool StartProgram(PROCESS_INFORMATION& process) {
    std::string path = WAVE_SETTINGS_EXE;
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (::CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return true;
    }
    ADD_FAILURE() << "cannot start " << path;
    return false;
}

// Starts the real program once more and waits for it to end.
SecondCopy StartSecondCopy() {
    SecondCopy copy;
    PROCESS_INFORMATION process{};
    if (!StartProgram(process)) return copy;
    // The copy restores our window through this thread's queue: keep it served.
    copy.ended = PumpUntilEnded(process.hProcess, 60000);
    if (!copy.ended) ::TerminateProcess(process.hProcess, 1);
    ::GetExitCodeProcess(process.hProcess, &copy.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return copy;
}

// Steps taken while the main window is in WM_DESTROY: hidden but alive, and this copy
// still holding its lock, as a copy closing under a slow driver stays for seconds.
std::function<void(HWND main)> g_whileClosing;
HHOOK g_closingHook = nullptr;

LRESULT CALLBACK WatchClosing(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_DESTROY && sent->hwnd == g_mainShown && g_whileClosing) {
        const auto steps = std::move(g_whileClosing);
        g_whileClosing = nullptr;
        steps(sent->hwnd);
    }
    return ::CallNextHookEx(g_closingHook, code, wParam, lParam);
}

// The top-level windows titled as the main window that a user sees.
std::vector<HWND> VisiblePanels() {
    std::vector<HWND> panels;
    for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, kTitle); w != nullptr;
         w = ::FindWindowExA(nullptr, w, nullptr, kTitle)) {
        if (::IsWindowVisible(w)) panels.push_back(w);
    }
    return panels;
}

// Windows asked by the help search, in order.
std::vector<HWND> g_askedForHelp;
HHOOK g_helpHook = nullptr;

LRESULT CALLBACK WatchHelpQuestions(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_COMMANDHELP) g_askedForHelp.push_back(sent->hwnd);
    return ::CallNextHookEx(g_helpHook, code, wParam, lParam);
}

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

// The first copy runs here on the in-process card and shows its diagnostics window
// over its minimised main window; another program is in front. The second copy is
// the real program.
TEST_F(StartUpTest, TheProgramStartedAgainWhileDiagnosticsIsOpenBringsDiagnosticsForward) {
    HWND main = nullptr, diagnostics = nullptr, foreground = nullptr;
    bool minimised = false, minimisedAfter = true;
    SecondCopy second;
    g_inMainWindow = [&](HWND hwnd) {
        main = hwnd;
        RunInWindowOpenedBy(kDiagnosticsTitle, [&] { ClickId(main, 95); }, [&](HWND diag) {
            diagnostics = diag;
            ::ShowWindow(main, SW_MINIMIZE);
            minimised = ::IsIconic(main) != FALSE;
            HWND other = ::CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10,
                                           200, 100, nullptr, nullptr, nullptr, nullptr);
            ::SetForegroundWindow(other);
            ASSERT_EQ(::GetForegroundWindow(), other);
            second = StartSecondCopy();
            minimisedAfter = ::IsIconic(main) != FALSE;
            foreground = ::GetForegroundWindow();
            ::DestroyWindow(other);
        });
    };
    EXPECT_FALSE(app.InitInstance());
    ASSERT_NE(diagnostics, nullptr) << "Diagnostics... opened no window";
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(second.ended);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_FALSE(minimisedAfter) << "the main window was not restored";
    EXPECT_EQ(foreground, diagnostics) << "main window " << main;
}

// The first copy runs here on the in-process card and closes; the second copy, the
// real program on the prefix's driver, is started meanwhile. It must not take the
// hidden window for a running copy and end: once the first copy has gone, its own
// panel is the one left open.
TEST_F(StartUpTest, TheProgramStartedWhileTheFirstCopyClosesOpensTheOnePanelLeft) {
    PROCESS_INFORMATION second{};
    bool started = false, hidden = false;
    DWORD exitWhileClosing = 0;
    g_inMainWindow = [](HWND) {
        g_closingHook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchClosing, nullptr, ::GetCurrentThreadId());
    };
    g_whileClosing = [&](HWND main) {
        hidden = !::IsWindowVisible(main);
        started = StartProgram(second);
        if (!started) return;
        // Input idle: it has looked for a running copy and waits for this one, or it ended.
        ::WaitForInputIdle(second.hProcess, 60000);
        ::GetExitCodeProcess(second.hProcess, &exitWhileClosing);
    };
    EXPECT_FALSE(app.InitInstance());
    ::UnhookWindowsHookEx(g_closingHook);
    g_whileClosing = nullptr;
    ASSERT_TRUE(started);
    EXPECT_TRUE(hidden) << "the main window was still shown while it closed";
    EXPECT_EQ(exitWhileClosing, STILL_ACTIVE) << "the second copy ended while the first one closed";

    std::vector<HWND> panels;
    PumpLookingUntil(
        [&] { return !(panels = VisiblePanels()).empty() || ::WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; },
        60000);
    EXPECT_EQ(panels.size(), 1u);
    for (HWND panel : panels) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(panel, &owner);
        EXPECT_EQ(owner, second.dwProcessId);
        ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0);
    }
    if (::WaitForSingleObject(second.hProcess, 60000) != WAIT_OBJECT_0) ::TerminateProcess(second.hProcess, 1);
    ::CloseHandle(second.hThread);
    ::CloseHandle(second.hProcess);
}

// The framework's Help command sent to the main window runs the application's help
// search, which asks the main window (it answers with its help context).
TEST_F(StartUpTest, TheHelpCommandRunsTheHelpSearch) {
    HWND main = nullptr;
    g_askedForHelp.clear();
    g_inMainWindow = [&](HWND hwnd) {
        main = hwnd;
        g_helpHook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchHelpQuestions, nullptr, ::GetCurrentThreadId());
        ::SendMessageA(main, WM_COMMAND, ID_HELP, 0);
        ::UnhookWindowsHookEx(g_helpHook);
    };
    EXPECT_FALSE(app.InitInstance());
    ASSERT_NE(main, nullptr);
    EXPECT_NE(std::find(g_askedForHelp.begin(), g_askedForHelp.end(), main), g_askedForHelp.end())
        << g_askedForHelp.size() << " window(s) asked";
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
