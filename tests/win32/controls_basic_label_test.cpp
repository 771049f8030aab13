// The bitmap text label: its size, where its text goes, and text replaced from
// another thread while the window paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinLabel.h"
#include "tests/win32/controls_basic_harness.h"

namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);

class SkinLabel : public ::testing::Test {
protected:
    void SetUp() override { CreatePanelFonts(); }

    // A label on the 130 x 18 field bitmap 200.
    Pixels Show(const std::string& text) {
        CSkinLabel label;
        const POINT at = {10, 20};
        EXPECT_TRUE(label.Create(&at, &parent, 100, 200, text));
        return CaptureClient(label.m_hWnd);
    }

    // The field as the text is drawn on it by hand: the panel font, transparent,
    // laid out in the bitmap's whole rectangle, cut to the window.
    Pixels Expected(const std::string& text) {
        CDibCanvas canvas(130, 18, 0);
        CDC dc(canvas.Hdc());
        LoadSkinBitmap(200)->Draw(&dc, 0, 0);
        CBkModeScope transparent(dc, TRANSPARENT);
        CSelectObject font(dc, g_panelFont);
        RECT rect = {0, 0, 130, 18};
        dc.DrawText(text.c_str(), -1, &rect, 0);
        return canvas.Read().Crop(129, 17);
    }

    CTestParent parent;
};

// Pixels where the two pictures differ.
std::vector<POINT> Differences(const Pixels& a, const Pixels& b) {
    std::vector<POINT> points;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) != b.At(x, y)) points.push_back({x, y});
        }
    }
    return points;
}

}  // namespace

TEST_F(SkinLabel, WindowIsOnePixelSmallerThanItsBitmap) {
    CSkinLabel label;
    const POINT at = {10, 20};
    ASSERT_TRUE(label.Create(&at, &parent, 100, 200, "Idle"));
    RECT rect{};
    ::GetWindowRect(label.m_hWnd, &rect);
    ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 10 + 129);
    EXPECT_EQ(rect.bottom, 20 + 17);
}

TEST_F(SkinLabel, EmptyTextShowsTheBareBitmap) {
    EXPECT_TRUE(Show("") == SkinPixels(200).Crop(129, 17));
}

TEST_F(SkinLabel, TextIsDrawnInBlackFromTheTopLeftOverTheBitmap) {
    const Pixels shown = Show("Ready - Multi Playing");
    const std::vector<POINT> ink = Differences(shown, SkinPixels(200).Crop(129, 17));
    ASSERT_FALSE(ink.empty());
    int left = 129, top = 17;
    for (const POINT& p : ink) {
        EXPECT_EQ(shown.At(p.x, p.y), kBlack) << p.x << ", " << p.y;
        left = std::min<int>(left, p.x);
        top = std::min<int>(top, p.y);
    }
    EXPECT_LE(left, 2);
    EXPECT_LE(top, 4);
    EXPECT_TRUE(shown == Expected("Ready - Multi Playing"));
}

TEST_F(SkinLabel, LongTextIsCutAtTheWindowEdgeOnOneLine) {
    const std::string text(40, 'M');  // far wider than the window
    const Pixels shown = Show(text);
    const std::vector<POINT> ink = Differences(shown, SkinPixels(200).Crop(129, 17));
    bool reachesLastColumns = false;
    for (const POINT& p : ink) reachesLastColumns = reachesLastColumns || p.x >= 121;
    EXPECT_TRUE(reachesLastColumns);
    EXPECT_TRUE(shown == Expected(text));
}

TEST_F(SkinLabel, AmpersandUnderlinesTheNextCharacter) {
    const Pixels plain = Show("Ab");
    const Pixels prefixed = Show("&Ab");
    const std::vector<POINT> extra = Differences(prefixed, plain);
    ASSERT_FALSE(extra.empty());
    for (const POINT& p : extra) {
        EXPECT_EQ(p.y, extra.front().y) << "only an underline is added";
        EXPECT_EQ(prefixed.At(p.x, p.y), kBlack);
    }
    // Every pixel of the plain text is still there: the "&" itself is not drawn.
    for (const POINT& p : Differences(plain, SkinPixels(200).Crop(129, 17))) {
        EXPECT_EQ(prefixed.At(p.x, p.y), kBlack) << p.x << ", " << p.y;
    }
}

TEST_F(SkinLabel, SetTextAlwaysInvalidates) {
    CSkinLabel label;
    const POINT at = {10, 20};
    ASSERT_TRUE(label.Create(&at, &parent, 100, 200, "Idle"));
    EXPECT_TRUE(CaptureClient(label.m_hWnd) == Expected("Idle"));
    ASSERT_FALSE(::GetUpdateRect(label.m_hWnd, nullptr, FALSE));

    label.SetText("Idle");
    RECT dirty{};
    ASSERT_TRUE(::GetUpdateRect(label.m_hWnd, &dirty, FALSE));
    EXPECT_EQ(dirty.left, 0);
    EXPECT_EQ(dirty.top, 0);
    EXPECT_EQ(dirty.right, 129);
    EXPECT_EQ(dirty.bottom, 17);
    EXPECT_TRUE(CaptureClient(label.m_hWnd) == Expected("Idle"));

    label.SetText("Setup");
    EXPECT_TRUE(CaptureClient(label.m_hWnd) == Expected("Setup"));
}

TEST_F(SkinLabel, TextReplacedFromAnotherThreadWhilePainting) {
    CSkinLabel label;
    const POINT at = {10, 20};
    ASSERT_TRUE(label.Create(&at, &parent, 100, 200, ""));
    const std::string texts[2] = {"Audio DMA's active", "DMA engine uninitialized"};
    std::atomic<bool> done{false};
    std::thread poller([&] {
        for (int i = 0; i < 3000; ++i) label.SetText(texts[i % 2]);
        done.store(true);
    });
    while (!done.load()) ::UpdateWindow(label.m_hWnd);
    poller.join();
    EXPECT_EQ(label.GetText(), texts[1]);
    EXPECT_TRUE(CaptureClient(label.m_hWnd) == Expected(texts[1]));
}

TEST_F(SkinLabel, MissingBitmapCreatesNothing) {
    CSkinLabel label;
    const POINT at = {10, 20};
    EXPECT_FALSE(label.Create(&at, &parent, 100, 138, "Idle"));
    EXPECT_EQ(label.m_hWnd, nullptr);
    EXPECT_EQ(parent.FirstChild(), nullptr);
}
