// The stream lamps: polled once a second and at every repaint, pictures by stream state.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "tests/win32/panel_harness.h"
#include "windows/DiagnosticsDialog.h"

namespace {

CSkinButton* LampAt(HWND dialog, int x, int y) {
    return static_cast<CSkinButton*>(CWnd::FromHandle(PanelTest::ChildAt(dialog, x, y)));
}

bool AllFour(const CSkinButton& lamp, int id) {
    CSkinBitmap* expected = LoadSkinBitmap(id);
    for (CSkinBitmap* b : lamp.bitmaps) {
        if (b != expected) return false;
    }
    return true;
}

struct LampCase {
    uint32_t state;
    int play, record;
};
const LampCase kLampCases[] = {
    {0, 216, 217}, {1, 216, 217}, {2, 210, 212}, {3, 209, 213}, {4, 209, 213}, {5, 216, 217}, {0xFFFFFFFF, 216, 217},
};

}  // namespace

TEST_F(PanelTest, LampsShowTheStreamStatesAtEveryRepaint) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const LampCase& c : kLampCases) {
            SCOPED_TRACE(c.state);
            OnCard([&](VcCard& card) {
                for (uint32_t& s : card.playbackState) s = c.state;
                for (uint32_t& s : card.recordState) s = c.state;
            });
            Repaint(hwnd);
            for (int k = 0; k < 10; ++k) {
                CSkinButton* play = LampAt(hwnd, 104 + 65 * k, 258);
                ASSERT_NE(play, nullptr);
                EXPECT_TRUE(AllFour(*play, c.play)) << "playback lamp " << k;
            }
            for (int k = 0; k < 6; ++k) {
                CSkinButton* record = LampAt(hwnd, 104 + 65 * k, 270);
                ASSERT_NE(record, nullptr);
                EXPECT_TRUE(AllFour(*record, c.record)) << "record lamp " << k;
            }
        }
    });
}

TEST_F(PanelTest, LampsTellStreamsApartAndArePainted) {
    OnCard([](VcCard& card) {
        card.playbackState[2] = 3;
        card.playbackState[7] = 2;
        card.recordState[5] = 4;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 2, 258), 209));
        EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 7, 258), 210));
        EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 5, 270), 213));
        EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 3, 258), 216));
        const Pixels screen = CaptureClient(hwnd);
        const Pixels playing = SkinPixels(209);
        const Pixels idle = SkinPixels(216);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 43; ++x) {
                ASSERT_EQ(screen.At(104 + 65 * 2 + x, 258 + y), playing.At(x, y)) << x << "," << y;
                ASSERT_EQ(screen.At(104 + 65 * 3 + x, 258 + y), idle.At(x, y)) << x << "," << y;
            }
        }
    });
}

TEST_F(PanelTest, LampTimerPollsTheSixteenStreamsWithoutARepaint) {
    CWaveSettingsDialog::SetLampPeriod(CWaveSettingsDialog::kDefaultLampPeriodMs);
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        OnCard([](VcCard& card) { card.playbackState[4] = 2; });
        std::vector<LoggedRequest> log;
        ASSERT_TRUE(PumpUntil([&] {
            for (const LoggedRequest& r : TakeLog()) log.push_back(r);
            return log.size() >= 16;
        }));
        ASSERT_EQ(log.size(), 16u);
        for (uint32_t k = 0; k < 16; ++k) {
            EXPECT_EQ(log[k].code, kQueryStatus);
            EXPECT_EQ(log[k].Word(16), k < 10 ? 15u : 14u);
            EXPECT_EQ(log[k].Word(20), k < 10 ? k : k - 10);
        }
        // The states reach the window after the poll, which runs on the timer's thread.
        EXPECT_TRUE(PumpUntil([&] { return AllFour(*LampAt(hwnd, 104 + 65 * 4, 258), 210); }));
    });
}

TEST_F(PanelTest, APollReadBeforeARepaintNeverReplacesTheLampsTheRepaintShows) {
    CWaveSettingsDialog::SetLampPeriod(20);
    OnCard([](VcCard& card) { card.playbackState[2] = 3; });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        // The poll starts once the first paint is through.
        ASSERT_TRUE(PumpEachUntil([&] {
            MSG tick;
            return ::PeekMessageA(&tick, hwnd, CWaveSettingsDialog::kLampTickMessage,
                                  CWaveSettingsDialog::kLampTickMessage, PM_NOREMOVE) != FALSE;
        })) << "a poll's states wait, read running";
        OnCard([](VcCard& card) { card.playbackState[2] = 0; });
        Repaint(hwnd);  // painted at once, ahead of the tick
        ASSERT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 2, 258), 216));
        HandleFirstQueued(hwnd, CWaveSettingsDialog::kLampTickMessage);
        EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 2, 258), 216)) << "the older poll's state shown after the newer one";
    });
}

namespace {

constexpr UINT kFastLampPeriodMs = 20;

// Ticks of a multimedia timer with the lamp timer's period: once it has ticked a few
// times, a running lamp timer would have polled. Each tick wakes the pumping thread.
class LampPeriods {
public:
    LampPeriods()
        : timer_(::timeSetEvent(kFastLampPeriodMs, 0, Tick, reinterpret_cast<DWORD_PTR>(this),
                                TIME_PERIODIC | TIME_KILL_SYNCHRONOUS)) {}
    ~LampPeriods() { ::timeKillEvent(timer_); }
    int Passed() const { return ticks_; }

private:
    static void CALLBACK Tick(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR) {
        auto* periods = reinterpret_cast<LampPeriods*>(self);
        ++periods->ticks_;
        ::PostThreadMessageA(periods->thread_, WM_NULL, 0, 0);
    }
    std::atomic<int> ticks_{0};
    const DWORD thread_ = ::GetCurrentThreadId();
    const UINT timer_;
};

}  // namespace

// A poll nobody sees changes nothing a user can see: a minimised or hidden window
// asks the card nothing, and the repaint that shows it again reads the lamps at once.
TEST_F(PanelTest, AMinimisedOrHiddenWindowPollsNoLampsAndReadsThemWhenShownAgain) {
    struct ShowCase {
        int away, back;
    };
    for (const ShowCase& c : {ShowCase{SW_MINIMIZE, SW_RESTORE}, ShowCase{SW_HIDE, SW_SHOW}}) {
        SCOPED_TRACE(c.away);
        CWaveSettingsDialog::SetLampPeriod(kFastLampPeriodMs);
        OnCard([](VcCard& card) { card.playbackState[2] = 0; });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            ::ShowWindow(hwnd, c.away);
            PumpMessages();
            ClearLog();
            OnCard([](VcCard& card) { card.playbackState[2] = 3; });
            const LampPeriods periods;
            ASSERT_TRUE(PumpUntil([&] { return periods.Passed() >= 5; }));
            EXPECT_TRUE(TakeLog().empty());
            EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 2, 258), 216));

            ::ShowWindow(hwnd, c.back);
            ::UpdateWindow(hwnd);
            EXPECT_GE(TakeLog().size(), 38u) << "the repaint reads everything";
            EXPECT_TRUE(AllFour(*LampAt(hwnd, 104 + 65 * 2, 258), 209)) << "before any tick";
        });
    }
}

// Diagnostics has no owner, so it stays on screen while the main window is minimised:
// it goes on reading the card, and the lamps nobody sees are not polled.
TEST_F(PanelTest, AMinimisedWindowPollsNoLampsWhileTheDiagnosticsItOpenedGoesOn) {
    CWaveSettingsDialog::SetLampPeriod(kFastLampPeriodMs);
    CDiagnosticsDialog::SetPollDelay(kFastLampPeriodMs);
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        RunInWindowOpenedBy("Zelk MIRVA PCI Diagnostics", [&] { ClickId(hwnd, 95); }, [&](HWND diagnostics) {
            ::ShowWindow(hwnd, SW_MINIMIZE);
            PumpMessages();
            ASSERT_TRUE(::IsWindowVisible(diagnostics));
            ClearLog();
            const LampPeriods periods;
            ASSERT_TRUE(PumpUntil([&] { return periods.Passed() >= 5; }));
            const std::vector<LoggedRequest> log = TakeLog();
            EXPECT_GE(log.size(), 6u) << "Diagnostics polls on";
            EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                    [](const LoggedRequest& r) {
                                        return r.code == kQueryStatus && (r.Word(16) == 15 || r.Word(16) == 14);
                                    }),
                      0)
                << "lamp requests";
        });
    });
    CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
}
