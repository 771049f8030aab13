// Skin bitmap drawing, the sunken frame's exact pixels and the panel font.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinButton.h"
#include "controls/SunkenFrame.h"
#include "tests/win32/controls_basic_harness.h"

namespace {

constexpr Colour kCanvas = Rgb(1, 2, 3);

// Draws bitmap id at (x, y) of a canvas, after an optional viewport origin shift.
Pixels DrawOnCanvas(int id, int x, int y, POINT viewportOrigin = {0, 0}) {
    CDibCanvas canvas(120, 120, kCanvas);
    CDC dc(canvas.Hdc());
    ::SetViewportOrgEx(canvas.Hdc(), viewportOrigin.x, viewportOrigin.y, nullptr);
    LoadSkinBitmap(id)->Draw(&dc, x, y);
    return canvas.Read();
}

// Every pixel of the canvas is the bitmap's inside its rectangle at (left, top), else untouched.
void ExpectCopyAt(const Pixels& canvas, const Pixels& bitmap, int left, int top) {
    int wrong = 0;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const bool inside = x >= left && x < left + bitmap.width && y >= top && y < top + bitmap.height;
            const Colour expected = inside ? bitmap.At(x - left, y - top) : kCanvas;
            if (canvas.At(x, y) != expected) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(SkinBitmapDraw, CopiesEveryPixelOpaquely) {
    ExpectCopyAt(DrawOnCanvas(137, 3, 4), SkinPixels(137), 3, 4);
}

TEST(SkinBitmapDraw, MovedViewportOriginShiftsTheWholeCopy) {
    ExpectCopyAt(DrawOnCanvas(159, 2, 1, {10, 5}), SkinPixels(159), 12, 6);
}

namespace {

// Bitmap id stretched to width x height at (x, y) of a canvas, after a viewport origin shift.
Pixels StretchOnCanvas(int id, int x, int y, int width, int height, POINT viewportOrigin) {
    CDibCanvas canvas(120, 120, kCanvas);
    CDC dc(canvas.Hdc());
    ::SetViewportOrgEx(canvas.Hdc(), viewportOrigin.x, viewportOrigin.y, nullptr);
    LoadSkinBitmap(id)->DrawStretched(&dc, x, y, width, height);
    return canvas.Read();
}

// The bitmap's pixels stretched to width x height, as the platform stretches them.
Pixels Stretched(int id, int width, int height) {
    const Pixels bitmap = SkinPixels(id);
    CDibCanvas source(bitmap.width, bitmap.height, 0);
    CDC sourceDc(source.Hdc());
    LoadSkinBitmap(id)->Draw(&sourceDc, 0, 0);
    CDibCanvas target(width, height, 0);
    ::StretchBlt(target.Hdc(), 0, 0, width, height, source.Hdc(), 0, 0, bitmap.width, bitmap.height,
                 SRCCOPY);
    return target.Read();
}

}  // namespace

// The drop-down's face at base units 10 x 20: 80 x 18 stretched to 100 x 22.
TEST(SkinBitmapDrawStretched, StretchesTheWholeBitmapWhereverTheViewportOriginIs) {
    struct Case {
        POINT origin;
        int left, top;  // where the copy lands in pixels
    };
    for (const Case& c : {Case{{0, 0}, 2, 1}, Case{{10, 5}, 12, 6}}) {
        SCOPED_TRACE(testing::Message() << c.origin.x << ", " << c.origin.y);
        ExpectCopyAt(StretchOnCanvas(190, 2, 1, 100, 22, c.origin), Stretched(190, 100, 22), c.left, c.top);
    }
}

TEST(SkinBitmapDraw, LeavesTheContextAsItFoundIt) {
    CDibCanvas canvas(100, 100, kCanvas);
    CDC dc(canvas.Hdc());
    const HGDIOBJ bitmapBefore = dc.GetCurrentObject(OBJ_BITMAP);
    LoadSkinBitmap(137)->Draw(&dc, 0, 0);
    EXPECT_EQ(dc.GetCurrentObject(OBJ_BITMAP), bitmapBefore);
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
}

// The lamps may be drawn while another thread draws the same pictures; the first
// draw of a freshly loaded bitmap is where its drawing context is made.
TEST(SkinBitmapDraw, ThreadsDrawingTheSameNewBitmapEachGetAnExactCopy) {
    constexpr int kThreads = 4;
    const Pixels expected = SkinPixels(137);
    int wrong = 0;
    for (int round = 0; round < 40; ++round) {
        FreeSkinBitmaps();
        const CSkinBitmap* bitmap = LoadSkinBitmap(137);
        ASSERT_NE(bitmap, nullptr);
        std::atomic<int> ready{0};
        std::vector<Pixels> copies(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                CDibCanvas canvas(120, 120, kCanvas);
                CDC dc(canvas.Hdc());
                ready.fetch_add(1);
                while (ready.load() < kThreads) std::this_thread::yield();
                bitmap->Draw(&dc, 0, 0);
                copies[t] = canvas.Read();
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (const Pixels& copy : copies) {
            if (!(copy.Crop(expected.width, expected.height) == expected)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Freeing the cache deletes a bitmap that was drawn, though it stays selected for drawing.
TEST(SkinBitmapDraw, ADrawnBitmapIsDeletedWithTheCache) {
    CDibCanvas canvas(120, 120, kCanvas);
    CDC dc(canvas.Hdc());
    FreeSkinBitmaps();
    const CSkinBitmap* bitmap = LoadSkinBitmap(137);
    ASSERT_NE(bitmap, nullptr);
    bitmap->Draw(&dc, 0, 0);
    const HGDIOBJ handle = bitmap->GetSafeHandle();
    ASSERT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    FreeSkinBitmaps();
    EXPECT_EQ(::GetObjectType(handle), 0u);
}

TEST(SkinBitmapDraw, WindowOnePixelSmallerShowsTheFirstColumnsAndRows) {
    CTestParent parent;
    CSkinButton knobFace;
    ASSERT_TRUE(knobFace.Create({30, 40}, &parent, 7, 158, 158, 158, 158));
    const Pixels bitmap = SkinPixels(158);
    ASSERT_EQ(bitmap.width, 25);
    ASSERT_EQ(bitmap.height, 25);
    const Pixels shown = CaptureClient(knobFace.m_hWnd);
    EXPECT_EQ(shown.width, 24);
    EXPECT_EQ(shown.height, 24);
    EXPECT_TRUE(shown == bitmap.Crop(24, 24));
}

namespace {

struct FrameRun {
    Colour colour;
    int x0, y0, x1, y1;  // inclusive, one row or one column
};

// The bevel of (5, 10, 80, 80), pixel by pixel.
const FrameRun kFrameRuns[] = {
    {Rgb(155, 164, 172), 5, 11, 5, 80},   // outer shadow, left
    {Rgb(155, 164, 172), 5, 10, 79, 10},  // outer shadow, top
    {Rgb(95, 101, 97), 6, 12, 6, 79},     // inner shadow, left
    {Rgb(95, 101, 97), 6, 11, 78, 11},    // inner shadow, top
    {Rgb(187, 200, 216), 7, 79, 78, 79},  // inner light, bottom
    {Rgb(187, 200, 216), 79, 13, 79, 79}, // inner light, right
    {Rgb(231, 231, 231), 6, 80, 79, 80},  // outer light, bottom
    {Rgb(231, 231, 231), 80, 12, 80, 80}, // outer light, right
};

}  // namespace

TEST(SunkenFrame, PaintsExactlyTheBevelPixels) {
    CDibCanvas canvas(100, 100, kCanvas);
    CDC dc(canvas.Hdc());
    DrawSunkenFrame(&dc, RECT{5, 10, 80, 80});
    const Pixels painted = canvas.Read();

    std::vector<Colour> expected(100 * 100, kCanvas);
    for (const FrameRun& run : kFrameRuns) {
        for (int y = run.y0; y <= run.y1; ++y) {
            for (int x = run.x0; x <= run.x1; ++x) expected[y * 100 + x] = run.colour;
        }
    }
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(painted.At(x, y), expected[y * 100 + x]) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST(SunkenFrame, LeavesTheTopRightCornerUntouched) {
    CDibCanvas canvas(100, 100, kCanvas);
    CDC dc(canvas.Hdc());
    DrawSunkenFrame(&dc, RECT{5, 10, 80, 80});
    const Pixels painted = canvas.Read();
    const POINT corner[] = {{80, 10}, {80, 11}, {79, 11}, {79, 12}};
    for (const POINT& p : corner) EXPECT_EQ(painted.At(p.x, p.y), kCanvas) << p.x << ", " << p.y;
}

TEST(SunkenFrame, RestoresThePreviousPen) {
    CDibCanvas canvas(100, 100, kCanvas);
    CDC dc(canvas.Hdc());
    CPen own(PS_DASH, 1, RGB(9, 8, 7));
    CSelectObject selected(dc, own);
    DrawSunkenFrame(&dc, RECT{5, 10, 80, 80});
    EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), own.GetSafeHandle());
}

TEST(PanelFont, NinePointMsSansSerifIsTwelvePixelsHighAt96Dpi) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96);

    CreatePanelFonts();
    LOGFONTA font{};
    ASSERT_EQ(::GetObjectA(g_panelFont.GetSafeHandle(), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
}

TEST(SunkenFrame, NegativeCoordinatesAreNotWrapped) {
    CDibCanvas reference(100, 100, kCanvas);
    CDC referenceDc(reference.Hdc());
    DrawSunkenFrame(&referenceDc, RECT{5, 10, 80, 80});

    // The same frame, given in a coordinate system moved by (10, 10).
    CDibCanvas shifted(100, 100, kCanvas);
    CDC shiftedDc(shifted.Hdc());
    ::SetViewportOrgEx(shifted.Hdc(), 10, 10, nullptr);
    DrawSunkenFrame(&shiftedDc, RECT{-5, 0, 70, 70});
    EXPECT_TRUE(shifted.Read() == reference.Read());
}
