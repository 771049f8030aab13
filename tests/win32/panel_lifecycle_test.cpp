// The main window's life: the lamp timer against opening and closing, the bitmap
// cache it empties, and a window without a card.
#include "controls/BitmapCache.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/RealInput.h"

TEST_F(PanelTest, OpeningAndClosingWithAFastPollIsClean) {
    CWaveSettingsDialog::SetLampPeriod(10);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        RunPanel([&](CWaveSettingsDialog&, HWND) {
            // Let several ticks reach the window while it is open.
            const uint32_t start = RequestCount();
            EXPECT_TRUE(PumpUntil([&] { return RequestCount() >= start + 3 * 16; }));
        });
        // Ticks already posted die with the window; the object took the cache along.
        PumpMessages();
        EXPECT_EQ(CountSkinBitmaps(), 0);
    }
    const uint32_t closed = RequestCount();
    const ULONGLONG until = ::GetTickCount64() + 200;
    PumpUntil([&] { return ::GetTickCount64() >= until; });
    EXPECT_EQ(RequestCount(), closed) << "a poll ran after its window was destroyed";
}

TEST_F(PanelTest, WithoutACardTheWindowAsksNothingBeyondDiscovery) {
    OnCore([](CVirtualCard& core) { core.SetCardCount(0); });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        Repaint(hwnd);
        ::SendMessageA(hwnd, WM_USER, 51, 40000);
        for (const LoggedRequest& r : TakeLog()) {
            EXPECT_TRUE(r.code == 4403 || r.code == 4411) << r.code;
        }
    });
}

// Keys as the user presses them, handled by the window's own modal loop.
TEST_F(PanelTest, EnterEndsTheProgramWithOkAndEscapeWithCancel) {
    struct KeyCase {
        const char* name;
        WORD key;
        INT_PTR result;
    };
    const KeyCase cases[] = {{"Enter", VK_RETURN, IDOK}, {"Escape", VK_ESCAPE, IDCANCEL}};
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        CWaveSettingsDialog dialog;
        const INT_PTR result = RunModalLeftToItself(dialog, [&](HWND hwnd) {
            ::SetForegroundWindow(hwnd);
            ASSERT_EQ(::GetForegroundWindow(), hwnd);
            RealKey(c.key);
        });
        EXPECT_EQ(result, c.result);
    }
}
