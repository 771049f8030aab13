// The main window as a screen reader meets it: every control's accessible name,
// role, value and state, read through oleacc on the in-process card, and the
// default action of switches and buttons, which must reach the card as a click does.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/win32/accessibility_expect.h"
#include "tests/win32/accessibility_support.h"
#include "tests/win32/panel_harness.h"

namespace {

class PanelAccessibilityTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        OnCard([](VcCard& c) {
            for (int k = 0; k < 10; ++k) {
                c.settings.control[k] = 1;
                c.settings.left[k] = c.settings.right[k] = 65535;
            }
            // What the knob at 31 sends: R 31744, -6.3 dB.
            c.settings.right[0] = 31744;
            c.settings.control[1] = 0;
            c.settings.left[2] = c.settings.right[2] = 32845;
            c.settings.left[3] = c.settings.right[3] = 0;
            c.settings.autoSync = 1;
            c.settings.clockMode = 0;  // internal, 48000 Hz
            for (uint32_t& s : c.playbackState) s = 0;
            for (uint32_t& s : c.recordState) s = 0;
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
    {{92}, "Clock source", ROLE_SYSTEM_COMBOBOX, "Internal Clock", STATE_SYSTEM_COLLAPSED, ""},
    {{93}, "Sample rate", ROLE_SYSTEM_COMBOBOX, "48000 Hz", STATE_SYSTEM_COLLAPSED, ""},
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
            {{92}, "Clock source", ROLE_SYSTEM_COMBOBOX, "ADAT Clock", STATE_SYSTEM_COLLAPSED, ""},
            {{93}, "Sample rate", ROLE_SYSTEM_COMBOBOX, "44100 Hz", STATE_SYSTEM_COLLAPSED, ""},
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

TEST_F(PanelAccessibilityTest, LampsAndDropDownsHaveNoDefaultAction) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        for (HWND control : {PanelTest::ChildAt(hwnd, LampX(0), kPlayLampY), ::GetDlgItem(hwnd, 54),
                             ::GetDlgItem(hwnd, 92)}) {
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

// Runs the reader in another process on control and serves this thread's messages
// meanwhile, since its calls arrive through them. Returns the lines it wrote.
std::vector<std::string> RunClient(HWND control, bool action) {
    char dir[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "acc", 0, file);
    std::string program = ACCESSIBILITY_CLIENT;
    for (char& c : program) c = c == '/' ? '\\' : c;
    std::string commandLine = "\"Z:" + program + "\" " +
                              std::to_string(reinterpret_cast<INT_PTR>(control)) + " \"" + file + "\"" +
                              (action ? " action" : "");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<std::string> lines;
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return lines;
    }
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    bool ended = false;
    while (!ended && ::GetTickCount64() < deadline) {
        ended = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1000, QS_ALLINPUT) == WAIT_OBJECT_0;
        PumpMessages();
    }
    EXPECT_TRUE(ended) << "the reader did not end";
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    in.close();
    ::DeleteFileA(file);
    return lines;
}

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
        EXPECT_EQ(RunClient(sw, false),
                  (std::vector<std::string>{"0", "Analog control enable", std::to_string(ROLE_SYSTEM_CHECKBUTTON), "on",
                                            std::to_string(STATE_SYSTEM_CHECKED)}));
        ClearLog();
        EXPECT_EQ(RunClient(sw, true), std::vector<std::string>{"0"});
        PumpMessages();
        EXPECT_EQ(Codes(TakeLog()), (std::vector<uint32_t>{kChannelControlOff}));
        OnCard([](VcCard& card) { EXPECT_EQ(card.settings.control[0], 0); });
    });
}
