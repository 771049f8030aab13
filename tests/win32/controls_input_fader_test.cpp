// The volume fader as the main panel makes it: track 155, thumb 156, margins 16 and
// 15, inset (1, 1, 2, 2), 0..65535 through the taper of base 256. Travel 14..111,
// grab zone position +- 14, thumb centre 15 rows below its top.
#include <gtest/gtest.h>

#include "controls/BitmapCache.h"
#include "controls/SkinFader.h"
#include "resources/resource.h"
#include "tests/win32/controls_input_support.h"

namespace {

constexpr UINT kId = 51;

class FaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fader.Create(&parent, kId, 10, 20, IDB_FADER_TRACK, IDB_FADER_THUMB, 16, 15,
                                 RECT{1, 1, 2, 2}, 65535, 0, 1, 8.0));
        fader.SetValue(0);
    }
    void TearDown() override { ::ReleaseCapture(); }

    // What the window should show with the thumb's centre line at position.
    static Pixels Expected(int position, int track = IDB_FADER_TRACK, int thumb = IDB_FADER_THUMB) {
        CDibCanvas canvas(15, 127, 0);
        CDC dc(canvas.Hdc());
        LoadSkinBitmap(track)->Draw(&dc, 0, 0);
        LoadSkinBitmap(thumb)->Draw(&dc, 0, position - 15);
        return canvas.Read().Crop(14, 126);
    }
    bool ThumbAt(int position) const { return CaptureClient(fader.m_hWnd) == Expected(position); }
    bool Holding() const { return ::GetCapture() == fader.m_hWnd; }

    using Sent = std::vector<std::pair<WPARAM, LPARAM>>;
    static Sent Values(std::initializer_list<LPARAM> values) {
        Sent sent;
        for (LPARAM v : values) sent.emplace_back(kId, v);
        return sent;
    }

    CTestParent parent;
    CSkinFader fader;
};

}  // namespace

TEST_F(FaderTest, PaintsTheTrackThenTheThumbCentredOnItsPosition) {
    EXPECT_TRUE(ThumbAt(111));
    fader.SetValue(65535);
    EXPECT_TRUE(ThumbAt(14));
    fader.SetValue(4096);
    EXPECT_TRUE(ThumbAt(61));
}

TEST_F(FaderTest, PressOnTheThumbGrabsWithoutJumpOrNotification) {
    Press(fader, 5, 100);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(fader.value, 0);
    EXPECT_TRUE(ThumbAt(111));
    EXPECT_TRUE(Holding());

    Release(fader, 5, 100);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(fader.value, 0);
    EXPECT_FALSE(Holding());
}

TEST_F(FaderTest, GrabbedThumbKeepsItsDistanceToThePointer) {
    Press(fader, 5, 100);  // 11 rows above the centre line
    Move(fader, 5, 51);
    EXPECT_EQ(parent.notifications, Values({3974}));  // position 62
    EXPECT_TRUE(ThumbAt(62));
}

TEST_F(FaderTest, PressOnTheTrackJumpsSetsTheValueAndNotifiesAtOnce) {
    Press(fader, 5, 40);
    EXPECT_EQ(parent.notifications, Values({14625}));
    EXPECT_EQ(fader.value, 14625);
    EXPECT_TRUE(ThumbAt(40));
    EXPECT_TRUE(Holding());

    Move(fader, 5, 30);
    EXPECT_EQ(parent.notifications, Values({14625, 26102}));
    Release(fader, 5, 30);
    EXPECT_EQ(parent.notifications.size(), 2u);
    EXPECT_FALSE(Holding());
}

TEST_F(FaderTest, DragAboveTheTopPinsTheMaximumAndKeepsNotifying) {
    Press(fader, 5, 40);
    Move(fader, 5, 14);
    Move(fader, 5, 3);
    Move(fader, 60, -40);  // sideways and far above: the same value again
    EXPECT_EQ(parent.notifications, Values({14625, 65535, 65535, 65535}));
    EXPECT_EQ(fader.value, 65535);
    EXPECT_TRUE(ThumbAt(14));
}

TEST_F(FaderTest, PressOutsideTheTravelAndTheGrabZoneDoesNothing) {
    struct Case {
        int value, thumb, y;
    };
    const Case cases[] = {
        {0, 111, 0}, {0, 111, 13},            // above the travel
        {65535, 14, 112}, {65535, 14, 125},   // below it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        fader.SetValue(c.value);
        parent.notifications.clear();
        Press(fader, 5, c.y);
        Move(fader, 5, 60);
        EXPECT_TRUE(parent.notifications.empty());
        EXPECT_EQ(fader.value, c.value);
        EXPECT_FALSE(Holding());
        EXPECT_TRUE(ThumbAt(c.thumb));
        Release(fader, 5, 60);
    }
}

TEST_F(FaderTest, SecondPressOfADoubleClickDoesNothing) {
    Press(fader, 5, 40);
    Release(fader, 5, 40);
    DoubleClick(fader, 5, 80);
    Move(fader, 5, 90);
    EXPECT_EQ(parent.notifications, Values({14625}));
    EXPECT_EQ(fader.value, 14625);
    EXPECT_FALSE(Holding());
    EXPECT_TRUE(ThumbAt(40));
}

TEST_F(FaderTest, InactiveFaderIgnoresPressesButAReleaseReleasesTheCapture) {
    fader.active = 0;
    Press(fader, 5, 40);
    Press(fader, 5, 111);
    Move(fader, 5, 60);
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(fader.value, 0);
    EXPECT_FALSE(Holding());

    ::SetCapture(fader.m_hWnd);
    Release(fader, 5, 60);
    EXPECT_FALSE(Holding());
}

TEST_F(FaderTest, ClearingActiveDuringADragDoesNotEndIt) {
    Press(fader, 5, 40);
    fader.active = 0;
    Move(fader, 5, 50);
    EXPECT_EQ(parent.notifications, Values({14625, 8145}));
}

TEST_F(FaderTest, CaptureTakenByAnotherWindowEndsTheDrag) {
    Press(fader, 5, 40);
    ::SetCapture(parent.m_hWnd);
    Move(fader, 5, 20);  // the pointer passes over the fader with the button up
    EXPECT_EQ(parent.notifications, Values({14625}));
    EXPECT_EQ(fader.value, 14625);
    EXPECT_TRUE(ThumbAt(40));
}

TEST_F(FaderTest, SetValueSendsNothingAndKeepsTheOwnersValue) {
    fader.SetValue(1);
    EXPECT_EQ(fader.value, 1);  // the thumb sits at 110, where a drag would give 15
    EXPECT_TRUE(ThumbAt(110));
    fader.SetValue(70000);
    EXPECT_EQ(fader.value, 65535);
    fader.SetValue(-3);
    EXPECT_EQ(fader.value, 0);
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(FaderTest, SetValueOfTheHeldValueDoesNotRepaintEvenAfterASkinSwap) {
    fader.SetValue(4096);
    EXPECT_TRUE(ThumbAt(61));
    fader.SetBitmaps(IDB_FADER_TRACK_OFF, IDB_FADER_THUMB_OFF);
    fader.SetValue(4096);
    EXPECT_TRUE(ThumbAt(61));  // still the working skin

    fader.Invalidate();
    EXPECT_EQ(CaptureClient(fader.m_hWnd), Expected(61, IDB_FADER_TRACK_OFF, IDB_FADER_THUMB_OFF));
}

// Bitmap 999 is not in the resources.
TEST_F(FaderTest, ASkinWithAMissingPictureIsRefusedAndTheOldOneStays) {
    struct Case {
        UINT track, thumb;
    };
    for (const Case& c : {Case{IDB_FADER_TRACK_OFF, 999}, Case{999, IDB_FADER_THUMB_OFF}}) {
        SCOPED_TRACE(testing::Message() << c.track << ", " << c.thumb);
        fader.SetValue(4096);
        EXPECT_FALSE(fader.SetBitmaps(c.track, c.thumb));
        fader.Invalidate(FALSE);
        EXPECT_TRUE(ThumbAt(61));
        fader.SetValue(256);
        EXPECT_TRUE(ThumbAt(98));
    }
}

TEST(FaderCreate, AMissingPictureCreatesNothing) {
    struct Case {
        UINT track, thumb;
    };
    for (const Case& c : {Case{IDB_FADER_TRACK, 999}, Case{999, IDB_FADER_THUMB}}) {
        SCOPED_TRACE(testing::Message() << c.track << ", " << c.thumb);
        CTestParent parent;
        CSkinFader fader;
        EXPECT_FALSE(fader.Create(&parent, kId, 10, 20, c.track, c.thumb, 16, 15, RECT{1, 1, 2, 2},
                                  65535, 0, 1, 8.0));
        EXPECT_EQ(fader.m_hWnd, nullptr);
        EXPECT_EQ(parent.FirstChild(), nullptr);
    }
}

TEST_F(FaderTest, OnlyANewValueRepaints) {
    PaintMarker(fader.m_hWnd, Rgb(255, 0, 255));
    fader.SetValue(0);
    EXPECT_TRUE(ShowsOnly(fader.m_hWnd, Rgb(255, 0, 255)));
    fader.SetValue(256);
    EXPECT_TRUE(ThumbAt(98));
}
