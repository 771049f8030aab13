// The balance knob: bitmap 158 (25 x 25), pivot (12, 12), 0..127 starting at 64.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/BitmapCache.h"
#include "controls/KnobLaw.h"
#include "controls/SkinKnob.h"
#include "resources/resource.h"
#include "tests/win32/controls_input_support.h"

namespace {

constexpr UINT kId = 71;
constexpr Colour kMarker = Rgb(255, 0, 255);

class KnobTest : public ::testing::Test {
protected:
    void Make(UINT radius) {
        const POINT topLeft{40, 30};
        const POINT pivot{12, 12};
        ASSERT_TRUE(knob.Create(&parent, kId, IDB_KNOB, &topLeft, &pivot, radius));
    }
    void TearDown() override { ::ReleaseCapture(); }
    bool Holding() const { return ::GetCapture() == knob.m_hWnd; }

    using Sent = std::vector<std::pair<WPARAM, LPARAM>>;
    static Sent Values(std::initializer_list<LPARAM> values) {
        Sent sent;
        for (LPARAM v : values) sent.emplace_back(kId, v);
        return sent;
    }

    CTestParent parent;
    CSkinKnob knob;
};

}  // namespace

TEST_F(KnobTest, StartsAtTheCentreOfZeroTo127) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    EXPECT_EQ(knob.GetValue(), 64);
    EXPECT_EQ(knob.GetMin(), 0);
    EXPECT_EQ(knob.GetMax(), 127);
    RECT client{};
    ::GetClientRect(knob.m_hWnd, &client);
    EXPECT_EQ(client.right, 24);
    EXPECT_EQ(client.bottom, 24);
}

TEST_F(KnobTest, CreateFailsWithoutItsBitmap) {
    const POINT topLeft{0, 0};
    const POINT pivot{12, 12};
    EXPECT_FALSE(knob.Create(&parent, kId, 999, &topLeft, &pivot, 5));
    EXPECT_EQ(knob.m_hWnd, nullptr);
}

TEST_F(KnobTest, PressInsideTheCircleStartsADragOutsideItDoesNot) {
    struct Case {
        int x, y;
        bool drags;
    };
    const Case cases[] = {{17, 12, true}, {12, 7, true}, {15, 16, true},
                          {18, 12, false}, {12, 18, false}, {16, 16, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        CTestParent own;
        CSkinKnob fresh;
        const POINT topLeft{40, 30};
        const POINT pivot{12, 12};
        ASSERT_TRUE(fresh.Create(&own, kId, IDB_KNOB, &topLeft, &pivot, 5));
        Press(fresh, c.x, c.y);
        EXPECT_EQ(::GetCapture() == fresh.m_hWnd, c.drags);
        EXPECT_TRUE(own.notifications.empty());  // a press alone sends nothing
        Move(fresh, c.x + 2, c.y - 3);
        if (c.drags)
            EXPECT_EQ(own.notifications, (Sent{{kId, 69}}));
        else
            EXPECT_TRUE(own.notifications.empty());
        EXPECT_EQ(fresh.GetValue(), c.drags ? 69 : 64);
        Release(fresh, c.x + 2, c.y - 3);
        EXPECT_FALSE(::GetCapture() == fresh.m_hWnd);
    }
}

TEST_F(KnobTest, DragCountsOneStepPerPixelAndBackAtTheStartNotifiesTheStartValue) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    Press(knob, 12, 12);
    Move(knob, 9, 2);  // 10 up and 3 left
    Move(knob, 12, 12);
    EXPECT_EQ(parent.notifications, Values({71, 64}));
    EXPECT_EQ(knob.GetValue(), 64);
}

TEST_F(KnobTest, DragClampsAtBothEndsAndKeepsNotifying) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    Press(knob, 12, 12);
    Move(knob, 200, -200);
    Move(knob, 201, -200);
    Move(knob, -300, 300);
    Move(knob, -300, 301);
    EXPECT_EQ(parent.notifications, Values({127, 127, 0, 0}));
    EXPECT_EQ(knob.GetValue(), 0);
}

TEST_F(KnobTest, ReleaseEndsTheDragAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    Press(knob, 12, 12);
    Move(knob, 13, 12);
    Release(knob, 13, 12);
    Move(knob, 20, 0);
    EXPECT_EQ(parent.notifications, Values({65}));
    EXPECT_FALSE(Holding());
}

TEST_F(KnobTest, CaptureTakenByAnotherWindowEndsTheDrag) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    Press(knob, 12, 12);
    ::SetCapture(parent.m_hWnd);
    Move(knob, 20, 0);  // the pointer passes over the knob with the button up
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(knob.GetValue(), 64);
}

TEST_F(KnobTest, InactiveKnobIgnoresAPressButADoubleClickResetsAndNotifies) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    knob.SetValue(100);
    knob.active = 0;
    Press(knob, 12, 12);
    Move(knob, 20, 0);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_FALSE(Holding());

    DoubleClick(knob, 12, 12);
    EXPECT_EQ(parent.notifications, Values({64}));
    EXPECT_EQ(knob.GetValue(), 64);
}

TEST_F(KnobTest, DoubleClickDoesNotStartADrag) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    DoubleClick(knob, 12, 12);
    Move(knob, 20, 0);
    EXPECT_EQ(parent.notifications, Values({64}));
}

TEST_F(KnobTest, DoubleClickAtTheDefaultNotifiesWithoutRepainting) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    PaintMarker(knob.m_hWnd, kMarker);
    DoubleClick(knob, 12, 12);
    EXPECT_TRUE(ShowsOnly(knob.m_hWnd, kMarker));
    EXPECT_EQ(parent.notifications, Values({64}));
}

TEST_F(KnobTest, ADragThatChangesTheValueRepaints) {
    ASSERT_NO_FATAL_FAILURE(Make(5));
    PaintMarker(knob.m_hWnd, kMarker);
    Press(knob, 12, 12);
    Move(knob, 12, 12);  // no change yet: nothing to repaint
    EXPECT_TRUE(ShowsOnly(knob.m_hWnd, kMarker));
    Move(knob, 14, 12);
    EXPECT_FALSE(ShowsOnly(knob.m_hWnd, kMarker));
}

TEST_F(KnobTest, SetSkinAloneLeavesTheOldLookUntilTheOwnerInvalidates) {
    ASSERT_NO_FATAL_FAILURE(Make(8));
    const Pixels before = CaptureClient(knob.m_hWnd);
    knob.SetSkin(IDB_KNOB_OFF, RGB(160, 160, 160));
    EXPECT_EQ(CaptureClient(knob.m_hWnd), before);

    knob.Invalidate(FALSE);
    const Pixels after = CaptureClient(knob.m_hWnd);
    EXPECT_NE(after, before);
    EXPECT_EQ(after.At(0, 0), SkinPixels(IDB_KNOB_OFF).At(0, 0));
}

TEST_F(KnobTest, ASkinWithAMissingPictureKeepsTheFaceAndThePointerColour) {
    ASSERT_NO_FATAL_FAILURE(Make(8));
    knob.SetValue(20);
    knob.Invalidate(FALSE);
    const Pixels before = CaptureClient(knob.m_hWnd);
    EXPECT_FALSE(knob.SetSkin(999, RGB(255, 0, 255)));  // not in the resources
    knob.Invalidate(FALSE);
    EXPECT_EQ(CaptureClient(knob.m_hWnd), before);
}

namespace {

// Distance from (px, py) to the segment from a to b.
double DistanceToSegment(double px, double py, KnobPoint a, KnobPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

}  // namespace

TEST_F(KnobTest, PointerPixelsSitOnTheLineTheLawGives) {
    ASSERT_NO_FATAL_FAILURE(Make(10));
    knob.SetSkin(IDB_KNOB, RGB(255, 0, 255));
    const Pixels face = SkinPixels(IDB_KNOB);
    const KnobPoint centre{12, 12};
    for (int value : {0, 64, 127}) {
        SCOPED_TRACE(value);
        knob.SetValueChanged(value);
        const Pixels shown = CaptureClient(knob.m_hWnd);
        const KnobPoint end = KnobPointerEnd(value, 0, 127, centre, 10);
        int onLine = 0;
        int stray = 0;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                if (shown.At(x, y) != kMarker) {
                    EXPECT_EQ(shown.At(x, y), face.At(x, y)) << x << ", " << y;
                    continue;
                }
                if (DistanceToSegment(x + 0.5, y + 0.5, centre, end) <= 1.5) ++onLine;
                else ++stray;
            }
        }
        EXPECT_EQ(stray, 0);
        EXPECT_GE(onLine, 10);
        EXPECT_EQ(shown.At(12, 12), kMarker);  // drawn from the pivot
        // The far end of the line is drawn up to the law's end point.
        const int nearX = end.x + (end.x < centre.x ? 1 : end.x > centre.x ? -1 : 0);
        const int nearY = end.y + (end.y < centre.y ? 1 : end.y > centre.y ? -1 : 0);
        EXPECT_EQ(shown.At(nearX, nearY), kMarker) << nearX << ", " << nearY;
    }
}
