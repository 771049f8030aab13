// The application object: WinMain's use of InitInstance, string loading, and the
// help search that the Help command runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

class CProbeApp : public CWinApp {
public:
    explicit CProbeApp(BOOL result) : result_(result) {}
    int calls = 0;
    HINSTANCE instanceSeen = nullptr;

    BOOL InitInstance() override {
        ++calls;
        instanceSeen = m_hInstance;
        if (result_) {
            ::PostQuitMessage(42);
        }
        return result_;
    }

private:
    BOOL result_;
};

TEST(AppEntry, WinMainRunsInitInstanceOnceAndEndsWhenItDeclines) {
    CProbeApp app(FALSE);
    ASSERT_EQ(CWinApp::Current(), &app);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    EXPECT_EQ(WinMain(instance, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.calls, 1);
    EXPECT_EQ(app.instanceSeen, instance);
}

TEST(AppEntry, AcceptedStartRunsMessagesUntilQuit) {
    CProbeApp app(TRUE);
    EXPECT_EQ(WinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 42);
    EXPECT_EQ(app.calls, 1);
}

TEST(AppStrings, LoadsTheStringTableAndNothingForUnknownIds) {
    EXPECT_EQ(LoadResString(IDS_TITLE), "Zelk MIRVA PCI Wave Device Settings");
    EXPECT_EQ(LoadResString(IDS_AUTO_SYNC_REFUSAL), "Auto Sync must be disabled to use custom settings.");
    EXPECT_EQ(LoadResString(4321), "");
}

TEST(AppHelp, HelpFileSitsBesideTheProgram) {
    CProbeApp app(FALSE);
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string expected(path, length);
    expected = expected.substr(0, expected.size() - 4) + ".hlp";
    EXPECT_EQ(app.GetHelpFilePath(), expected);
}

// Records the help questions and commands it is asked; answers when told to.
class CHelpProbe : public CWnd {
public:
    CHelpProbe(const char* name, std::vector<std::string>* log, HWND parent, bool answers)
        : name_(name), log_(log), answers_(answers) {
        const RECT rect = {0, 0, 50, 50};
        CreateEx(0, DefaultClassName(), name, parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE,
                 rect, parent, 0);
    }

protected:
    LRESULT OnCommandHelp(WPARAM, LPARAM) {
        log_->push_back(std::string("asked ") + name_);
        return answers_ ? TRUE : FALSE;
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM) {
        log_->push_back(std::string(name_) + " command " + std::to_string(LOWORD(wParam)));
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    const char* name_;
    std::vector<std::string>* log_;
    bool answers_;
};

BEGIN_MESSAGE_MAP(CHelpProbe, CWnd)
    ON_MESSAGE(WM_COMMANDHELP, CHelpProbe::OnCommandHelp)
    ON_MESSAGE(WM_COMMAND, CHelpProbe::OnCommand)
END_MESSAGE_MAP()

TEST(AppHelp, CaptureWindowAndItsParentsAreAskedFirst) {
    std::vector<std::string> log;
    CHelpProbe main("main", &log, nullptr, true);
    CHelpProbe child("child", &log, main.m_hWnd, false);
    CProbeApp app(FALSE);
    app.m_pMainWnd = &main;
    child.SetCapture();
    ::SetFocus(nullptr);
    app.OnHelp();
    ::ReleaseCapture();
    EXPECT_EQ(log, (std::vector<std::string>{"asked child", "asked main"}));
}

TEST(AppHelp, WithoutAnAnswerTheMainWindowGetsTheDefaultHelpCommand) {
    std::vector<std::string> log;
    CHelpProbe main("main", &log, nullptr, false);
    CProbeApp app(FALSE);
    app.m_pMainWnd = &main;
    ::ReleaseCapture();
    ::SetFocus(nullptr);
    app.OnHelp();
    EXPECT_EQ(log, (std::vector<std::string>{"asked main", "main command " + std::to_string(ID_DEFAULT_HELP)}));
}

// An application whose command map gives two commands handlers of its own.
class CCommandApp : public CWinApp {
public:
    static constexpr UINT kProbeCommand = 4321;
    std::vector<std::string> handled;

protected:
    void OnProbe() { handled.push_back("probe"); }
    void OnAppOk() { handled.push_back("ok"); }
    DECLARE_COMMAND_MAP()
};

BEGIN_COMMAND_MAP(CCommandApp, CWinApp)
    ON_COMMAND(CCommandApp::kProbeCommand, CCommandApp::OnProbe)
    ON_COMMAND(IDOK, CCommandApp::OnAppOk)
END_COMMAND_MAP()

// Posts one command to itself once it runs, then Cancel.
class CCommandedDialog : public CDialog {
public:
    explicit CCommandedDialog(UINT command) : CDialog(IDD_ABOUTBOX), command_(command) {}

protected:
    BOOL OnInitDialog() override {
        PostMessage(WM_COMMAND, command_, 0);
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

private:
    UINT command_;
};

// Commands that a dialog does not handle itself go on to the application's map.
TEST(AppCommands, ADialogPassesTheCommandsItDoesNotHandleToTheApplication) {
    struct CommandCase {
        const char* name;
        UINT command;
        std::vector<std::string> handled;
        INT_PTR result;
    };
    const CommandCase cases[] = {
        {"in the application's map", CCommandApp::kProbeCommand, {"probe"}, IDCANCEL},
        {"handled by the dialog first", IDOK, {}, IDOK},
        {"in no map", 4322, {}, IDCANCEL},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        CCommandApp app;
        CCommandedDialog dialog(c.command);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(app.handled, c.handled);
    }
}

}  // namespace
