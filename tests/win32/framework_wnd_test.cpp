// CWnd: dispatch through the message maps, default processing, subclassing of
// system classes, the child window's rectangle and double-clicks, and the ties
// between object and window.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/Wnd.h"

namespace {

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kShared = WM_USER + 2;
constexpr UINT kDerivedOnly = WM_USER + 3;
constexpr UINT kNested = WM_USER + 4;
constexpr UINT kUnmapped = WM_USER + 9;

class CBaseProbe : public CWnd {
public:
    BOOL CreatePopup() {
        const RECT rect = {0, 0, 200, 100};
        return CreateEx(0, DefaultClassName(), "probe", WS_POPUP, rect, nullptr, 0);
    }
    int nestedSeen = 0;

protected:
    LRESULT OnFirst(WPARAM wParam, LPARAM) { return 100 + static_cast<LRESULT>(wParam); }
    LRESULT OnShared(WPARAM, LPARAM) { return 200; }
    // Sends another message, then lets the default procedure handle its own.
    LRESULT OnSetText(WPARAM, LPARAM) {
        SendMessage(kNested, 0, 0);
        return Default();
    }
    LRESULT OnNested(WPARAM, LPARAM) {
        ++nestedSeen;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_MESSAGE(kFirst, CBaseProbe::OnFirst)
    ON_MESSAGE(kShared, CBaseProbe::OnShared)
    ON_MESSAGE(WM_SETTEXT, CBaseProbe::OnSetText)
    ON_MESSAGE(kNested, CBaseProbe::OnNested)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
protected:
    LRESULT OnShared(WPARAM, LPARAM) { return 300; }
    LRESULT OnDerivedOnly(WPARAM, LPARAM lParam) { return 400 + lParam; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
    ON_MESSAGE(kShared, CDerivedProbe::OnShared)
    ON_MESSAGE(kDerivedOnly, CDerivedProbe::OnDerivedOnly)
END_MESSAGE_MAP()

TEST(WndMessageMap, DerivedEntriesWinAndBaseEntriesStillReach) {
    CDerivedProbe probe;
    ASSERT_TRUE(probe.CreatePopup());
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT expected;
    };
    const Case cases[] = {
        {kFirst, 5, 0, 105},       // only in the base map
        {kShared, 0, 0, 300},      // in both: the derived handler
        {kDerivedOnly, 0, 7, 407}, // only in the derived map
        {kUnmapped, 0, 0, 0},      // nowhere: DefWindowProc
    };
    for (const Case& c : cases) {
        EXPECT_EQ(probe.SendMessage(c.message, c.wParam, c.lParam), c.expected) << "message " << c.message;
    }
}

TEST(WndMessageMap, BaseObjectUsesItsOwnMap) {
    CBaseProbe probe;
    ASSERT_TRUE(probe.CreatePopup());
    EXPECT_EQ(probe.SendMessage(kShared), 200);
    EXPECT_EQ(probe.SendMessage(kDerivedOnly), 0);
}

TEST(WndDefault, HandlesTheHandlersOwnMessageAfterANestedOne) {
    CBaseProbe probe;
    ASSERT_TRUE(probe.CreatePopup());
    probe.SetWindowText("after nesting");
    EXPECT_EQ(probe.nestedSeen, 1);
    EXPECT_EQ(probe.GetWindowText(), "after nesting");
}

// An edit control driven through the object: the map sees its messages first,
// and Default() reaches the edit control's own procedure.
class CEditProbe : public CWnd {
public:
    std::vector<WPARAM> chars;

protected:
    LRESULT OnChar(WPARAM wParam, LPARAM) {
        chars.push_back(wParam);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEditProbe, CWnd)
    ON_MESSAGE(WM_CHAR, CEditProbe::OnChar)
END_MESSAGE_MAP()

TEST(WndSubclass, SystemClassKeepsItsBehaviourAndItsUserData) {
    CEditProbe edit;
    const RECT rect = {0, 0, 200, 30};
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_POPUP, rect, nullptr, 0));
    EXPECT_EQ(CWnd::FromHandle(edit.m_hWnd), &edit);
    EXPECT_EQ(::GetWindowLongPtrA(edit.m_hWnd, GWLP_USERDATA), 0);
    edit.SendMessage(WM_CHAR, 'h', 1);
    edit.SendMessage(WM_CHAR, 'i', 1);
    EXPECT_EQ(edit.chars, (std::vector<WPARAM>{'h', 'i'}));
    EXPECT_EQ(edit.GetWindowText(), "hi");
}

TEST(WndSubclass, DestroyingTheWindowDetachesTheObject) {
    CEditProbe edit;
    const RECT rect = {0, 0, 200, 30};
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_POPUP, rect, nullptr, 0));
    HWND hwnd = edit.m_hWnd;
    ASSERT_TRUE(::DestroyWindow(hwnd));
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST(WndLifetime, DestructorDestroysALiveWindow) {
    HWND hwnd = nullptr;
    {
        CBaseProbe probe;
        ASSERT_TRUE(probe.CreatePopup());
        hwnd = probe.m_hWnd;
        ASSERT_TRUE(::IsWindow(hwnd));
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

class CNcDestroyProbe : public CWnd {
public:
    int postNcDestroyCalls = 0;

protected:
    void PostNcDestroy() override { ++postNcDestroyCalls; }
};

TEST(WndLifetime, NcDestroyDetachesOnceAndNotifies) {
    CNcDestroyProbe probe;
    const RECT rect = {0, 0, 10, 10};
    ASSERT_TRUE(probe.CreateEx(0, CWnd::DefaultClassName(), "", WS_POPUP, rect, nullptr, 0));
    EXPECT_FALSE(probe.CreateEx(0, CWnd::DefaultClassName(), "", WS_POPUP, rect, nullptr, 0));
    HWND hwnd = probe.m_hWnd;
    ASSERT_TRUE(probe.DestroyWindow());
    EXPECT_EQ(probe.postNcDestroyCalls, 1);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

// Objects are found from any thread of the process, and a window's object leaves
// with it whichever thread ends it.
TEST(WndLifetime, WindowOfAnotherThreadIsFoundUntilItIsDestroyed) {
    using Event = std::unique_ptr<void, decltype(&::CloseHandle)>;
    const Event created(::CreateEventA(nullptr, TRUE, FALSE, nullptr), &::CloseHandle);
    const Event finish(::CreateEventA(nullptr, TRUE, FALSE, nullptr), &::CloseHandle);
    HWND hwnd = nullptr;
    CBaseProbe* object = nullptr;
    std::thread owner([&] {
        CBaseProbe probe;
        if (probe.CreatePopup()) {
            hwnd = probe.m_hWnd;
            object = &probe;
        }
        ::SetEvent(created.get());
        ::WaitForSingleObject(finish.get(), INFINITE);
    });
    ::WaitForSingleObject(created.get(), INFINITE);
    EXPECT_NE(hwnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), object);
    ::SetEvent(finish.get());
    owner.join();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

// A visible child that counts the clicks the system delivers to it.
class CClickProbe : public CWnd {
public:
    int downs = 0;
    int doubleClicks = 0;

protected:
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        ++downs;
        return 0;
    }
    LRESULT OnLButtonDblClk(WPARAM, LPARAM) {
        ++doubleClicks;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickProbe, CWnd)
    ON_MESSAGE(WM_LBUTTONDOWN, CClickProbe::OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, CClickProbe::OnLButtonDblClk)
END_MESSAGE_MAP()

class CVisibleParent : public CWnd {
public:
    CVisibleParent() {
        const RECT rect = {0, 0, 400, 200};
        CreateEx(0, DefaultClassName(), "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    }
};

RECT RectInParent(HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(WndCreate, ChildHasExactlyTheRequestedRectangleAndIdentifier) {
    CVisibleParent parent;
    CClickProbe child;
    // A 65 x 23 picture at (250, 60) gets the window 250..313 x 60..81.
    const RECT requested = {250, 60, 314, 82};
    ASSERT_TRUE(child.Create("", WS_CHILD | WS_VISIBLE, requested, &parent, 62));
    const RECT actual = RectInParent(child.m_hWnd);
    EXPECT_EQ(actual.left, 250);
    EXPECT_EQ(actual.top, 60);
    EXPECT_EQ(actual.right, 314);
    EXPECT_EQ(actual.bottom, 82);
    EXPECT_EQ(child.GetDlgCtrlID(), 62);
    EXPECT_EQ(child.GetParentHwnd(), parent.m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(child.m_hWnd));
    EXPECT_EQ(::GetWindowLongPtrA(child.m_hWnd, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_TABSTOP),
              WS_CHILD | WS_VISIBLE);
}

// Delivers queued input until done() holds, waiting for it at most about five seconds.
void PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 50 && !done(); ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

TEST(WndCreate, ChildReceivesDoubleClicksFromRealInput) {
    CVisibleParent parent;
    CClickProbe child;
    const RECT rect = {20, 20, 120, 80};
    ASSERT_TRUE(child.Create("", WS_CHILD | WS_VISIBLE, rect, &parent, 7));
    POINT centre = {50, 30};
    child.ClientToScreen(&centre);
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y));
    INPUT clicks[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = flags[i];
    }
    ASSERT_EQ(::SendInput(4, clicks, sizeof(INPUT)), 4u);
    PumpUntil([&] { return child.doubleClicks > 0; });
    EXPECT_EQ(child.downs, 1);
    EXPECT_EQ(child.doubleClicks, 1);
}

}  // namespace
