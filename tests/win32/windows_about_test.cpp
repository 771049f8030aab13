// The about box: where its OK button and texts land at two font sizes, its picture,
// and the ways to close it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "controls/SkinDialogBaseUnits.h"
#include "framework/Gdi.h"
#include "resources/resource.h"
#include "tests/win32/support/DibCanvas.h"
#include "tests/win32/windows_harness.h"
#include "windows/AboutBox.h"

namespace {

class AboutTest : public WindowsTest {
protected:
    static INT_PTR RunAbout(const std::function<void(HWND)>& body) {
        CAboutBox about;
        return RunModal(about, body);
    }
};

struct Box {
    int left, top, right, bottom;
};

struct AboutCase {
    int baseX, baseY;
    Box ok;  // inclusive pixels the button's window covers
    Box texts[3];  // title, version, notice
};

// How wide text is in the box's font, 9-point Arial. With Arial's metrics the title
// fits its 210-pixel rectangle, as on Windows; a wider stand-in font gets it clipped.
int ArialWidth(const std::string& text) {
    CDibCanvas canvas(1, 1, 0);
    const CDC dc(canvas.Hdc());
    CFont font;
    font.CreatePointFont(90, "Arial");
    CSelectObject selected(dc, font);
    RECT measured = {0, 0, 0, 0};
    dc.DrawText(text.c_str(), -1, &measured, DT_CALCRECT);
    return measured.right;
}

// Where the dark pixels of each text start, that none lies outside the text rectangles,
// and that the title is drawn whole: it fits its rectangle and its last letter shows.
void ExpectTextsIn(const Pixels& shown, const AboutCase& c) {
    auto dark = [&](int x, int y) { return (shown.At(x, y) & 0xC0C0C0) == 0; };
    auto in = [](const Box& b, int x, int y) { return x >= b.left && x < b.right && y >= b.top && y < b.bottom; };
    const Box emblem = {10, 10, 34, 42};
    const Box button = {c.ok.left, c.ok.top, c.ok.right + 1, c.ok.bottom + 1};
    Box found[3] = {{9999, 9999, -1, -1}, {9999, 9999, -1, -1}, {9999, 9999, -1, -1}};
    int stray = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (!dark(x, y) || in(emblem, x, y) || in(button, x, y)) continue;
            int which = -1;
            for (int t = 0; t < 3; ++t) {
                if (in(c.texts[t], x, y)) which = t;
            }
            if (which < 0) {
                ++stray;
                continue;
            }
            found[which].left = std::min(found[which].left, x);
            found[which].top = std::min(found[which].top, y);
            found[which].right = std::max(found[which].right, x);
        }
    }
    EXPECT_EQ(stray, 0) << "dark pixels outside the texts at " << c.baseX << " x " << c.baseY;
    for (int t = 0; t < 3; ++t) {
        EXPECT_GE(found[t].left, c.texts[t].left) << t;
        EXPECT_LE(found[t].left, c.texts[t].left + 3) << "text " << t << " starts at its rectangle's left";
        EXPECT_LE(found[t].top, c.texts[t].top + 5) << "text " << t << " starts at its rectangle's top";
    }
    char title[64] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), IDS_TITLE, title, sizeof title);
    const std::string text = title;
    const Box& rect = c.texts[0];
    EXPECT_LE(ArialWidth(text), rect.right - rect.left) << "the title does not fit at " << c.baseX << " x " << c.baseY;
    EXPECT_GE(found[0].right, rect.left + ArialWidth(text.substr(0, text.size() - 1)))
        << "the title's last letter is missing at " << c.baseX << " x " << c.baseY;
}

TEST_F(AboutTest, ButtonAndTextsFollowTheDialogBaseUnits) {
    const AboutCase cases[] = {
        {8, 16, {250, 60, 313, 81}, {{50, 10, 260, 25}, {50, 30, 260, 45}, {50, 50, 260, 65}}},
        {10, 20, {312, 75, 375, 96}, {{62, 12, 325, 31}, {62, 37, 325, 56}, {62, 62, 325, 81}}},
    };
    for (const AboutCase& c : cases) {
        SetSkinDialogBaseUnits(c.baseX, c.baseY);
        RunAbout([&](HWND hwnd) {
            const RECT r = ChildRect(hwnd, ::GetDlgItem(hwnd, 63));
            EXPECT_EQ(r.left, c.ok.left) << c.baseX;
            EXPECT_EQ(r.top, c.ok.top) << c.baseX;
            EXPECT_EQ(r.right - 1, c.ok.right) << c.baseX;
            EXPECT_EQ(r.bottom - 1, c.ok.bottom) << c.baseX;
            ExpectTextsIn(CaptureClient(hwnd), c);
        });
    }
}

TEST_F(AboutTest, PaintsOverlappingTilesTheEmblemAndTheTexts) {
    RunAbout([&](HWND hwnd) {
        char caption[32] = {};
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "About Tessor");
        const Pixels shown = CaptureClient(hwnd);
        SaveScreenshot(shown, "about");
        const Pixels stone = SkinPixels(137);
        EXPECT_EQ(shown.At(300, 5), stone.At(30, 5)) << "sixth tile column at x 270";
        EXPECT_EQ(shown.At(100, 47), stone.At(46, 3)) << "second row at y 44, pitch 54";
        EXPECT_EQ(shown.At(5, 85), stone.At(5, 41)) << "second row";
        const Pixels emblem = SkinPixels(203);
        EXPECT_TRUE(shown.Part(10, 10, emblem.width, emblem.height) == emblem);
        const Pixels ok = SkinPixels(159);
        EXPECT_TRUE(shown.Part(250, 60, ok.width - 1, ok.height - 1) == ok.Part(0, 0, ok.width - 1, ok.height - 1));
    });
}

struct CloseCase {
    const char* what;
    std::function<void(HWND)> act;
    INT_PTR result;
};

TEST_F(AboutTest, OkEnterEscapeAndTheCloseBoxCloseIt) {
    const CloseCase cases[] = {
        {"OK clicked", [](HWND hwnd) { ClickId(hwnd, 63); }, IDOK},
        // A slip: the box stays open until the run cancels it.
        {"OK pressed, released outside",
         [](HWND hwnd) {
             HWND ok = ::GetDlgItem(hwnd, 63);
             ::SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
             ::SendMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(-150, 200));
         },
         IDCANCEL},
        {"Enter", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
        {"Escape", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close box", [](HWND hwnd) { ::PostMessageA(hwnd, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    for (const CloseCase& c : cases) EXPECT_EQ(RunAbout(c.act), c.result) << c.what;
}

TEST_F(AboutTest, ANotificationFromAnotherControlLeavesItOpen) {
    RunAbout([&](HWND hwnd) {
        ::SendMessageA(hwnd, WM_USER, 64, 1);
        PumpMessages();
        EXPECT_TRUE(::IsWindowVisible(hwnd));
    });
}

}  // namespace
