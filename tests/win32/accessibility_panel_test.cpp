// The main window as a screen reader meets it: every control's accessible name,
// role, value and state, read through oleacc on the in-process card, and the
// default action of switches and buttons, which must reach the card as a click does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls/SkinDropList.h"
#include "controls/SkinFader.h"
#include "framework/WinApp.h"
#include "tests/win32/accessibility_expect.h"
#include "tests/win32/accessibility_support.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/ThreadWindows.h"
#include "windows/DiagnosticsDialog.h"

namespace {

class PanelAccessibilityTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        OnCard([](VcCard& c) {
            ReadersCard(c);
            c.settings.control[1] = 0;
            c.settings.left[3] = c.settings.right[3] = 0;
            c.settings.autoSync = 1;
            c.playbackState[0] = 3;
            c.recordState[0] = 2;
            c.recordState[5] = 4;
        });
    }

    ComApartment com;
};

// A control found by its id, or by its top-left corner when ids are shared (lamps).
struct Where {
    int id;
    int x = 0, y = 0;
};

HWND Find(HWND dialog, const Where& w) {
    return w.id != 0 ? ::GetDlgItem(dialog, w.id) : PanelTest::ChildAt(dialog, w.x, w.y);
}

struct ControlCase {
    Where where;
    ExpectedReading reads;
};

constexpr int kPlayLampY = 258;
constexpr int kRecordLampY = 270;
constexpr int LampX(int channel) { return 104 + 65 * channel; }

const ControlCase kMainWindow[] = {
    {{44}, "Analog control enable", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"},
    {{54}, "Analog volume", ROLE_SYSTEM_SLIDER, "0.0 dB", 0, ""},
    {{60}, "Analog balance", ROLE_SYSTEM_SLIDER, "L 0.0 dB, R -6.3 dB", 0, ""},
    {{0, LampX(0), kPlayLampY}, "Analog playback", ROLE_SYSTEM_INDICATOR, "running", 0, ""},
    {{0, LampX(0), kRecordLampY}, "Analog record", ROLE_SYSTEM_INDICATOR, "open", 0, ""},
    {{47}, "S/PDIF control enable", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"},
    {{55}, "S/PDIF volume", ROLE_SYSTEM_SLIDER, "0.0 dB", STATE_SYSTEM_UNAVAILABLE, ""},
    {{61}, "S/PDIF balance", ROLE_SYSTEM_SLIDER, "centre", STATE_SYSTEM_UNAVAILABLE, ""},
    {{0, LampX(1), kPlayLampY}, "S/PDIF playback", ROLE_SYSTEM_INDICATOR, "idle", 0, ""},
    {{50}, "ADAT 1-2 volume", ROLE_SYSTEM_SLIDER, "-6.0 dB", 0, ""},
    {{56}, "ADAT 1-2 balance", ROLE_SYSTEM_SLIDER, "centre", 0, ""},
    {{51}, "ADAT 3-4 volume", ROLE_SYSTEM_SLIDER, "-inf dB", 0, ""},
    {{0, LampX(5), kRecordLampY}, "ADAT 7-8 record", ROLE_SYSTEM_INDICATOR, "running", 0, ""},
    {{80}, "Stream 7-8 control enable", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"},
    {{85}, "Stream 7-8 volume", ROLE_SYSTEM_SLIDER, "0.0 dB", 0, ""},
    {{89}, "Stream 7-8 balance", ROLE_SYSTEM_SLIDER, "centre", 0, ""},
    {{0, LampX(9), kPlayLampY}, "Stream 7-8 playback", ROLE_SYSTEM_INDICATOR, "idle", 0, ""},
    {{92}, "Clock source", ROLE_SYSTEM_COMBOBOX, "Internal Clock", STATE_SYSTEM_COLLAPSED, "Open"},
    {{93}, "Sample rate", ROLE_SYSTEM_COMBOBOX, "48000 Hz", STATE_SYSTEM_COLLAPSED, "Open"},
    {{73}, "Auto Sync", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"},
    {{62}, "OK", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{64}, "Help", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{65}, "Enable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{66}, "Disable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{71}, "Save as Defaults", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{72}, "Retrieve Defaults", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{90}, "Custom Sync", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{94}, "Audio Settings", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{95}, "Diagnostics", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {{101}, "Hardware Meters", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
};

void ExpectReads(HWND dialog, const ControlCase& c) { ExpectReads(Find(dialog, c.where), c.reads); }

}  // namespace

TEST_F(PanelAccessibilityTest, EveryControlSaysItsNameRoleValueAndState) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const ControlCase& c : kMainWindow) ExpectReads(hwnd, c);
    });
}

TEST_F(PanelAccessibilityTest, ReadingSendsNothingToTheCard) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        for (const ControlCase& c : kMainWindow) ReadAccessible(Find(hwnd, c.where));
        PumpMessages();
        EXPECT_EQ(TakeLog().size(), 0u);
    });
}

TEST_F(PanelAccessibilityTest, ValuesFollowTheCardAfterARepaint) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        OnCard([](VcCard& c) {
            c.settings.left[0] = 30167;  // balance 98: L 30167, -6.7 dB
            c.settings.right[0] = 65535;
            c.settings.control[1] = 1;
            c.settings.left[1] = c.settings.right[1] = 6554;
            c.settings.clockMode = 3;  // ADAT, 44100 Hz
            c.settings.autoSync = 0;
            c.playbackState[0] = 2;
        });
        Repaint(hwnd);
        const ControlCase after[] = {
            {{60}, "Analog balance", ROLE_SYSTEM_SLIDER, "L -6.7 dB, R 0.0 dB", 0, ""},
            {{0, LampX(0), kPlayLampY}, "Analog playback", ROLE_SYSTEM_INDICATOR, "open", 0, ""},
            {{47}, "S/PDIF control enable", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"},
            {{55}, "S/PDIF volume", ROLE_SYSTEM_SLIDER, "-20.0 dB", 0, ""},
            {{92}, "Clock source", ROLE_SYSTEM_COMBOBOX, "ADAT Clock", STATE_SYSTEM_COLLAPSED, "Open"},
            {{93}, "Sample rate", ROLE_SYSTEM_COMBOBOX, "44100 Hz", STATE_SYSTEM_COLLAPSED, "Open"},
            {{73}, "Auto Sync", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"},
        };
        for (const ControlCase& c : after) ExpectReads(hwnd, c);
    });
}

// The default action and a click on the same control, each on a fresh window and
// card: the card receives the same requests and ends in the same state.
struct ActionCase {
    int id;
    const char* what;
};

TEST_F(PanelAccessibilityTest, DefaultActionSendsWhatAClickSends) {
    const ActionCase cases[] = {
        {44, "Analog switch off"}, {47, "S/PDIF switch on"}, {73, "Auto Sync off"},
        {65, "Enable All"},        {66, "Disable All"},      {71, "Save as Defaults"},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint32_t> byClick, byAction;
        VcSettings afterClick{}, afterAction{};
        const VcCard start = [&] {
            VcCard copy{};
            OnCard([&](VcCard& card) { copy = card; });
            return copy;
        }();
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            ClearLog();
            ClickId(hwnd, c.id);
            PumpMessages();
            byClick = Codes(TakeLog());
        });
        OnCard([&](VcCard& card) {
            afterClick = card.settings;
            card = start;
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            ClearLog();
            AccessibleRef object(::GetDlgItem(hwnd, c.id));
            ASSERT_EQ(object.found(), S_OK);
            EXPECT_EQ(object.DoDefaultAction(), S_OK);
            PumpMessages();
            byAction = Codes(TakeLog());
        });
        OnCard([&](VcCard& card) { afterAction = card.settings; });
        EXPECT_FALSE(byClick.empty());
        EXPECT_EQ(byAction, byClick);
        EXPECT_EQ(std::memcmp(&afterAction, &afterClick, sizeof afterClick), 0);
    }
}

TEST_F(PanelAccessibilityTest, SwitchingAStripOffByItsDefaultActionMakesItsFaderUnavailable) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        AccessibleRef sw(::GetDlgItem(hwnd, 44));
        ASSERT_EQ(sw.DoDefaultAction(), S_OK);
        PumpMessages();
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(Codes(log), (std::vector<uint32_t>{kChannelControlOff}));
        EXPECT_EQ(log[0].Word(8), 0u) << "channel";
        OnCard([](VcCard& card) { EXPECT_EQ(card.settings.control[0], 0); });
        ExpectReads(hwnd, {{44}, "Analog control enable", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"});
        ExpectReads(hwnd, {{54}, "Analog volume", ROLE_SYSTEM_SLIDER, "0.0 dB", STATE_SYSTEM_UNAVAILABLE, ""});
        ExpectReads(hwnd, {{60}, "Analog balance", ROLE_SYSTEM_SLIDER, "centre", STATE_SYSTEM_UNAVAILABLE, ""});
    });
}

TEST_F(PanelAccessibilityTest, LampsFadersAndKnobsHaveNoDefaultAction) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        for (HWND control : {PanelTest::ChildAt(hwnd, LampX(0), kPlayLampY), ::GetDlgItem(hwnd, 54),
                             ::GetDlgItem(hwnd, 60)}) {
            AccessibleRef object(control);
            ASSERT_EQ(object.found(), S_OK);
            EXPECT_EQ(object.DoDefaultAction(), DISP_E_MEMBERNOTFOUND);
        }
        PumpMessages();
        EXPECT_EQ(TakeLog().size(), 0u);
    });
}

TEST_F(PanelAccessibilityTest, StatesFollowTheMouse) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND save = ::GetDlgItem(hwnd, 71);
        Press(save, 3, 3);
        EXPECT_EQ(ReadAccessible(save).state, STATE_SYSTEM_PRESSED) << "held";
        Release(save, 3, 3);
        EXPECT_EQ(ReadAccessible(save).state, 0) << "released";

        HWND clock = ::GetDlgItem(hwnd, 92);
        Press(clock, 3, 3);
        Release(clock, 3, 3);
        EXPECT_EQ(ReadAccessible(clock).state, STATE_SYSTEM_EXPANDED) << "list down";
        ::ReleaseCapture();  // another window takes the mouse: the list closes
        PumpMessages();
        EXPECT_EQ(ReadAccessible(clock).state, STATE_SYSTEM_COLLAPSED) << "list closed";
    });
}

namespace {

// The program starts COM only when a reader first asks: this thread has none of its own.
class PanelAccessibilityAskedLateTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // An earlier test's window may have started it on this thread.
        CAccessibleWnd::EndComOnThisThread();
        OnCard([](VcCard& c) { c.settings.control[0] = 1; });
    }
    void TearDown() override {
        CAccessibleWnd::EndComOnThisThread();
        PanelTest::TearDown();
    }
};

}  // namespace

// The way a screen reader meets the window: from its own process, through the
// marshalled object, first asking long after the start.
TEST_F(PanelAccessibilityAskedLateTest, AReaderInAnotherProcessReadsASwitchAndWorksIt) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        Repaint(hwnd);
        HWND sw = ::GetDlgItem(hwnd, 44);
        EXPECT_EQ(RunReader(sw, {}),
                  (std::vector<std::string>{"0", "Analog control enable", std::to_string(ROLE_SYSTEM_CHECKBUTTON), "on",
                                            std::to_string(STATE_SYSTEM_CHECKED)}));
        ClearLog();
        EXPECT_EQ(RunReader(sw, {"action"}), std::vector<std::string>{"0"});
        PumpMessages();
        EXPECT_EQ(Codes(TakeLog()), (std::vector<uint32_t>{kChannelControlOff}));
        OnCard([](VcCard& card) { EXPECT_EQ(card.settings.control[0], 0); });
    });
}

namespace {

// The dialogs this thread shows over the main window.
std::vector<HWND> DialogsOver(HWND main) {
    return ThreadWindows([main](HWND hwnd) {
        return ::IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770" && ::GetWindow(hwnd, GW_OWNER) == main;
    });
}

// Runs body once inside the modal loop of the first dialog that opens over main
// while open() runs, then ends every dialog over main, again at every tick, so that
// loops nested in loops end too.
class WhileOver {
public:
    static void Run(HWND main, const std::function<void()>& open, const std::function<void(HWND top)>& body) {
        s_main = main;
        s_body = &body;
        s_ran = false;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Look);
        open();
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(s_ran) << "no dialog opened over the main window";
    }

private:
    static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
        const std::vector<HWND> over = DialogsOver(s_main);
        if (over.empty() || s_inBody) return;
        if (!s_ran) {
            s_ran = s_inBody = true;
            ::UpdateWindow(over.front());
            (*s_body)(over.front());
            s_inBody = false;
        }
        for (HWND top : DialogsOver(s_main)) ::PostMessageA(top, WM_COMMAND, IDCANCEL, 0);
    }
    static HWND s_main;
    static const std::function<void(HWND)>* s_body;
    static bool s_ran;
    static bool s_inBody;  // the body pumps messages, this timer's among them
};
HWND WhileOver::s_main = nullptr;
const std::function<void(HWND)>* WhileOver::s_body = nullptr;
bool WhileOver::s_ran = false;
bool WhileOver::s_inBody = false;

size_t CountOf(const std::vector<uint32_t>& codes, uint32_t code) {
    return static_cast<size_t>(std::count(codes.begin(), codes.end(), code));
}

constexpr UINT kQuietPollMs = 60 * 60 * 1000;

}  // namespace

// While Diagnostics runs over the main window, the main window's controls take no
// action from a reader, neither one asked for then nor one queued before it opened
// and run inside its loop; once it closes they work again.
TEST_F(PanelAccessibilityTest, ActionsAndValuesWaitWhileAModalWindowRunsOverThePanel) {
    CDiagnosticsDialog::SetPollDelay(kQuietPollMs);
    CWinApp app;
    RunPanel([&](CWaveSettingsDialog& dialog, HWND hwnd) {
        app.m_pMainWnd = &dialog;
        AccessibleRef disableAll(::GetDlgItem(hwnd, 66));
        AccessibleRef diagnostics(::GetDlgItem(hwnd, 95));
        AccessibleRef fader(::GetDlgItem(hwnd, 54));
        AccessibleRef clock(::GetDlgItem(hwnd, 92));
        ASSERT_EQ(disableAll.DoDefaultAction(), S_OK) << "queued while the window takes input";
        ASSERT_EQ(diagnostics.DoDefaultAction(), S_OK);
        size_t opened = 0;
        std::vector<uint32_t> meanwhile;
        ClearLog();
        WhileOver::Run(
            hwnd, [&] { ClickId(hwnd, 95); },
            [&](HWND top) {
                // The queued actions had their turn before the loop's first tick.
                opened = DialogsOver(hwnd).size();
                ExpectReads(hwnd, {{66}, "Disable All", ROLE_SYSTEM_PUSHBUTTON, "", STATE_SYSTEM_UNAVAILABLE, "Press"});
                ExpectReads(hwnd, {{54}, "Analog volume", ROLE_SYSTEM_SLIDER, "0.0 dB", STATE_SYSTEM_UNAVAILABLE, ""});
                EXPECT_EQ(disableAll.DoDefaultAction(), E_ACCESSDENIED);
                EXPECT_EQ(diagnostics.DoDefaultAction(), E_ACCESSDENIED);
                EXPECT_EQ(fader.SetValue("-6.0 dB"), E_ACCESSDENIED);
                EXPECT_EQ(clock.SetValue("ADAT Clock"), E_ACCESSDENIED);
                EXPECT_EQ(clock.DoDefaultAction(), E_ACCESSDENIED);
                EXPECT_EQ(ReadAccessible(::GetDlgItem(top, 97)).state, 0) << "Diagnostics' own buttons work";
                meanwhile = Codes(TakeLog());
            });
        EXPECT_EQ(opened, 1u) << "a second window opened over the first";
        EXPECT_EQ(CountOf(meanwhile, kChannelControlOff), 0u);
        EXPECT_EQ(CountOf(meanwhile, kSetChannelLevels), 0u);
        EXPECT_EQ(CountOf(meanwhile, kSetClockMode), 0u);
        EXPECT_EQ(CountOf(meanwhile, kResetCardStop) + CountOf(meanwhile, kFreeCard), 0u);
        PumpMessages();
        EXPECT_EQ(CountOf(Codes(TakeLog()), kChannelControlOff), 0u) << "nothing waited for the window to close";

        ExpectReads(hwnd, {{66}, "Disable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"});
        ASSERT_EQ(disableAll.DoDefaultAction(), S_OK);
        PumpMessages();
        EXPECT_EQ(Codes(TakeLog()), std::vector<uint32_t>(10, kChannelControlOff));
    });
    app.m_pMainWnd = nullptr;
    CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
}

// A reader in another process sets a level: the fader takes the position whose
// level lies nearest, and the card receives what a drag to that position sends.
TEST_F(PanelAccessibilityTest, AReaderInAnotherProcessSetsAFaderAsADragWould) {
    const VcCard start = [&] {
        VcCard copy{};
        OnCard([&](VcCard& card) { copy = card; });
        return copy;
    }();
    std::vector<LoggedRequest> bySet, byDrag;
    int position = 0;
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND fader = ::GetDlgItem(hwnd, 54);
        ClearLog();
        EXPECT_EQ(RunReader(fader, {"value", "-12.0 dB"}), std::vector<std::string>{"0"});
        PumpMessages();
        bySet = TakeLog();
        position = Control<CSkinFader>(hwnd, 54).position;
        EXPECT_EQ(ReadAccessible(fader).value, "-12.0 dB");
    });
    VcSettings afterSet{};
    OnCard([&](VcCard& card) {
        afterSet = card.settings;
        card = start;
    });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        CSkinFader& fader = Control<CSkinFader>(hwnd, 54);
        ClearLog();
        Press(fader, 5, fader.position);
        Move(fader, 5, position);
        Release(fader, 5, position);
        PumpMessages();
        byDrag = TakeLog();
    });
    ASSERT_EQ(Codes(bySet), std::vector<uint32_t>{kSetChannelLevels});
    ASSERT_EQ(Codes(byDrag), Codes(bySet));
    for (int offset : {20, 22, 24}) EXPECT_EQ(bySet[0].Half(offset), byDrag[0].Half(offset)) << offset;
    OnCard([&](VcCard& card) { EXPECT_EQ(std::memcmp(&card.settings, &afterSet, sizeof afterSet), 0); });
}

// Each form of each control's value, set in turn, sends what the mouse action that
// ends at that value sends.
TEST_F(PanelAccessibilityTest, FadersKnobsAndDropDownsTakeTheFormsOfTheirValues) {
    struct SetCase {
        int id;
        const char* text;
        const char* reads;  // the value read afterwards
        uint32_t code;
        std::vector<uint16_t> halves;  // at offsets 20, 22, 24: channel and levels
        uint32_t clockMode;
    };
    const SetCase cases[] = {
        // The positions nearest -12.0 dB (16462) and -6.0 dB (32845) give 16427 and 32874.
        {50, "-12", "-12.0 dB", kSetChannelLevels, {2, 16427, 16427}, 0},
        {50, "-6.0", "-6.0 dB", kSetChannelLevels, {2, 32874, 32874}, 0},
        {50, "0.0 dB", "0.0 dB", kSetChannelLevels, {2, 65535, 65535}, 0},
        {50, "-inf dB", "-inf dB", kSetChannelLevels, {2, 0, 0}, 0},
        {60, "10 left of centre", "L 0.0 dB, R -1.5 dB", kSetChannelLevels, {0, 65535, 55296}, 0},
        {60, "L -6.4 dB, R 0.0 dB", "L -6.4 dB, R 0.0 dB", kSetChannelLevels, {0, 31208, 65535}, 0},
        {60, "centre", "centre", kSetChannelLevels, {0, 65535, 65535}, 0},
        {92, "ADAT Clock", "ADAT Clock", kSetClockMode, {}, 2},
        {93, "44100 hz", "44100 Hz", kSetClockMode, {}, 3},
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const SetCase& c : cases) {
            SCOPED_TRACE(c.text);
            AccessibleRef control(::GetDlgItem(hwnd, c.id));
            ClearLog();
            EXPECT_EQ(control.SetValue(c.text), S_OK);
            PumpMessages();
            const std::vector<LoggedRequest> log = TakeLog();
            ASSERT_EQ(Codes(log), std::vector<uint32_t>{c.code});
            for (size_t i = 0; i < c.halves.size(); ++i) EXPECT_EQ(log[0].Half(20 + 2 * static_cast<int>(i)), c.halves[i]);
            if (c.code == kSetClockMode) {
                EXPECT_EQ(log[0].Word(16), c.clockMode);
            }
            EXPECT_EQ(control.Read().value, c.reads);
        }
    });
}

TEST_F(PanelAccessibilityTest, ValuesAControlDoesNotTakeChangeNothing) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND fader = ::GetDlgItem(hwnd, 54);
        ClearLog();
        // From another process: a word, above full scale, below the quietest
        // level, nothing at all, and far too much.
        EXPECT_EQ(RunReader(fader, {"value", "loud", "+3.0 dB", "-200 dB", "", std::string(10000, '9')}),
                  std::vector<std::string>(5, std::to_string(E_INVALIDARG)));
        struct BadCase {
            int id;
            const char* text;
            HRESULT result;
        };
        const BadCase cases[] = {
            {60, "65 left of centre", E_INVALIDARG},
            {60, "L -6.0 dB, R -12.0 dB", E_INVALIDARG},  // the louder side is the fader's
            {60, "-6.0 dB", E_INVALIDARG},
            {92, "Quartz Clock", E_INVALIDARG},
            {92, "48000 Hz", E_INVALIDARG},
            // A switched-off strip's fader and knob take nothing, as from the mouse.
            {55, "-6.0 dB", E_ACCESSDENIED},
            {61, "centre", E_ACCESSDENIED},
            // Buttons and lamps have no value to set.
            {44, "off", E_NOTIMPL},
        };
        for (const BadCase& c : cases) {
            SCOPED_TRACE(c.text);
            AccessibleRef control(::GetDlgItem(hwnd, c.id));
            const std::string before = control.Read().value;
            EXPECT_EQ(control.SetValue(c.text), c.result);
            EXPECT_EQ(control.Read().value, before);
        }
        PumpMessages();
        EXPECT_EQ(TakeLog().size(), 0u);
        EXPECT_EQ(ReadAccessible(fader).value, "0.0 dB");
    });
}

// The drop-down's list, opened by a reader, lists its items as children, the one
// highlighted selected; a reader chooses an item as a click on it does.
TEST_F(PanelAccessibilityTest, ADropDownOpensItsListToAReaderAndAnItemIsChosen) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        HWND clockWindow = ::GetDlgItem(hwnd, 92);
        const CSkinDropList& clock = Control<CSkinDropList>(hwnd, 92);
        AccessibleRef list(clockWindow);
        long count = 0;
        ASSERT_EQ(list.get()->get_accChildCount(&count), S_OK);
        ASSERT_EQ(count, 4);
        const char* const items[] = {"Internal Clock", "ADAT Clock", "S/PDIF Clock", "Word Clock"};
        auto expectItems = [&](long hidden, long selected) {
            for (long child = 1; child <= 4; ++child) {
                const AccessibleReading r = list.Read(child);
                EXPECT_EQ(r.name, items[child - 1]);
                EXPECT_EQ(r.role, ROLE_SYSTEM_LISTITEM);
                EXPECT_EQ(r.state, STATE_SYSTEM_SELECTABLE | hidden | (child == selected ? STATE_SYSTEM_SELECTED : 0))
                    << child;
                EXPECT_EQ(r.defaultAction, "Select");
            }
        };
        expectItems(STATE_SYSTEM_INVISIBLE, 1);

        ClearLog();
        ASSERT_EQ(list.DoDefaultAction(), S_OK);
        PumpMessages();
        EXPECT_TRUE(::IsWindowVisible(clock.popup.m_hWnd));
        ExpectReads(clockWindow, {"Clock source", ROLE_SYSTEM_COMBOBOX, "Internal Clock", STATE_SYSTEM_EXPANDED, "Close"});
        expectItems(0, 1);
        RECT shown{};
        ::GetWindowRect(clock.popup.m_hWnd, &shown);
        long left = 0, top = 0, width = 0, height = 0;
        ASSERT_EQ(list.get()->accLocation(&left, &top, &width, &height, ChildVariant(2)), S_OK);
        EXPECT_TRUE(left >= shown.left && top >= shown.top && left + width <= shown.right &&
                    top + height <= shown.bottom && height > 0)
            << "item 2 lies inside the list";
        VARIANT selection;
        ASSERT_EQ(list.get()->get_accSelection(&selection), S_OK);
        EXPECT_EQ(selection.vt, VT_I4);
        EXPECT_EQ(selection.lVal, 1);

        ASSERT_EQ(list.DoDefaultAction(2), S_OK);
        PumpMessages();
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(Codes(log), std::vector<uint32_t>{kSetClockMode});
        EXPECT_EQ(log[0].Word(16), 2u) << "ADAT at 48000 Hz";
        EXPECT_FALSE(::IsWindowVisible(clock.popup.m_hWnd));
        ExpectReads(clockWindow, {"Clock source", ROLE_SYSTEM_COMBOBOX, "ADAT Clock", STATE_SYSTEM_COLLAPSED, "Open"});
        expectItems(STATE_SYSTEM_INVISIBLE, 2);

        // Opened and closed again by a reader: nothing is chosen.
        ASSERT_EQ(list.DoDefaultAction(), S_OK);
        PumpMessages();
        ASSERT_EQ(list.DoDefaultAction(), S_OK);
        PumpMessages();
        EXPECT_FALSE(::IsWindowVisible(clock.popup.m_hWnd));
        EXPECT_EQ(ReadAccessible(clockWindow).state, STATE_SYSTEM_COLLAPSED);
        EXPECT_EQ(TakeLog().size(), 0u);
    });
}

// A reader walks the list's items.
TEST_F(PanelAccessibilityTest, AReaderWalksTheItemsOfADropDown) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        AccessibleRef list(::GetDlgItem(hwnd, 93));
        struct Step {
            long direction, from;
            HRESULT result;
            long to;
        };
        const Step steps[] = {
            {NAVDIR_FIRSTCHILD, CHILDID_SELF, S_OK, 1}, {NAVDIR_LASTCHILD, CHILDID_SELF, S_OK, 2},
            {NAVDIR_NEXT, 1, S_OK, 2},                   {NAVDIR_DOWN, 1, S_OK, 2},
            {NAVDIR_PREVIOUS, 2, S_OK, 1},               {NAVDIR_NEXT, 2, S_FALSE, 0},
            {NAVDIR_PREVIOUS, 1, S_FALSE, 0},            {NAVDIR_NEXT, CHILDID_SELF, S_FALSE, 0},
            {NAVDIR_FIRSTCHILD, 3, E_INVALIDARG, 0},
        };
        for (const Step& s : steps) {
            VARIANT end;
            EXPECT_EQ(list.get()->accNavigate(s.direction, ChildVariant(s.from), &end), s.result)
                << s.direction << " from " << s.from;
            EXPECT_EQ(end.vt, s.result == S_OK ? VT_I4 : VT_EMPTY);
            if (s.result == S_OK) {
                EXPECT_EQ(end.lVal, s.to);
            }
        }
        IDispatch* child = nullptr;
        EXPECT_EQ(list.get()->get_accChild(ChildVariant(1), &child), S_FALSE) << "an item is a simple element";
        EXPECT_EQ(child, nullptr);
    });
}

TEST_F(PanelAccessibilityTest, NavigationStartsFromAChildId) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        AccessibleRef sw(::GetDlgItem(hwnd, 44));
        VARIANT notAChild;
        ::VariantInit(&notAChild);
        notAChild.vt = VT_BSTR;
        notAChild.bstrVal = nullptr;
        VARIANT end;
        EXPECT_EQ(sw.get()->accNavigate(NAVDIR_FIRSTCHILD, notAChild, &end), E_INVALIDARG);
        EXPECT_EQ(end.vt, VT_EMPTY);
    });
}
