// The bitmap toggle button, driven by mouse messages; what it tells its parent and
// what it shows.
#include <gtest/gtest.h>

#include <vector>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "tests/win32/controls_basic_harness.h"

namespace {

using Notes = std::vector<std::pair<WPARAM, LPARAM>>;

constexpr UINT kSwitchId = 44;

// A Control Enable switch: off-up 147, on-up 148, off-down 151, on-down 146.
class SkinButton : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(button.Create({20, 30}, &parent, kSwitchId, 147, 148, 151, 146)); }
    Pixels Shown() { return CaptureClient(button.m_hWnd); }
    // What the window shows of bitmap id: all but its last column and row.
    static Pixels Visible(int id) {
        const Pixels whole = SkinPixels(id);
        return whole.Crop(whole.width - 1, whole.height - 1);
    }

    CTestParent parent;
    CSkinButton button;
};

}  // namespace

TEST_F(SkinButton, ClickTogglesAndTellsTheParent) {
    Press(button);
    Release(button);
    EXPECT_EQ(button.state, 1);
    Press(button);
    Release(button);
    EXPECT_EQ(button.state, 0);
    EXPECT_EQ(parent.notifications, (Notes{{kSwitchId, 1}, {kSwitchId, 0}}));
}

TEST_F(SkinButton, PressHoldsTheCaptureUntilTheRelease) {
    Press(button);
    EXPECT_EQ(::GetCapture(), button.m_hWnd);
    EXPECT_EQ(button.pressed, 1);
    EXPECT_TRUE(parent.notifications.empty());
    Release(button);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(button.pressed, 0);
}

// A press counts only when released over the button; while the pointer is away the
// button looks up, and held again when it comes back.
TEST_F(SkinButton, OnlyAReleaseOverTheButtonClicks) {
    const POINT over{5, 5}, away{-40, 200};
    struct Case {
        const char* name;
        std::vector<POINT> moves;
        POINT release;
        bool clicks;
    };
    const Case cases[] = {
        {"released away", {away}, away, false},
        {"released just past the last column", {}, {52, 28}, false},
        {"released just past the last row", {}, {51, 29}, false},
        {"released on the last pixel", {}, {51, 28}, true},
        {"away and back", {away, over}, over, true},
        {"back and away again", {away, over, away}, away, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button.state = 0;
        parent.notifications.clear();
        Press(button);
        EXPECT_TRUE(Shown() == Visible(151));
        for (const POINT& p : c.moves) {
            Move(button, p.x, p.y);
            EXPECT_TRUE(Shown() == Visible(p.x == over.x ? 151 : 147)) << p.x;
        }
        Release(button, c.release.x, c.release.y);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(button.state, c.clicks ? 1 : 0);
        EXPECT_EQ(parent.notifications, (c.clicks ? Notes{{kSwitchId, 1}} : Notes{}));
        EXPECT_TRUE(Shown() == Visible(c.clicks ? 148 : 147));
    }
}

TEST_F(SkinButton, CaptureTakenDuringAPressIsNoClick) {
    Press(button);
    ::SetCapture(parent.m_hWnd);
    EXPECT_TRUE(Shown() == Visible(147));
    ::ReleaseCapture();
    Release(button);
    EXPECT_EQ(button.state, 0);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_TRUE(Shown() == Visible(147));
}

TEST_F(SkinButton, DoubleClickTogglesTwice) {
    Press(button);
    Release(button);
    DoubleClick(button);
    Release(button);
    EXPECT_EQ(button.state, 0);
    EXPECT_EQ(parent.notifications, (Notes{{kSwitchId, 1}, {kSwitchId, 0}}));
}

TEST_F(SkinButton, ReleaseWithoutPressDoesNothing) {
    const Pixels before = Shown();
    Release(button);
    EXPECT_EQ(button.state, 0);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_TRUE(Shown() == before);
}

TEST_F(SkinButton, NotifiesWithTheStateTheOwnerWrote) {
    button.state = 1;
    Press(button);
    Release(button);
    EXPECT_EQ(parent.notifications, (Notes{{kSwitchId, 0}}));
}

TEST_F(SkinButton, ShowsTheBitmapOfEachStateAndPress) {
    struct Case {
        int state, pressed, bitmapId;
    };
    const Case cases[] = {{0, 0, 147}, {1, 0, 148}, {0, 1, 151}, {1, 1, 146}};
    for (const Case& c : cases) {
        button.state = c.state;
        if (c.pressed != 0) {
            Press(button);
        } else {
            button.Invalidate();
        }
        EXPECT_TRUE(Shown() == Visible(c.bitmapId)) << "state " << c.state << " pressed " << c.pressed;
        if (c.pressed != 0) Release(button);
    }
}

TEST_F(SkinButton, SetBitmapsDuringAPressShowsTheNewHeldImage) {
    Press(button);
    EXPECT_TRUE(Shown() == Visible(151));
    // The same four images in another order: the held-off image is now 146.
    ASSERT_TRUE(button.SetBitmaps(148, 147, 146, 151));
    EXPECT_TRUE(Shown() == Visible(146));
    Release(button);
    EXPECT_TRUE(Shown() == Visible(147));
    EXPECT_EQ(parent.notifications, (Notes{{kSwitchId, 1}}));
}

TEST_F(SkinButton, SetBitmapsWithAMissingBitmapKeepsTheImages) {
    EXPECT_FALSE(button.SetBitmaps(166, 167, 138, 165));
    EXPECT_TRUE(Shown() == Visible(147));
    Press(button);
    EXPECT_TRUE(Shown() == Visible(151));
    Release(button);
}

TEST_F(SkinButton, EraseBackgroundPaintsNothing) {
    CDibCanvas canvas(60, 40, Rgb(1, 2, 3));
    const Pixels before = canvas.Read();
    EXPECT_NE(button.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Hdc())), 0);
    EXPECT_TRUE(canvas.Read() == before);
}

TEST(SkinButtonLamp, FourEqualBitmapsStillToggleAndNotify) {
    CTestParent parent;
    CSkinButton lamp;
    ASSERT_TRUE(lamp.Create({100, 100}, &parent, 100, 216, 216, 216, 216));
    const Pixels idle = SkinPixels(216).Crop(43, 9);
    EXPECT_TRUE(CaptureClient(lamp.m_hWnd) == idle);
    Press(lamp);
    EXPECT_TRUE(CaptureClient(lamp.m_hWnd) == idle);
    Release(lamp);
    EXPECT_EQ(lamp.state, 1);
    EXPECT_TRUE(CaptureClient(lamp.m_hWnd) == idle);
    EXPECT_EQ(parent.notifications, (Notes{{100, 1}}));

    ASSERT_TRUE(lamp.SetBitmaps(209, 209, 209, 209));
    EXPECT_TRUE(CaptureClient(lamp.m_hWnd) == SkinPixels(209).Crop(43, 9));
}

// The lamp poll sets every lamp each second: a lamp given the picture it shows is
// left alone, one given another picture is repainted with it.
TEST(SkinButtonLamp, RepaintedOnlyWhenThePictureChanges) {
    struct Case {
        int shown, set;
        bool repainted;
    };
    const Case cases[] = {{216, 216, false}, {216, 209, true}, {209, 209, false}, {209, 216, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown * 1000 + c.set);
        CTestParent parent;
        CSkinButton lamp;
        ASSERT_TRUE(lamp.Create({100, 100}, &parent, 100, c.shown, c.shown, c.shown, c.shown));
        ASSERT_TRUE(CaptureClient(lamp.m_hWnd) == SkinPixels(c.shown).Crop(43, 9));
        ASSERT_FALSE(::GetUpdateRect(lamp.m_hWnd, nullptr, FALSE));

        ASSERT_TRUE(lamp.SetBitmaps(c.set, c.set, c.set, c.set));
        RECT dirty{};
        EXPECT_EQ(::GetUpdateRect(lamp.m_hWnd, &dirty, FALSE) != FALSE, c.repainted);
        if (c.repainted) {
            EXPECT_EQ(dirty.right, 43);
            EXPECT_EQ(dirty.bottom, 9);
        }
        EXPECT_TRUE(CaptureClient(lamp.m_hWnd) == SkinPixels(c.set).Crop(43, 9));
    }
}

TEST(SkinButtonGeometry, WindowIsOnePixelSmallerThanTheBitmap) {
    CTestParent parent;
    CSkinButton ok;
    ASSERT_TRUE(ok.Create({250, 60}, &parent, 1, 159, 159, 160, 160));
    RECT rect{};
    ::GetWindowRect(ok.m_hWnd, &rect);
    ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(rect.right - 1, 313);
    EXPECT_EQ(rect.bottom - 1, 81);
    EXPECT_EQ(::ChildWindowFromPoint(parent.m_hWnd, POINT{313, 81}), ok.m_hWnd);
    EXPECT_EQ(::ChildWindowFromPoint(parent.m_hWnd, POINT{314, 81}), parent.m_hWnd);
    EXPECT_EQ(::ChildWindowFromPoint(parent.m_hWnd, POINT{313, 82}), parent.m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(ok.m_hWnd), 1);
}

TEST(SkinButtonGeometry, PushButtonShowsTheHeldFaceOnlyWhileHeld) {
    FreeSkinBitmaps();
    CTestParent parent;
    CSkinButton ok;
    ASSERT_TRUE(ok.Create({250, 60}, &parent, 1, 159, 159, 160, 160));
    const Pixels rest = SkinPixels(159).Crop(64, 22);
    const Pixels held = SkinPixels(160).Crop(64, 22);
    ASSERT_TRUE(rest != held);
    EXPECT_TRUE(CaptureClient(ok.m_hWnd) == rest);
    EXPECT_EQ(CountSkinBitmaps(), 1) << "the held face is loaded at the first press, not at start";
    Press(ok);
    EXPECT_TRUE(CaptureClient(ok.m_hWnd) == held);
    Release(ok);
    EXPECT_TRUE(CaptureClient(ok.m_hWnd) == rest);
    EXPECT_EQ(parent.notifications, (Notes{{1, 1}}));
}

TEST(SkinButtonCreate, MissingBitmapCreatesNothing) {
    struct Case {
        UINT ids[4];
    };
    const Case cases[] = {{{138, 148, 151, 146}}, {{147, 138, 151, 146}}, {{147, 148, 999, 146}}, {{147, 148, 151, 139}}};
    for (const Case& c : cases) {
        CTestParent parent;
        CSkinButton button;
        EXPECT_FALSE(button.Create({0, 0}, &parent, 5, c.ids[0], c.ids[1], c.ids[2], c.ids[3]));
        EXPECT_EQ(button.m_hWnd, nullptr);
        EXPECT_EQ(parent.FirstChild(), nullptr);
        for (CSkinBitmap* bitmap : button.bitmaps) EXPECT_EQ(bitmap, nullptr);
    }
}
