// The main window's life: the lamp timer against opening and closing, the bitmap
// cache it empties, a window without a card, and a card whose driver goes and
// comes back.
#include <algorithm>
#include <string>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "controls/SkinDropList.h"
#include "controls/SkinFader.h"
#include "controls/SkinKnob.h"
#include "controls/SkinLabel.h"
#include "panel/PanelLaws.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/ThreadWindows.h"
#include "tests/win32/support/RealInput.h"
#include "windows/DiagnosticsDialog.h"

namespace {

// Whether every control of the window shows what card 0 holds, lamps included.
bool ShowsTheCard(HWND hwnd, const VcCard& card) {
    const char* const clocks[] = {"Internal Clock", "ADAT Clock", "S/PDIF Clock", "Word Clock"};
    const char* const rates[] = {"44100 Hz", "48000 Hz"};
    const VcSettings& s = card.settings;
    for (int k = 0; k < 10; ++k) {
        const bool on = s.control[k] == 1;
        const int volume = on ? std::max(s.left[k], s.right[k]) : 65535;
        const int balance = on ? BalanceFromLevels(s.left[k], s.right[k]) : 64;
        if (Control<CSkinButton>(hwnd, kChannelControls[k].switchId).state != (on ? 1 : 0) ||
            Control<CSkinFader>(hwnd, kChannelControls[k].faderId).value != volume ||
            Control<CSkinKnob>(hwnd, kChannelControls[k].knobId).GetValue() != balance) {
            return false;
        }
        const uint32_t state = card.playbackState[k];
        const int lamp = state == 2 ? 210 : state == 3 || state == 4 ? 209 : 216;
        auto* play = static_cast<CSkinButton*>(CWnd::FromHandle(PanelTest::ChildAt(hwnd, 104 + 65 * k, 258)));
        if (play == nullptr || play->bitmaps[0] != LoadSkinBitmap(lamp)) return false;
    }
    const ClockSelection clock = SelectionFromClockMode(s.clockMode);
    return Control<CSkinButton>(hwnd, 73).state == s.autoSync &&
           Control<CSkinDropList>(hwnd, 92).GetWindowText() == clocks[clock.clock] &&
           Control<CSkinDropList>(hwnd, 93).GetWindowText() == rates[clock.rate];
}

constexpr UINT kQuietMs = 60 * 60 * 1000;
constexpr char kDiagnosticsTitle[] = "Zelk MIRVA PCI Diagnostics";
constexpr int kDiagnosticsButton = 95;

// The text of Diagnostics' first field, the card state: the fields share one id.
std::string DiagnosticsCardState(HWND diagnostics) { return Control<CSkinLabel>(diagnostics, 100).GetText(); }

// Dialog boxes of this thread on screen besides the main window: message boxes.
int OtherDialogsShown(HWND main) {
    return static_cast<int>(ThreadWindows([main](HWND window) {
                                return window != main && ::IsWindowVisible(window) && ClassOf(window) == "#32770";
                            }).size());
}

}  // namespace

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

// The driver stops under the open window, Diagnostics open on top; a switch is
// clicked and a fader dragged meanwhile, which the card cannot take; then the driver
// starts again with its cards at their power-on state. The windows find the card by
// themselves and show what it holds; with two cards now, the main window works on
// the last one and Diagnostics, which worked on the first, closes.
TEST_F(PanelTest, ACardWhoseDriverGoesAndComesBackIsFoundAndReadAgain) {
    struct ReturnCase {
        uint32_t cards;
        bool diagnosticsStays;
    } cases[] = {{1, true}, {2, false}};
    CWaveSettingsDialog::SetLampPeriod(20);
    CDiagnosticsDialog::SetPollDelay(kQuietMs);  // only a repaint reads Diagnostics again
    for (const ReturnCase& c : cases) {
        SCOPED_TRACE(c.cards);
        OnCore([](CVirtualCard& core) {
            core.Reset();
            core.SetCardCount(1);
            VcCard& card = core.Card(0);
            card.settings.left[3] = 40000;
            card.settings.right[3] = 25000;
            card.settings.control[5] = 0;
            card.settings.autoSync = 0;
            card.settings.clockMode = 3;
            card.playbackState[0] = 3;
            card.cardState = 2;
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            auto* lamp = static_cast<CSkinButton*>(CWnd::FromHandle(ChildAt(hwnd, 104, 258)));
            ASSERT_NE(lamp, nullptr);
            ASSERT_EQ(lamp->bitmaps[0], LoadSkinBitmap(209));
            HWND diagnostics = nullptr;
            RunInWindowOpenedBy(kDiagnosticsTitle, [&] { ClickId(hwnd, kDiagnosticsButton); }, [&](HWND diag) {
                diagnostics = diag;
                ASSERT_EQ(DiagnosticsCardState(diag), "Opened - No Multi Playing");
                card->SetPresent(false);
                Click(::GetDlgItem(hwnd, 35));
                HWND fader = ::GetDlgItem(hwnd, 54);
                Press(fader, 5, Control<CSkinFader>(hwnd, 54).position);
                Move(fader, 5, 60);
                Release(fader, 5, 60);
                EXPECT_EQ(Control<CSkinButton>(hwnd, 35).state, 1) << "the switch shows what the card did not take";
                EXPECT_EQ(Control<CSkinFader>(hwnd, 54).value, 65535) << "the fader shows what the card did not take";
                EXPECT_TRUE(PumpUntil([&] { return lamp->bitmaps[0] == LoadSkinBitmap(216); }))
                    << "a lamp goes on playing on a card that is gone";

                OnCore([&](CVirtualCard& core) {
                    core.Reset();
                    core.SetCardCount(c.cards);
                });
                card->SetPresent(true);
                const VcCard last = card->WithCore([&](CVirtualCard& core) { return core.Card(c.cards - 1); });
                EXPECT_TRUE(PumpUntil([&] { return ShowsTheCard(hwnd, last); })) << "the window shows what was moved";
                if (c.diagnosticsStays) {
                    EXPECT_TRUE(PumpUntil([&] { return DiagnosticsCardState(diag) == "Ready - No Multi Playing"; }));
                } else {
                    EXPECT_FALSE(::IsWindowVisible(diag)) << "Diagnostics stays on the card index it was opened with";
                }
            });
            EXPECT_FALSE(::IsWindow(diagnostics));

            Click(::GetDlgItem(hwnd, 35));
            EXPECT_EQ(card->WithCore([&](CVirtualCard& core) { return core.Card(c.cards - 1).settings.control[3]; }),
                      0)
                << "the click did not reach the card";
            EXPECT_EQ(OtherDialogsShown(hwnd), 0);
        });
    }
    CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
}
