// The clock selector: faces 190 (resting) and 189 (held), 80 x 18, four items.
#include <gtest/gtest.h>

#include <vector>

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinDialogBaseUnits.h"
#include "controls/SkinDropList.h"
#include "resources/resource.h"
#include "tests/win32/controls_input_support.h"
#include "tests/win32/support/DropListFace.h"

namespace {

constexpr UINT kId = 92;
const char* const kClocks[] = {"Internal Clock", "ADAT Clock", "S/PDIF Clock", "Word Clock"};
const POINT kFace{10, 8};

class DropListTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreatePanelFonts();
        ASSERT_TRUE(list.Create(POINT{20, 30}, &parent, kId, IDB_DROP, IDB_DROP_DOWN, 4));
        for (const char* clock : kClocks) list.AddString(clock);
        PumpMessagesDroppingMouse();
    }
    void TearDown() override { ::ReleaseCapture(); }

    HWND Popup() const { return list.popup.m_hWnd; }
    bool Open() const { return ::IsWindowVisible(Popup()) != FALSE; }
    bool Holding() const { return ::GetCapture() == list.m_hWnd; }
    int ItemHeight() const { return static_cast<int>(::SendMessageA(Popup(), LB_GETITEMHEIGHT, 0, 0)); }

    // A point in the control's client area that lies over item index of the open list.
    POINT OverItem(int index) const {
        POINT point{10, index * ItemHeight() + ItemHeight() / 2};
        ::MapWindowPoints(Popup(), list.m_hWnd, &point, 1);
        return point;
    }
    // A point beside the open list, outside it and outside the face.
    POINT BesideList() const {
        RECT client{};
        ::GetClientRect(Popup(), &client);
        POINT point{client.right + 40, client.bottom / 2};
        ::MapWindowPoints(Popup(), list.m_hWnd, &point, 1);
        return point;
    }

    // Each mouse event is followed by whatever it posted, as the message loop would.
    void Down(POINT p) { Press(list, p.x, p.y); PumpMessagesDroppingMouse(); }
    void Up(POINT p) { Release(list, p.x, p.y); PumpMessagesDroppingMouse(); }
    void Over(POINT p) { Move(list, p.x, p.y); PumpMessagesDroppingMouse(); }
    void Click(POINT p) { Down(p); Up(p); }

    std::vector<std::pair<WPARAM, LPARAM>> Changes() const {
        return {{MAKEWPARAM(kId, 1), reinterpret_cast<LPARAM>(list.m_hWnd)}};
    }
    Pixels Face() const { return CaptureClient(list.m_hWnd); }

    CCommandParent parent;
    CSkinDropList list;
};

}  // namespace

TEST(DropListFresh, ThreeItemsGiveTheRangeButNoValueAndAnEmptyFace) {
    CreatePanelFonts();
    CCommandParent parent;
    CSkinDropList list;
    ASSERT_TRUE(list.Create(POINT{20, 30}, &parent, kId, IDB_DROP, IDB_DROP_DOWN, 2));
    EXPECT_EQ(list.GetValue(), -1);
    EXPECT_EQ(list.GetMin(), -1);
    for (int i = 0; i < 3; ++i) list.AddString(kClocks[i]);
    EXPECT_EQ(list.GetMin(), 0);
    EXPECT_EQ(list.GetMax(), 2);
    EXPECT_EQ(list.GetValue(), -1);
    EXPECT_EQ(list.GetWindowText(), "");
    EXPECT_EQ(CaptureClient(list.m_hWnd), DropListFace(IDB_DROP, nullptr, false));
    PumpMessagesDroppingMouse();
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(DropListTest, SetValueClampsShowsTheItemAndPostsNothing) {
    list.SetValue(7);
    PumpMessagesDroppingMouse();
    EXPECT_EQ(list.GetValue(), 3);
    EXPECT_EQ(list.popup.GetCurSel(), 3);
    EXPECT_EQ(list.GetWindowText(), "Word Clock");
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "Word Clock", false));
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(DropListTest, ShowItemShowsAnItemWithoutTouchingTheValue) {
    list.SetValue(1);
    EXPECT_EQ(list.ShowItem(2), 2);
    EXPECT_EQ(list.GetValue(), 1);
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "S/PDIF Clock", false));
    EXPECT_EQ(list.ShowItem(9), -1);
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, nullptr, false));
}

TEST_F(DropListTest, SetValueChangedReportsAChangeAsItsBaseDoesAndPostsIt) {
    struct Case {
        int start, given;
        int changed;
        const char* shown;
    };
    const Case cases[] = {
        {2, 0, 1, "Internal Clock"},  // item 0: a change all the same
        {0, 3, 1, "Word Clock"},
        {1, 1, 0, "ADAT Clock"},
        {3, 9, 0, "Word Clock"},      // clamps to the value it had
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " to " << c.given);
        list.SetValue(c.start);
        PumpMessagesDroppingMouse();
        parent.commands.clear();
        EXPECT_EQ(list.SetValueChanged(c.given), c.changed);
        PumpMessagesDroppingMouse();
        EXPECT_EQ(parent.commands, c.changed ? Changes() : decltype(Changes()){});
        EXPECT_EQ(Face(), DropListFace(IDB_DROP, c.shown, false));
    }
}

TEST_F(DropListTest, APlainClickOpensTheListBelowTheFaceAndKeepsIt) {
    Click(kFace);
    EXPECT_TRUE(Open());
    EXPECT_TRUE(Holding());
    EXPECT_TRUE(parent.commands.empty());

    // The face is (20, 30)-(99, 47) on the screen; the list hangs 2 pixels below it,
    // one pixel wider on each side, and fits its four items and its border.
    const int height = 4 * ItemHeight() + 2;
    RECT placed{};
    ::GetWindowRect(Popup(), &placed);
    EXPECT_EQ(placed.left, 19);
    EXPECT_EQ(placed.top, 49);
    EXPECT_EQ(placed.right, 101);
    EXPECT_EQ(placed.bottom, 49 + height);
}

TEST_F(DropListTest, WithoutRoomBelowTheListOpensAbove) {
    const int screen = ::GetSystemMetrics(SM_CYFULLSCREEN);
    ::SetWindowPos(parent.m_hWnd, nullptr, 0, screen - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Click(kFace);
    RECT placed{};
    ::GetWindowRect(Popup(), &placed);
    EXPECT_EQ(placed.top, screen - 20 - 2 - (4 * ItemHeight() + 2));
    EXPECT_EQ(placed.bottom, screen - 20 - 2);
}

TEST_F(DropListTest, ClickHoverClickCommitsAndPostsOnlyAChange) {
    struct Case {
        int start;
        bool posts;
    };
    for (const Case& c : {Case{0, true}, Case{1, false}}) {
        SCOPED_TRACE(c.start);
        list.SetValue(c.start);
        parent.commands.clear();
        Click(kFace);
        Over(OverItem(1));
        Click(OverItem(1));
        EXPECT_EQ(list.GetValue(), 1);
        EXPECT_EQ(parent.commands, c.posts ? Changes() : decltype(Changes()){});
        EXPECT_FALSE(Open());
        EXPECT_FALSE(Holding());
        EXPECT_EQ(Face(), DropListFace(IDB_DROP, "ADAT Clock", false));
    }
}

TEST_F(DropListTest, ClickingAgainWithoutHoveringCancelsAndRestoresTheHighlight) {
    list.SetValue(2);
    list.ShowItem(0);
    Click(kFace);
    Over(kFace);
    Click(kFace);
    EXPECT_EQ(list.GetValue(), 2);
    EXPECT_EQ(list.popup.GetCurSel(), 2);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Holding());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "S/PDIF Clock", false));
}

TEST_F(DropListTest, PressOutsideAfterHoveringChoosesNothing) {
    list.SetValue(0);
    Click(kFace);
    Over(OverItem(3));
    Over(BesideList());
    Click(BesideList());
    EXPECT_EQ(list.GetValue(), 0);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Holding());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "Internal Clock", false));
}

TEST_F(DropListTest, ReleaseAwayFromTheItemsAfterADragKeepsTheListOpen) {
    list.SetValue(2);
    Down(kFace);
    Over(OverItem(1));
    Over(BesideList());
    Up(BesideList());
    EXPECT_TRUE(Open());
    EXPECT_TRUE(Holding());
    Click(BesideList());
    EXPECT_FALSE(Open());
    EXPECT_EQ(list.GetValue(), 2);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "S/PDIF Clock", false));
}

// The keys of an open list, as the dialog manager hands them to the focus.
TEST_F(DropListTest, KeysMoveTheHighlightEnterChoosesEscapeCancels) {
    struct Case {
        const char* name;
        int hover;  // item the pointer passes over first, -1 for none
        std::vector<WPARAM> keys;
        int chosen;
    };
    const Case cases[] = {
        {"Escape", -1, {VK_ESCAPE}, 2},
        {"Escape after hovering", 0, {VK_ESCAPE}, 2},
        {"Enter on the value", -1, {VK_RETURN}, 2},
        {"Enter after hovering", 0, {VK_RETURN}, 0},
        {"down and Enter", -1, {VK_DOWN, VK_RETURN}, 3},
        {"past the last item", -1, {VK_DOWN, VK_DOWN, VK_RETURN}, 3},
        {"past the first item", 1, {VK_UP, VK_UP, VK_RETURN}, 0},
        {"down, then Escape", -1, {VK_DOWN, VK_ESCAPE}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.SetValue(2);
        parent.commands.clear();
        Click(kFace);
        EXPECT_EQ(::GetFocus(), list.m_hWnd);
        if (c.hover != -1) Over(OverItem(c.hover));
        for (WPARAM key : c.keys) {
            EXPECT_TRUE(Open());
            list.SendMessage(WM_KEYDOWN, key, 1);
            PumpMessagesDroppingMouse();
        }
        EXPECT_FALSE(Open());
        EXPECT_FALSE(Holding());
        EXPECT_EQ(list.GetValue(), c.chosen);
        EXPECT_EQ(parent.commands, c.chosen != 2 ? Changes() : decltype(Changes()){});
        EXPECT_EQ(Face(), DropListFace(IDB_DROP, kClocks[c.chosen], false));
    }
}

TEST_F(DropListTest, PressDragAndReleaseOnAnItemCommitsItInOneGesture) {
    list.SetValue(2);
    Down(kFace);
    EXPECT_EQ(Face(), DropListFace(IDB_DROP_DOWN, "S/PDIF Clock", true));
    Over(OverItem(1));
    Over(OverItem(0));
    Up(OverItem(0));
    EXPECT_EQ(list.GetValue(), 0);
    EXPECT_EQ(parent.commands, Changes());
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Holding());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "Internal Clock", false));
}

TEST_F(DropListTest, ChoosingTheCurrentValueAfterShowItemPostsNothing) {
    list.SetValue(1);
    list.ShowItem(3);
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "Word Clock", false));
    Click(kFace);
    Over(OverItem(1));
    Click(OverItem(1));
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "ADAT Clock", false));
}

TEST_F(DropListTest, LosingTheMouseOrTheFocusClosesWithoutCommitting) {
    struct Case {
        const char* name;
        void (*take)(HWND list, HWND parent);
    };
    const Case cases[] = {
        {"capture taken", [](HWND, HWND parent) { ::SetCapture(parent); }},
        {"mode cancelled", [](HWND list, HWND) { ::SendMessageA(list, WM_CANCELMODE, 0, 0); }},
        {"focus taken", [](HWND, HWND parent) { ::SetFocus(parent); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.SetValue(0);
        Click(kFace);
        Over(OverItem(2));
        c.take(list.m_hWnd, parent.m_hWnd);
        PumpMessagesDroppingMouse();
        EXPECT_FALSE(Open());
        EXPECT_EQ(list.GetValue(), 0);
        EXPECT_TRUE(parent.commands.empty());
        // The face goes back to the value rather than the item passed over.
        EXPECT_EQ(list.popup.GetCurSel(), 0);
        EXPECT_EQ(Face(), DropListFace(IDB_DROP, "Internal Clock", false));

        // Closed: moves, releases and keys no longer reach the list.
        ::ReleaseCapture();
        Over(OverItem(1));
        Up(OverItem(1));
        list.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
        PumpMessagesDroppingMouse();
        EXPECT_EQ(list.GetValue(), 0);
        EXPECT_TRUE(parent.commands.empty());
    }
}

TEST_F(DropListTest, CaptureTakenDuringTheOpeningPressLetsTheFaceGo) {
    list.SetValue(1);
    Down(kFace);
    ::SetCapture(parent.m_hWnd);
    PumpMessagesDroppingMouse();
    EXPECT_FALSE(Open());
    EXPECT_EQ(Face(), DropListFace(IDB_DROP, "ADAT Clock", false));
}

// The list's window is made when the list first opens, and goes with the control.
TEST_F(DropListTest, ThePopupWindowComesWithTheFirstOpeningAndGoesWithTheControl) {
    HWND popup = nullptr;
    {
        CSkinDropList other;
        ASSERT_TRUE(other.Create(POINT{120, 30}, &parent, kId + 1, IDB_DROP, IDB_DROP_DOWN, 2));
        other.AddString(kClocks[0]);
        other.AddString(kClocks[1]);
        other.SetValue(1);
        EXPECT_EQ(other.popup.m_hWnd, nullptr);
        EXPECT_EQ(CaptureClient(other.m_hWnd), DropListFace(IDB_DROP, kClocks[1], false));
        Press(other, kFace.x, kFace.y);
        Release(other, kFace.x, kFace.y);
        PumpMessagesDroppingMouse();
        popup = other.popup.m_hWnd;
        ASSERT_TRUE(::IsWindowVisible(popup));
        EXPECT_EQ(::SendMessageA(popup, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(::SendMessageA(popup, LB_GETCURSEL, 0, 0), 1);
        ::ReleaseCapture();
    }
    EXPECT_FALSE(::IsWindow(popup));
}

TEST(DropListCreate, AMissingFaceCreatesNeitherTheControlNorItsList) {
    struct Case {
        UINT normal, held;
    };
    for (const Case& c : {Case{999, IDB_DROP_DOWN}, Case{IDB_DROP, 999}}) {
        SCOPED_TRACE(testing::Message() << c.normal << ", " << c.held);
        CCommandParent parent;
        CSkinDropList list;
        EXPECT_FALSE(list.Create(POINT{20, 30}, &parent, kId, c.normal, c.held, 4));
        EXPECT_EQ(list.m_hWnd, nullptr);
        EXPECT_EQ(list.popup.m_hWnd, nullptr);
        EXPECT_EQ(parent.FirstChild(), nullptr);
    }
}

TEST(DropListScaled, LargeBaseUnitsStretchTheFace) {
    CreatePanelFonts();
    SetSkinDialogBaseUnits(10, 20);
    CCommandParent parent;
    CSkinDropList list;
    const BOOL created = list.Create(POINT{20, 30}, &parent, kId, IDB_DROP, IDB_DROP_DOWN, 2);
    ResetSkinDialogBaseUnits();
    ASSERT_TRUE(created);

    RECT client{};
    ::GetClientRect(list.m_hWnd, &client);
    EXPECT_EQ(client.right, 99);
    EXPECT_EQ(client.bottom, 21);

    CDibCanvas canvas(100, 22, 0);
    CDibCanvas source(80, 18, 0);
    CDC sourceDc(source.Hdc());
    LoadSkinBitmap(IDB_DROP)->Draw(&sourceDc, 0, 0);
    ::StretchBlt(canvas.Hdc(), 0, 0, 100, 22, source.Hdc(), 0, 0, 80, 18, SRCCOPY);
    EXPECT_EQ(CaptureClient(list.m_hWnd), canvas.Read().Crop(99, 21));
}

