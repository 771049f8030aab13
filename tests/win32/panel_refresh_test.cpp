// The main window's re-read: what one repaint asks the card, and what it shows.
#include <algorithm>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "controls/SkinDropList.h"
#include "controls/SkinFader.h"
#include "controls/SkinKnob.h"
#include "resources/resource.h"
#include "tests/win32/panel_harness.h"

namespace {

constexpr int kAutoSyncId = 73;
constexpr int kClockId = 92;
constexpr int kRateId = 93;

struct ChannelCase {
    uint8_t control;
    uint16_t left, right;
    int fader, knob;  // what the strip shows
};

// Off channels show full level and centre balance whatever the card holds.
const ChannelCase kChannelCases[10] = {
    {1, 65535, 65535, 65535, 64},  {1, 65535, 49152, 65535, 48}, {0, 1000, 2000, 65535, 64},
    {1, 40000, 25000, 40000, 40},  {1, 0, 0, 0, 64},             {1, 100, 0, 100, 0},
    {0, 40000, 65535, 65535, 64},  {1, 50, 100, 100, 96},        {1, 0, 100, 100, 127},
    {1, 32768, 32768, 32768, 64},
};

int g_iconErased = 0;

LRESULT CALLBACK WatchIconErase(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_ICONERASEBKGND && message->wParam != 0) ++g_iconErased;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(PanelTest, OneRepaintAsksTheCard38TimesInOrder) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        Repaint(hwnd);
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 38u);
        for (uint32_t k = 0; k < 10; ++k) {
            EXPECT_EQ(log[k].code, kGetChannelControl);
            EXPECT_EQ(log[k].Word(8), k);
        }
        EXPECT_EQ(log[10].code, kGetAutoSync);
        for (uint32_t k = 0; k < 10; ++k) {
            EXPECT_EQ(log[11 + k].code, kGetChannelLevels);
            EXPECT_EQ(log[11 + k].Word(8), k);
        }
        EXPECT_EQ(log[21].code, kGetClockMode);
        for (uint32_t k = 0; k < 10; ++k) {
            const LoggedRequest& r = log[22 + k];
            EXPECT_EQ(r.code, kQueryStatus);
            EXPECT_EQ(r.Word(8), 0u) << "bank";
            EXPECT_EQ(r.Word(16), 15u) << "playback state";
            EXPECT_EQ(r.Word(20), k);
        }
        for (uint32_t k = 0; k < 6; ++k) {
            const LoggedRequest& r = log[32 + k];
            EXPECT_EQ(r.code, kQueryStatus);
            EXPECT_EQ(r.Word(16), 14u) << "record state";
            EXPECT_EQ(r.Word(20), k);
        }
    });
}

TEST_F(PanelTest, RepaintShowsEveryChannelAsTheCardHoldsIt) {
    OnCard([](VcCard& c) {
        for (int k = 0; k < 10; ++k) {
            c.settings.control[k] = kChannelCases[k].control;
            c.settings.left[k] = kChannelCases[k].left;
            c.settings.right[k] = kChannelCases[k].right;
        }
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (int k = 0; k < 10; ++k) {
            SCOPED_TRACE(k);
            const ChannelCase& expected = kChannelCases[k];
            const bool on = expected.control == 1;
            auto& sw = Control<CSkinButton>(hwnd, kChannelControls[k].switchId);
            auto& fader = Control<CSkinFader>(hwnd, kChannelControls[k].faderId);
            auto& knob = Control<CSkinKnob>(hwnd, kChannelControls[k].knobId);
            EXPECT_EQ(sw.state, on ? 1 : 0);
            EXPECT_EQ(fader.value, expected.fader);
            EXPECT_EQ(knob.GetValue(), expected.knob);
            EXPECT_EQ(fader.active, on ? 1 : 0);
            EXPECT_EQ(knob.active, on ? 1 : 0);
            EXPECT_EQ(fader.trackBitmap, LoadSkinBitmap(on ? 155 : 180));
            EXPECT_EQ(fader.thumbBitmap, LoadSkinBitmap(on ? 156 : 179));
            EXPECT_EQ(knob.bitmap, LoadSkinBitmap(on ? 158 : 187));
            EXPECT_EQ(knob.pointerColour, on ? RGB(12, 12, 12) : RGB(160, 160, 160));
        }
    });
}

TEST_F(PanelTest, RepaintShowsAutoSyncBothWays) {
    for (uint8_t flag : {0, 1}) {
        OnCard([&](VcCard& c) { c.settings.autoSync = flag; });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            EXPECT_EQ(Control<CSkinButton>(hwnd, kAutoSyncId).state, flag);
        });
    }
}

TEST_F(PanelTest, RepaintShowsClockAndRateWithoutSendingThem) {
    struct ClockCase {
        uint16_t code;
        const char* clock;
        const char* rate;
    };
    const ClockCase cases[] = {
        {0, "Internal Clock", "48000 Hz"}, {1, "Internal Clock", "44100 Hz"}, {2, "ADAT Clock", "48000 Hz"},
        {5, "S/PDIF Clock", "44100 Hz"},  {6, "Word Clock", "48000 Hz"},     {7, "Word Clock", "44100 Hz"},
        {9, "Internal Clock", "44100 Hz"},
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const ClockCase& c : cases) {
            SCOPED_TRACE(c.code);
            OnCard([&](VcCard& card) { card.settings.clockMode = c.code; });
            Repaint(hwnd);
            PumpMessages();
            EXPECT_EQ(Control<CSkinDropList>(hwnd, kClockId).GetWindowText(), c.clock);
            EXPECT_EQ(Control<CSkinDropList>(hwnd, kRateId).GetWindowText(), c.rate);
            for (const LoggedRequest& r : TakeLog()) EXPECT_NE(r.code, kSetClockMode);
        }
    });
}

// A repaint reads the card again, and so does the system's resume from sleep, after
// which the card may have been reset or its driver loaded again.
TEST_F(PanelTest, WhatReadsTheCardAgainShowsTheNewLevels) {
    struct ReadCase {
        const char* name;
        void (*read)(HWND hwnd);
    } cases[] = {
        {"repaint",
         [](HWND hwnd) {
             ::InvalidateRect(hwnd, nullptr, TRUE);
             ::UpdateWindow(hwnd);
         }},
        {"resume from sleep", [](HWND hwnd) { ::SendMessageA(hwnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            OnCard([](VcCard& card) {
                card.settings.left[3] = 20000;
                card.settings.right[3] = 10000;
            });
            c.read(hwnd);
            EXPECT_EQ(Control<CSkinFader>(hwnd, 51).value, 20000);
            EXPECT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 32);
        });
        OnCard([](VcCard& card) {
            card.settings.left[3] = 65535;
            card.settings.right[3] = 65535;
        });
    }
}

TEST_F(PanelTest, MinimisedRepaintDrawsTheIconAndAsksTheCardNothing) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ::ShowWindow(hwnd, SW_MINIMIZE);
        PumpMessages();
        ASSERT_TRUE(::IsIconic(hwnd));
        ClearLog();
        // Wine gives a minimised window an empty client area, so the paint is asked for
        // directly; the icon paint starts by having the icon's background erased.
        g_iconErased = 0;
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchIconErase, nullptr, ::GetCurrentThreadId());
        ::SendMessageA(hwnd, WM_PAINT, 0, 0);
        ::UnhookWindowsHookEx(hook);
        PumpMessages();
        EXPECT_EQ(g_iconErased, 1);
        EXPECT_TRUE(TakeLog().empty());

        ::ShowWindow(hwnd, SW_RESTORE);
        ::UpdateWindow(hwnd);
        EXPECT_EQ(TakeLog().size(), 38u);
    });
}

TEST_F(PanelTest, FailedReadsKeepWhatTheControlsShowed) {
    OnCard([](VcCard& c) {
        c.settings.left[3] = 40000;
        c.settings.right[3] = 25000;
        c.settings.autoSync = 1;
        c.settings.clockMode = 2;
        c.playbackState[0] = 3;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        OnCard([](VcCard& c) {
            c.settings.control[3] = 0;
            c.settings.autoSync = 0;
        });
        OnCore([](CVirtualCard& core) { core.FailNextCalls(38); });
        Repaint(hwnd);
        EXPECT_EQ(Control<CSkinButton>(hwnd, 35).state, 1);
        EXPECT_EQ(Control<CSkinFader>(hwnd, 51).value, 40000);
        EXPECT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 40);
        EXPECT_EQ(Control<CSkinButton>(hwnd, kAutoSyncId).state, 1);
        EXPECT_EQ(Control<CSkinDropList>(hwnd, kClockId).GetWindowText(), "ADAT Clock");
        auto* lamp = static_cast<CSkinButton*>(CWnd::FromHandle(ChildAt(hwnd, 104, 258)));
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->bitmaps[0], LoadSkinBitmap(209));
    });
}

TEST_F(PanelTest, EveryRequestGoesToTheLastCardFound) {
    // Driver indexes 0 and 2 answer: the last card found has card index 1, driver index 2.
    OnCore([](CVirtualCard& core) { core.SetAnswerMask(0x5); });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        Repaint(hwnd);
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 38u);
        for (const LoggedRequest& r : log) EXPECT_EQ(r.DriverIndex(), 2u) << r.code;
    });
}

TEST_F(PanelTest, ControlsSitAtTheirPlacesWithTheirIds) {
    struct Placed {
        int id, x, y, width, height;
    };
    std::vector<Placed> placed = {
        {62, 676, 298, 64, 22},  {64, 605, 300, 60, 17},  {71, 361, 300, 105, 17}, {72, 476, 300, 105, 17},
        {65, 10, 210, 75, 17},   {66, 10, 233, 75, 17},   {73, 10, 114, 75, 17},   {90, 10, 137, 75, 17},
        {94, 4, 300, 105, 17},   {101, 119, 300, 113, 17}, {95, 242, 300, 91, 17}, {92, 8, 30, 79, 17},
        {93, 8, 53, 79, 17},
    };
    for (int k = 0; k < 10; ++k) {
        placed.push_back({kChannelControls[k].switchId, 100 + 65 * k, 226, 52, 29});
        placed.push_back({kChannelControls[k].faderId, 119 + 65 * k, 80, 14, 126});
        placed.push_back({kChannelControls[k].knobId, 114 + 65 * k, 34, 24, 24});
    }
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const Placed& p : placed) {
            SCOPED_TRACE(p.id);
            HWND child = ::GetDlgItem(hwnd, p.id);
            ASSERT_NE(child, nullptr);
            RECT rect{};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(rect.left, p.x);
            EXPECT_EQ(rect.top, p.y);
            EXPECT_EQ(rect.right - rect.left, p.width);
            EXPECT_EQ(rect.bottom - rect.top, p.height);
            EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE)) & WS_TABSTOP, 0u);
        }
        // Ten playback lamps and six record lamps, all with id 100.
        int lamps = 0;
        for (HWND c = ::GetWindow(hwnd, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(c) == 100) ++lamps;
        }
        EXPECT_EQ(lamps, 16);
        for (int k = 0; k < 10; ++k) {
            EXPECT_NE(ChildAt(hwnd, 104 + 65 * k, 258), nullptr) << "playback lamp " << k;
            EXPECT_EQ(ChildAt(hwnd, 104 + 65 * k, 270) != nullptr, k < 6) << "record lamp " << k;
        }
    });
}

TEST_F(PanelTest, PaintDrawsTilesFramesAndTexts) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        const Pixels screen = CaptureClient(hwnd);
        const Pixels tile = SkinPixels(137);
        // Rows are 76 apart, so the second row's tile starts at y = 76.
        EXPECT_EQ(screen.At(2, 2), tile.At(2, 2));
        EXPECT_EQ(screen.At(90, 5), tile.At(10, 5));
        EXPECT_EQ(screen.At(2, 78), tile.At(2, 2));
        // Strip 9's frame (680, 10, 740, 283) and the synchronization group (4, 94, 89, 161).
        EXPECT_EQ(screen.At(680, 100), Rgb(155, 164, 172));
        EXPECT_EQ(screen.At(681, 100), Rgb(95, 101, 97));
        EXPECT_EQ(screen.At(739, 100), Rgb(187, 200, 216));
        EXPECT_EQ(screen.At(740, 100), Rgb(231, 231, 231));
        EXPECT_EQ(screen.At(4, 120), Rgb(155, 164, 172));
        EXPECT_EQ(screen.At(88, 120), Rgb(187, 200, 216));
        // Black text on the light stone: "Device Status:" in (18, 263, 89, 274).
        bool text = false;
        for (int y = 263; y < 274; ++y) {
            for (int x = 18; x < 89; ++x) text = text || screen.At(x, y) == 0;
        }
        EXPECT_TRUE(text);
    });
}

TEST_F(PanelTest, ReReadThatSwitchesAChannelOnRepaintsItsWorkingLook) {
    OnCard([](VcCard& c) {
        c.settings.control[0] = 0;
        c.defaults.control[0] = 1;
    });
    // Rows 40 to 119 of channel 0's fader (at (119, 80)) lie below its thumb at full level.
    const auto faderShows = [](const Pixels& screen, const Pixels& track) {
        for (int y = 40; y < 120; ++y) {
            for (int x = 0; x < 14; ++x) {
                if (screen.At(119 + x, 80 + y) != track.At(x, y)) return false;
            }
        }
        return true;
    };
    const auto knobShows = [](const Pixels& screen, const Pixels& face) {
        for (int x = 0; x < 8; ++x) {
            if (screen.At(114 + x, 34 + 20) != face.At(x, 20)) return false;
        }
        return true;
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        const Pixels track = SkinPixels(155);
        const Pixels fadedTrack = SkinPixels(180);
        const Pixels knob = SkinPixels(158);
        const Pixels fadedKnob = SkinPixels(187);
        const Pixels before = CaptureClient(hwnd);
        EXPECT_TRUE(faderShows(before, fadedTrack));
        EXPECT_TRUE(knobShows(before, fadedKnob));
        // The fader keeps 65535 and the knob 64: neither changes value on this re-read.
        ClickId(hwnd, 72);
        const Pixels after = CaptureClient(hwnd);
        EXPECT_TRUE(faderShows(after, track));
        EXPECT_TRUE(knobShows(after, knob));
    });
}

// A repaint of the main window reads every switch and list back, but leaves alone
// those that already show what the card holds; one that changed shows its new face.
TEST_F(PanelTest, RepaintRedrawsOnlyTheSwitchesAndListsThatChanged) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        PumpMessages();
        ASSERT_EQ(Control<CSkinDropList>(hwnd, kClockId).GetWindowText(), "Internal Clock");
        ASSERT_EQ(Control<CSkinDropList>(hwnd, kRateId).GetWindowText(), "48000 Hz");
        const int switchedOn = Control<CSkinButton>(hwnd, kChannelControls[2].switchId).state == 1 ? 0 : 1;
        OnCard([&](VcCard& c) {
            c.settings.control[2] = static_cast<uint8_t>(switchedOn);
            c.settings.clockMode = 2;  // ADAT clock, still 48000 Hz
        });
        // The main window's own paint alone: what it invalidates stays pending.
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        ::SendMessageA(hwnd, WM_PAINT, 0, 0);
        struct Case {
            int id;
            bool redrawn;
        };
        const Case cases[] = {
            {kChannelControls[2].switchId, true}, {kChannelControls[3].switchId, false},
            {kChannelControls[9].switchId, false}, {kAutoSyncId, false},
            {kClockId, true},                      {kRateId, false},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(::GetUpdateRect(::GetDlgItem(hwnd, c.id), nullptr, FALSE) != FALSE, c.redrawn) << c.id;
        }
        PumpMessages();
        const Pixels face = SkinPixels(switchedOn == 1 ? IDB_ENABLE_ON_UP : IDB_ENABLE_OFF_UP);
        EXPECT_TRUE(CaptureClient(::GetDlgItem(hwnd, kChannelControls[2].switchId)) ==
                    face.Crop(face.width - 1, face.height - 1));
        EXPECT_EQ(Control<CSkinDropList>(hwnd, kClockId).GetWindowText(), "ADAT Clock");
    });
}
