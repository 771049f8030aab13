// CDialog: the creation handler runs inside the dialog's creation and can fail it,
// the standard ways of ending a dialog, commands routed to overrides, nesting.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

// A dialog that records what it sees and runs an action once it is initialised.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(UINT templateId = IDD_ABOUTBOX, CWnd* parent = nullptr)
        : CDialog(templateId, parent) {}

    std::vector<std::string> events;
    LRESULT createResult = 0;
    std::function<void(CProbeDialog&)> onInit;
    HWND owner = nullptr;
    CWnd child;

protected:
    LRESULT OnCreate(WPARAM, LPARAM) {
        events.push_back("create");
        if (Default() == -1) {
            return -1;
        }
        if (createResult == 0) {
            const RECT rect = {10, 10, 40, 30};
            child.Create("", WS_CHILD | WS_VISIBLE, rect, this, 44);
        }
        return createResult;
    }
    BOOL OnInitDialog() override {
        events.push_back("init");
        owner = ::GetWindow(m_hWnd, GW_OWNER);
        if (onInit) {
            onInit(*this);
        }
        return CDialog::OnInitDialog();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDialog, CDialog)
    ON_MESSAGE(WM_CREATE, CProbeDialog::OnCreate)
END_MESSAGE_MAP()

TEST(DialogCreate, CreationHandlerRunsBeforeInitialisationAndMakesControls) {
    CProbeDialog dialog;
    HWND childSeen = nullptr;
    dialog.onInit = [&](CProbeDialog& d) {
        childSeen = d.child.m_hWnd;
        d.PostMessage(WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"create", "init"}));
    ASSERT_NE(childSeen, nullptr);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.child.m_hWnd, nullptr);  // destroyed with the dialog
}

TEST(DialogCreate, MinusOneFromCreationEndsTheModalRunAtOnce) {
    CProbeDialog dialog;
    dialog.createResult = -1;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"create"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DialogCreate, MissingTemplateFails) {
    CProbeDialog dialog(4321);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(dialog.events.empty());
}

struct EndCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    INT_PTR expected;
};

TEST(DialogEnd, EnterEscapeCloseAndCommandsEndWithOneOrTwo) {
    const EndCase cases[] = {
        {"Enter", WM_KEYDOWN, VK_RETURN, IDOK},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
        {"close box", WM_CLOSE, 0, IDCANCEL},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
        {"IDOK", WM_COMMAND, IDOK, IDOK},
        {"IDCANCEL", WM_COMMAND, IDCANCEL, IDCANCEL},
    };
    for (const EndCase& c : cases) {
        CProbeDialog dialog;
        dialog.onInit = [&](CProbeDialog& d) { d.PostMessage(c.message, c.wParam, 0); };
        EXPECT_EQ(dialog.DoModal(), c.expected) << c.name;
    }
}

// Overrides see the commands that end the dialog.
class COverrideDialog : public CDialog {
public:
    COverrideDialog() : CDialog(IDD_ABOUTBOX) {}
    std::vector<std::string> calls;
    BOOL otherCommandResult = TRUE;

protected:
    BOOL OnInitDialog() override {
        PostMessage(WM_COMMAND, MAKEWPARAM(92, 1), 0);
        PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const BOOL routed = CDialog::OnCommand(wParam, lParam);
        calls.push_back("command " + std::to_string(LOWORD(wParam)) + (routed ? " routed" : ""));
        return routed;
    }
    void OnOK() override {
        calls.push_back("OnOK");
        EndDialog(7);
    }
};

TEST(DialogEnd, CommandsReachOverridesAndOnlyOkAndCancelAreRouted) {
    COverrideDialog dialog;
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"command 92", "OnOK", "command 1 routed"}));
}

class COwnerWindow : public CWnd {
public:
    COwnerWindow() {
        const RECT rect = {0, 0, 100, 100};
        CreateEx(0, DefaultClassName(), "owner", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    }
};

TEST(DialogModal, ParentOwnsTheDialogAndIsDisabledMeanwhile) {
    COwnerWindow owner;
    CProbeDialog dialog(IDD_ABOUTBOX, &owner);
    BOOL ownerEnabled = TRUE;
    dialog.onInit = [&](CProbeDialog& d) {
        ownerEnabled = ::IsWindowEnabled(owner.m_hWnd);
        d.PostMessage(WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.owner, owner.m_hWnd);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
}

// Who owns a dialog run modally: its parent, else the application's main window
// unless that is the dialog itself; the owner is disabled while the dialog runs,
// then enabled and active again.
TEST(DialogModal, WithoutAParentTheApplicationsMainWindowOwnsTheDialog) {
    struct OwnerCase {
        const char* name;
        bool withApp, parentGiven, dialogIsMain;
        bool ownedByMain, ownedByParent;
    };
    const OwnerCase cases[] = {
        {"no parent, main window set", true, false, false, true, false},
        {"a parent given", true, true, false, false, true},
        {"the dialog is the main window", true, false, true, false, false},
        {"no application", false, false, false, false, false},
    };
    for (const OwnerCase& c : cases) {
        SCOPED_TRACE(c.name);
        COwnerWindow main;
        COwnerWindow parent;
        CProbeDialog dialog(IDD_ABOUTBOX, c.parentGiven ? &parent : nullptr);
        std::unique_ptr<CWinApp> app(c.withApp ? new CWinApp : nullptr);
        if (app) app->m_pMainWnd = c.dialogIsMain ? static_cast<CWnd*>(&dialog) : &main;
        ::SetActiveWindow(main.m_hWnd);
        BOOL mainEnabled = TRUE;
        dialog.onInit = [&](CProbeDialog& d) {
            mainEnabled = ::IsWindowEnabled(main.m_hWnd);
            d.PostMessage(WM_COMMAND, IDCANCEL, 0);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        HWND expected = c.ownedByMain ? main.m_hWnd : c.ownedByParent ? parent.m_hWnd : nullptr;
        EXPECT_EQ(dialog.owner, expected);
        EXPECT_EQ(mainEnabled, c.ownedByMain ? FALSE : TRUE);
        EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
        if (c.ownedByMain) {
            EXPECT_EQ(::GetActiveWindow(), main.m_hWnd);
        }
    }
}

TEST(DialogModal, NestedModalDialogsEachSeeTheirOwnCreation) {
    CProbeDialog outer;
    CProbeDialog inner(IDD_DIAGNOSTICS);
    INT_PTR innerResult = 0;
    inner.onInit = [](CProbeDialog& d) { d.PostMessage(WM_COMMAND, IDOK, 0); };
    outer.onInit = [&](CProbeDialog& d) {
        innerResult = inner.DoModal();
        d.PostMessage(WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_EQ(outer.events, (std::vector<std::string>{"create", "init"}));
    EXPECT_EQ(inner.events, (std::vector<std::string>{"create", "init"}));
}

}  // namespace
