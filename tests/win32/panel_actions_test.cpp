// What the main window sends the card when the user works its controls.
#include <windowsx.h>

#include <cstring>
#include <functional>
#include <string>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "controls/SkinDropList.h"
#include "controls/SkinFader.h"
#include "controls/SkinKnob.h"
#include "device/ProgramLauncher.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/DropListFace.h"

namespace {

struct LevelsSent {
    uint32_t channel;
    uint16_t left, right;
};

LevelsSent LastLevels(const std::vector<LoggedRequest>& log) {
    for (auto r = log.rbegin(); r != log.rend(); ++r) {
        if (r->code == kSetChannelLevels) return {r->Half(20), r->Half(22), r->Half(24)};
    }
    ADD_FAILURE() << "no levels were sent";
    return {};
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// Opens a drop-down, moves over an item and clicks it, as the mouse would.
void ChooseItem(HWND dialog, int listId, int index) {
    HWND face = ::GetDlgItem(dialog, listId);
    auto& list = Control<CSkinDropList>(dialog, listId);
    ::SendMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
    ::SendMessageA(face, WM_LBUTTONUP, 0, Point(3, 3));
    RECT item{};
    ::SendMessageA(list.popup.m_hWnd, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT p = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(list.popup.m_hWnd, &p);
    ::ScreenToClient(face, &p);
    ::SendMessageA(face, WM_MOUSEMOVE, 0, Point(p.x, p.y));
    ::SendMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, Point(p.x, p.y));
    ::SendMessageA(face, WM_LBUTTONUP, 0, Point(p.x, p.y));
    // The list's choice and the change notification are both posted.
    PumpMessages();
    PumpMessages();
}

// Opens a drop-down, then presses and releases beside the list without passing over
// an item: the list closes without a choice.
void OpenAndClickAway(HWND dialog, int listId) {
    HWND face = ::GetDlgItem(dialog, listId);
    auto& list = Control<CSkinDropList>(dialog, listId);
    Click(face);
    RECT client{};
    ::GetClientRect(list.popup.m_hWnd, &client);
    POINT beside = {client.right + 40, client.bottom / 2};
    ::MapWindowPoints(list.popup.m_hWnd, face, &beside, 1);
    Click(face, beside.x, beside.y);
    PumpMessages();
    PumpMessages();
}

// The drop-down at rest shows text, both as its window text and on the screen.
void ExpectFace(HWND dialog, int listId, const char* text) {
    HWND face = ::GetDlgItem(dialog, listId);
    EXPECT_EQ(Control<CSkinDropList>(dialog, listId).GetWindowText(), text) << listId;
    EXPECT_EQ(CaptureClient(face), DropListFace(190, text, false)) << listId << " " << text;
}

// The clock modes the card was asked to set, in order.
std::vector<uint32_t> ClockModesSent(const std::vector<LoggedRequest>& log) {
    std::vector<uint32_t> modes;
    for (const LoggedRequest& r : log) {
        if (r.code == kSetClockMode) modes.push_back(r.Word(16));
    }
    return modes;
}

// Message boxes and dialogs that come up while a test runs; each box is answered with OK.
struct ShownWindow {
    std::string caption, text;
    HWND owner;
    bool icon, cancel;
};
std::vector<ShownWindow> g_shown;
HWND g_mainWindow = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (window != g_mainWindow && std::strcmp(className, "#32770") == 0) {
            char caption[256] = {};
            char text[256] = {};
            ::GetWindowTextA(window, caption, sizeof caption);
            ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            HWND icon = ::GetDlgItem(window, stc1 + 0);
            const bool hasIcon = icon != nullptr && ::SendMessageA(icon, STM_GETICON, 0, 0) != 0;
            HWND cancel = ::GetDlgItem(window, IDCANCEL);
            g_shown.push_back({caption, text, ::GetWindow(window, GW_OWNER), hasIcon,
                               cancel != nullptr && ::IsWindowVisible(cancel)});
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

class WatchDialogs {
public:
    explicit WatchDialogs(HWND main) {
        g_shown.clear();
        g_mainWindow = main;
        g_hook = ::SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, ::GetCurrentThreadId());
    }
    ~WatchDialogs() { ::UnhookWindowsHookEx(g_hook); }
};

}  // namespace

TEST_F(PanelTest, DraggingAFaderSendsItsVolumeWithTheStripsBalance) {
    OnCard([](VcCard& c) {
        c.settings.left[3] = 40000;
        c.settings.right[3] = 25000;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ASSERT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 40);
        // The fader's own notification of a drag that ended at 40000.
        ClearLog();
        ::SendMessageA(hwnd, WM_USER, 51, 40000);
        std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].code, kSetChannelLevels);
        EXPECT_EQ(log[0].Half(20), 3u);
        EXPECT_EQ(log[0].Half(22), 40000u);
        EXPECT_EQ(log[0].Half(24), 25000u);

        // A drag with the mouse: one request per move, the last at position 20 (46431).
        HWND fader = ::GetDlgItem(hwnd, 51);
        const int thumb = Control<CSkinFader>(hwnd, 51).position;
        ::SendMessageA(fader, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, thumb));
        ::SendMessageA(fader, WM_MOUSEMOVE, MK_LBUTTON, Point(5, thumb - 3));
        ::SendMessageA(fader, WM_MOUSEMOVE, MK_LBUTTON, Point(5, 20));
        ::SendMessageA(fader, WM_LBUTTONUP, 0, Point(5, 20));
        log = TakeLog();
        EXPECT_EQ(log.size(), 2u);
        const LevelsSent last = LastLevels(log);
        EXPECT_EQ(last.channel, 3u);
        EXPECT_EQ(last.left, 46431u);
        EXPECT_EQ(last.right, 29020u);
    });
}

TEST_F(PanelTest, TurningAKnobSendsTheBalanceWithTheStripsVolume) {
    struct KnobCase {
        int balance;
        uint16_t left, right;
    };
    const KnobCase cases[] = {
        {127, 0, 65535}, {0, 65535, 0}, {64, 65535, 65535}, {62, 65535, 65535},
        {66, 65535, 65535}, {67, 62415, 65535}, {32, 65535, 32768},
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ASSERT_EQ(Control<CSkinFader>(hwnd, 54).value, 65535);
        for (const KnobCase& c : cases) {
            SCOPED_TRACE(c.balance);
            ClearLog();
            ::SendMessageA(hwnd, WM_USER, 60, c.balance);
            const LevelsSent sent = LastLevels(TakeLog());
            EXPECT_EQ(sent.channel, 0u);
            EXPECT_EQ(sent.left, c.left);
            EXPECT_EQ(sent.right, c.right);
        }

        // Dragged with the mouse 10 pixels to the right of the centre: balance 74.
        HWND knob = ::GetDlgItem(hwnd, 60);
        ClearLog();
        ::SendMessageA(knob, WM_LBUTTONDOWN, MK_LBUTTON, Point(12, 12));
        ::SendMessageA(knob, WM_MOUSEMOVE, MK_LBUTTON, Point(22, 12));
        ::SendMessageA(knob, WM_LBUTTONUP, 0, Point(22, 12));
        const LevelsSent sent = LastLevels(TakeLog());
        EXPECT_EQ(sent.left, 55133u);
        EXPECT_EQ(sent.right, 65535u);
    });
}

TEST_F(PanelTest, ChannelSwitchKeepsTheCardsLevelsAndShowsThemAgainWhenOn) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        auto& fader = Control<CSkinFader>(hwnd, 82);
        auto& knob = Control<CSkinKnob>(hwnd, 86);
        ASSERT_EQ(fader.value, 65535);
        ASSERT_EQ(knob.GetValue(), 89);  // the card holds (40000, 65535)
        ClearLog();
        ClickId(hwnd, 74);
        std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].code, kChannelControlOff);
        EXPECT_EQ(log[0].Word(8), 6u);
        EXPECT_EQ(fader.value, 65535);
        EXPECT_EQ(knob.GetValue(), 64);
        EXPECT_EQ(fader.active, 0);
        EXPECT_EQ(knob.active, 0);
        EXPECT_EQ(fader.trackBitmap, LoadSkinBitmap(180));
        EXPECT_EQ(knob.bitmap, LoadSkinBitmap(187));

        // Switched on, the strip reads its levels back: no levels are sent.
        ClickId(hwnd, 74);
        log = TakeLog();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].code, kChannelControlOn);
        EXPECT_EQ(log[0].Word(8), 6u);
        EXPECT_EQ(log[1].code, kGetChannelLevels);
        EXPECT_EQ(log[1].Word(8), 6u);
        EXPECT_EQ(fader.value, 65535);
        EXPECT_EQ(knob.GetValue(), 89);
        EXPECT_EQ(fader.active, 1);
        EXPECT_EQ(knob.active, 1);
        EXPECT_EQ(fader.trackBitmap, LoadSkinBitmap(155));
        EXPECT_EQ(knob.bitmap, LoadSkinBitmap(158));
        OnCard([](VcCard& c) {
            EXPECT_EQ(c.settings.left[6], 40000u);
            EXPECT_EQ(c.settings.right[6], 65535u);
        });
    });
}

TEST_F(PanelTest, SwitchedOffStripSendsNoLevelsWhateverItsControlsNotify) {
    // Off as the card reported it, or switched off on the panel.
    struct OffCase {
        const char* name;
        uint32_t control;
        bool switchOff;
    };
    const OffCase cases[] = {{"read off", 0, false}, {"switched off", 1, true}};
    for (const OffCase& c : cases) {
        SCOPED_TRACE(c.name);
        OnCard([&](VcCard& card) {
            card.settings.control[3] = c.control;
            card.settings.left[3] = 40000;
            card.settings.right[3] = 25000;
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            if (c.switchOff) ClickId(hwnd, 35);
            HWND knob = ::GetDlgItem(hwnd, 57);
            ClearLog();
            // A double-click as the system delivers it.
            Press(knob, 12, 12);
            Release(knob, 12, 12);
            DoubleClick(knob, 12, 12);
            Release(knob, 12, 12);
            PumpMessages();
            EXPECT_TRUE(TakeLog().empty());
            EXPECT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 64);
            // The fader's notification, which an off fader does not send by itself.
            ::SendMessageA(hwnd, WM_USER, 51, 30000);
            EXPECT_TRUE(TakeLog().empty());
            OnCard([](VcCard& card) {
                EXPECT_EQ(card.settings.left[3], 40000u);
                EXPECT_EQ(card.settings.right[3], 25000u);
            });
        });
    }
}

// A re-read and a touch of the fader that moves nothing send what the card holds:
// the balance never walks toward the centre. Levels that no knob position gives may
// settle once on the nearest position.
TEST_F(PanelTest, RepaintsAndUnmovingFaderTouchesKeepTheCardsLevels) {
    struct HeldCase {
        int channel;
        uint16_t left, right;
        int changesAllowed;
    };
    const HeldCase cases[] = {
        {1, 65535, 32768, 0},  // what the knob at 32 sends
        {3, 40000, 65535, 1},
        {5, 30000, 12345, 1},
    };
    OnCard([&](VcCard& c) {
        for (const HeldCase& h : cases) {
            c.settings.left[h.channel] = h.left;
            c.settings.right[h.channel] = h.right;
        }
    });
    int changes[3] = {};
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (int round = 0; round < 3; ++round) {
            Repaint(hwnd);
            for (int i = 0; i < 3; ++i) {
                const HeldCase& h = cases[i];
                auto& fader = Control<CSkinFader>(hwnd, kChannelControls[h.channel].faderId);
                uint16_t before[2] = {};
                OnCard([&](VcCard& c) {
                    before[0] = c.settings.left[h.channel];
                    before[1] = c.settings.right[h.channel];
                });
                // Grabbed on the thumb and moved sideways: the volume stays.
                const int thumb = fader.position;
                ClearLog();
                Press(fader, 5, thumb);
                Move(fader, 8, thumb);
                Release(fader, 8, thumb);
                EXPECT_EQ(Codes(TakeLog()), std::vector<uint32_t>{kSetChannelLevels});
                OnCard([&](VcCard& c) {
                    if (c.settings.left[h.channel] != before[0] || c.settings.right[h.channel] != before[1]) ++changes[i];
                });
            }
        }
    });
    for (int i = 0; i < 3; ++i) EXPECT_LE(changes[i], cases[i].changesAllowed) << "channel " << cases[i].channel;
}

TEST_F(PanelTest, FirstMoveAfterSwitchOnSendsTheCardsLevelsNotFullLevel) {
    enum Moved { kKnob, kFader };
    struct MoveCase {
        Moved moved;
        uint32_t left, right;
    };
    // The card holds (40000, 25000): volume 40000, balance 40. One pixel right on the
    // knob gives balance 41; the fader dragged to row 20 gives volume 46431.
    const MoveCase cases[] = {{kKnob, 40000, 25625}, {kFader, 46431, 29020}};
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.moved);
        OnCard([](VcCard& card) {
            card.settings.control[3] = 0;
            card.settings.left[3] = 40000;
            card.settings.right[3] = 25000;
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            auto& fader = Control<CSkinFader>(hwnd, 51);
            auto& knob = Control<CSkinKnob>(hwnd, 57);
            ASSERT_EQ(fader.value, 65535);
            ClearLog();
            ClickId(hwnd, 35);
            const std::vector<LoggedRequest> log = TakeLog();
            EXPECT_EQ(Codes(log), (std::vector<uint32_t>{kChannelControlOn, kGetChannelLevels}));
            EXPECT_EQ(fader.value, 40000);
            EXPECT_EQ(knob.GetValue(), 40);
            if (c.moved == kKnob) {
                Press(knob, 12, 12);
                Move(knob, 13, 12);
                Release(knob, 13, 12);
            } else {
                const int thumb = fader.position;
                Press(fader, 5, thumb);
                Move(fader, 5, 20);
                Release(fader, 5, 20);
            }
            OnCard([&](VcCard& card) {
                EXPECT_EQ(card.settings.left[3], c.left);
                EXPECT_EQ(card.settings.right[3], c.right);
            });
        });
    }
}

TEST_F(PanelTest, EnableAllAndDisableAllSendTenSwitchesInChannelOrder) {
    OnCard([](VcCard& c) {
        c.settings.left[3] = 40000;
        c.settings.right[3] = 25000;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        ClickId(hwnd, 66);
        std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 10u);
        for (uint32_t k = 0; k < 10; ++k) {
            EXPECT_EQ(log[k].code, kChannelControlOff);
            EXPECT_EQ(log[k].Word(8), k);
            EXPECT_EQ(Control<CSkinButton>(hwnd, kChannelControls[k].switchId).state, 0);
            EXPECT_EQ(Control<CSkinFader>(hwnd, kChannelControls[k].faderId).active, 0);
            EXPECT_EQ(Control<CSkinFader>(hwnd, kChannelControls[k].faderId).value, 65535);
            EXPECT_EQ(Control<CSkinKnob>(hwnd, kChannelControls[k].knobId).GetValue(), 64);
        }

        // Each channel switched on reads its levels back; no levels are sent.
        ClickId(hwnd, 65);
        log = TakeLog();
        ASSERT_EQ(log.size(), 20u);
        for (uint32_t k = 0; k < 10; ++k) {
            EXPECT_EQ(log[2 * k].code, kChannelControlOn);
            EXPECT_EQ(log[2 * k].Word(8), k);
            EXPECT_EQ(log[2 * k + 1].code, kGetChannelLevels);
            EXPECT_EQ(log[2 * k + 1].Word(8), k);
            EXPECT_EQ(Control<CSkinButton>(hwnd, kChannelControls[k].switchId).state, 1);
            EXPECT_EQ(Control<CSkinFader>(hwnd, kChannelControls[k].faderId).active, 1);
        }
        EXPECT_EQ(Control<CSkinFader>(hwnd, 51).value, 40000);
        EXPECT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 40);
        EXPECT_EQ(Control<CSkinFader>(hwnd, 82).value, 65535);
        EXPECT_EQ(Control<CSkinKnob>(hwnd, 86).GetValue(), 89);
    });
}

// A change the card refused shows what the card holds at once, not at the next
// repaint: the controls look as a repaint shows them.
TEST_F(PanelTest, ARefusedChangeShowsWhatTheCardHolds) {
    struct RefusedCase {
        const char* name;
        std::vector<int> shown;  // the controls the change shows on
        uint32_t request;        // the change's request
        std::function<void(HWND)> act;
    };
    const RefusedCase cases[] = {
        {"channel switch", {76, 83, 87}, kChannelControlOff, [](HWND hwnd) { ClickId(hwnd, 76); }},
        {"fader", {51, 57}, kSetChannelLevels,
         [](HWND hwnd) {
             auto& fader = Control<CSkinFader>(hwnd, 51);
             const int thumb = fader.position;
             Press(fader, 5, thumb);
             Move(fader, 5, 20);
             Release(fader, 5, 20);
         }},
        {"knob", {51, 57}, kSetChannelLevels,
         [](HWND hwnd) {
             HWND knob = ::GetDlgItem(hwnd, 57);
             Press(knob, 12, 12);
             Move(knob, 20, 12);
             Release(knob, 20, 12);
         }},
        {"rate list", {92, 93}, kSetClockMode, [](HWND hwnd) { ChooseItem(hwnd, 93, 0); }},
        {"Auto Sync", {73}, kAutoSyncOff, [](HWND hwnd) { ClickId(hwnd, 73); }},
        {"Disable All", {44, 54, 60, 47}, kChannelControlOff, [](HWND hwnd) { ClickId(hwnd, 66); }},
    };
    for (Refusal refusal : kEveryRefusal) {
        SCOPED_TRACE(static_cast<int>(refusal));
        OnCard([](VcCard& c) {
            for (uint8_t& on : c.settings.control) on = 1;
            c.settings.left[3] = 40000;
            c.settings.right[3] = 25000;
            c.settings.autoSync = 1;
            c.settings.clockMode = 2;  // ADAT Clock, 48000 Hz
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            for (const RefusedCase& c : cases) {
                SCOPED_TRACE(c.name);
                Repaint(hwnd);
                PumpMessages();
                ClearLog();
                RefuseNextChange(refusal);
                c.act(hwnd);
                const std::vector<LoggedRequest> log = TakeLog();
                ASSERT_FALSE(log.empty());
                EXPECT_EQ(log[0].code, c.request);
                std::vector<Pixels> shown;
                for (int id : c.shown) shown.push_back(CaptureClient(::GetDlgItem(hwnd, id)));
                Repaint(hwnd);
                for (size_t i = 0; i < shown.size(); ++i) {
                    EXPECT_TRUE(shown[i] == CaptureClient(::GetDlgItem(hwnd, c.shown[i]))) << "control " << c.shown[i];
                }
            }
        });
    }
}

TEST_F(PanelTest, ChoosingClockOrRateSendsBothSelections) {
    struct ChoiceCase {
        int list, item;
        uint32_t code;
    };
    // From "ADAT Clock" at "48000 Hz" (code 2).
    const ChoiceCase cases[] = {{93, 0, 3}, {92, 3, 6}, {92, 0, 0}, {92, 2, 4}};
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const ChoiceCase& c : cases) {
            SCOPED_TRACE(c.code);
            OnCard([](VcCard& card) { card.settings.clockMode = 2; });
            Repaint(hwnd);
            ClearLog();
            ChooseItem(hwnd, c.list, c.item);
            const std::vector<LoggedRequest> log = TakeLog();
            ASSERT_EQ(log.size(), 1u);
            EXPECT_EQ(log[0].code, kSetClockMode);
            EXPECT_EQ(log[0].Word(16), c.code);
        }
    });
}

TEST_F(PanelTest, ChoiceAfterACancelledListKeepsTheCardsClockSource) {
    OnCard([](VcCard& c) { c.settings.clockMode = 2; });  // ADAT Clock, 48000 Hz
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        OpenAndClickAway(hwnd, 92);
        EXPECT_TRUE(TakeLog().empty());
        ExpectFace(hwnd, 92, "ADAT Clock");

        ChooseItem(hwnd, 93, 0);
        EXPECT_EQ(ClockModesSent(TakeLog()), std::vector<uint32_t>{3});
        OnCard([](VcCard& c) { EXPECT_EQ(c.settings.clockMode, 3u); });
        ExpectFace(hwnd, 92, "ADAT Clock");
        ExpectFace(hwnd, 93, "44100 Hz");
    });
}

TEST_F(PanelTest, ChoiceEqualToTheLastPickIsSentWhenTheCardChangedSince) {
    OnCard([](VcCard& c) {
        c.settings.clockMode = 0;
        c.defaults.clockMode = 0;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        ChooseItem(hwnd, 92, 3);
        EXPECT_EQ(ClockModesSent(TakeLog()), std::vector<uint32_t>{6});

        ClickId(hwnd, 72);  // Retrieve Defaults: back to Internal Clock
        PumpMessages();
        EXPECT_TRUE(ClockModesSent(TakeLog()).empty());
        ExpectFace(hwnd, 92, "Internal Clock");

        ChooseItem(hwnd, 92, 3);
        EXPECT_EQ(ClockModesSent(TakeLog()), std::vector<uint32_t>{6});
        OnCard([](VcCard& c) { EXPECT_EQ(c.settings.clockMode, 6u); });
        ExpectFace(hwnd, 92, "Word Clock");
        ExpectFace(hwnd, 93, "48000 Hz");

        // The same pick once more changes nothing.
        ChooseItem(hwnd, 92, 3);
        EXPECT_TRUE(TakeLog().empty());
    });
}

TEST_F(PanelTest, AutoSyncSwitchSendsItsNewState) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ASSERT_EQ(Control<CSkinButton>(hwnd, 73).state, 1);
        ClearLog();
        ClickId(hwnd, 73);
        ClickId(hwnd, 73);
        EXPECT_EQ(Codes(TakeLog()), (std::vector<uint32_t>{kAutoSyncOff, kAutoSyncOn}));
    });
}

TEST_F(PanelTest, CustomWithAutoSyncOnIsRefusedInAMessageBox) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ASSERT_EQ(Control<CSkinButton>(hwnd, 73).state, 1);
        WatchDialogs watch(hwnd);
        ClearLog();
        ClickId(hwnd, 90);
        ASSERT_EQ(g_shown.size(), 1u);
        EXPECT_EQ(g_shown[0].text, "Auto Sync must be disabled to use custom settings.");
        EXPECT_EQ(g_shown[0].caption, "Zelk MIRVA PCI Custom Synchronization");
        EXPECT_EQ(g_shown[0].owner, hwnd);
        EXPECT_FALSE(g_shown[0].icon);
        EXPECT_FALSE(g_shown[0].cancel);
        EXPECT_TRUE(TakeLog().empty());
    });
}

TEST_F(PanelTest, DefaultsAreSavedAndRetrievedThenReRead) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        ClickId(hwnd, 71);
        EXPECT_EQ(Codes(TakeLog()), std::vector<uint32_t>{kSaveDefaults});

        OnCard([](VcCard& c) {
            c.defaults.left[3] = 20000;
            c.defaults.right[3] = 10000;
        });
        ClickId(hwnd, 72);
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 40u);
        EXPECT_EQ(log[0].code, kRetrieveDefaults);
        EXPECT_EQ(log[1].code, kReadDefaultsWord);
        EXPECT_EQ(log[2].code, kGetChannelControl);
        EXPECT_EQ(log[39].code, kQueryStatus);
        EXPECT_EQ(Control<CSkinFader>(hwnd, 51).value, 20000);
        EXPECT_EQ(Control<CSkinKnob>(hwnd, 57).GetValue(), 32);
    });
}

TEST_F(PanelTest, SiblingProgramsStartWithTheirExactCommandLines) {
    struct LaunchCase {
        int button;
        const char* commandLine;
    };
    const LaunchCase cases[] = {{101, "MirvaPM.exe "}, {94, "MirvaCP.exe Zelk MIRVA PCI Audio Settings"}};
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const LaunchCase& c : cases) {
            launched.clear();
            ClearLog();
            ClickId(hwnd, c.button);
            EXPECT_EQ(launched, std::vector<std::string>{c.commandLine});
            EXPECT_TRUE(TakeLog().empty());
        }
    });
}

// Neither sibling program is installed here, so the real launcher fails.
TEST_F(PanelTest, ASiblingProgramThatCannotStartIsNamedInAMessageBox) {
    SetProgramLauncher(nullptr);
    struct MissingCase {
        int button;
        const char* text;
    };
    const MissingCase cases[] = {{101, "Could not start MirvaPM.exe."}, {94, "Could not start MirvaCP.exe."}};
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        WatchDialogs watch(hwnd);
        for (const MissingCase& c : cases) {
            g_shown.clear();
            ClearLog();
            ClickId(hwnd, c.button);
            ASSERT_EQ(g_shown.size(), 1u) << c.button;
            EXPECT_EQ(g_shown[0].text, c.text);
            EXPECT_EQ(g_shown[0].caption, "Zelk MIRVA PCI Wave Device Settings");
            EXPECT_EQ(g_shown[0].owner, hwnd);
            EXPECT_TRUE(TakeLog().empty());
        }
        EXPECT_TRUE(::IsWindowEnabled(hwnd)) << "the boxes are closed";
    });
}

TEST_F(PanelTest, LampsAndHelpAskTheCardNothing) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND lamp = ChildAt(hwnd, 104, 258);
        auto* button = static_cast<CSkinButton*>(CWnd::FromHandle(lamp));
        ASSERT_NE(button, nullptr);
        CSkinBitmap* shown = button->bitmaps[0];
        ClearLog();
        Click(lamp);
        ClickId(hwnd, 64);
        PumpMessages();
        EXPECT_TRUE(TakeLog().empty());
        EXPECT_EQ(button->bitmaps[0], shown);
        EXPECT_TRUE(launched.empty());
    });
}

TEST_F(PanelTest, OkEndsTheWindowWithOk) {
    const INT_PTR result = RunPanel([&](CWaveSettingsDialog&, HWND hwnd) { ClickId(hwnd, 62); });
    EXPECT_EQ(result, IDOK);
}

TEST_F(PanelTest, SystemMenuEndsWithAboutAndCannotSizeOrMove) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HMENU menu = ::GetSystemMenu(hwnd, FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);
        char text[64] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&About Tessor...");
        EXPECT_NE(::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, 0u);
        for (UINT command : {SC_SIZE, SC_MOVE, SC_RESTORE, SC_MAXIMIZE}) {
            EXPECT_NE(::GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED, 0u) << command;
        }
        HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_QUERYDRAGICON, 0, 0)), icon);
    });
}
