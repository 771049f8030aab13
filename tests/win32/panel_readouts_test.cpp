// The readouts of the strip controls: the common controls' tooltips, read back as the
// user sees them after resting the pointer on a control or while dragging one.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/SkinFader.h"
#include "panel/ReadoutText.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/ThreadWindows.h"
#include "tests/win32/support/Screenshot.h"

namespace {

constexpr int kLampX = 104;
constexpr int kLampStep = 65;
constexpr int kPlayLampY = 258;
constexpr int kRecordLampY = 270;

// The tooltip windows the main window owns.
std::vector<HWND> Tips(HWND dialog) {
    return ThreadWindows([dialog](HWND window) {
        return ::lstrcmpiA(ClassOf(window).c_str(), TOOLTIPS_CLASSA) == 0 && ::GetWindow(window, GW_OWNER) == dialog;
    });
}

std::vector<HWND> ShownTips(HWND dialog) {
    std::vector<HWND> shown = Tips(dialog);
    shown.erase(std::remove_if(shown.begin(), shown.end(), [](HWND t) { return !::IsWindowVisible(t); }),
                shown.end());
    return shown;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Covers(HWND tip, HWND control) {
    RECT a{};
    RECT b{};
    RECT both{};
    ::GetWindowRect(tip, &a);
    ::GetWindowRect(control, &b);
    return ::IntersectRect(&both, &a, &b) != FALSE;
}

// Away from the panel, so that no tip shows in a test that does not ask for one.
void ParkPointer() { ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1); }

// Rests the pointer on the middle of control, as a user would, and returns the tip
// the system shows after its hover delay (null when none shows).
HWND HoverTip(HWND dialog, HWND control) {
    for (HWND tip : Tips(dialog)) ::SendMessageA(tip, TTM_POP, 0, 0);
    RECT client{};
    ::GetClientRect(control, &client);
    POINT middle = {client.right / 2, client.bottom / 2};
    POINT screen = middle;
    ::ClientToScreen(control, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
    HWND shown = nullptr;
    PumpUntil([&] {
        const std::vector<HWND> tips = ShownTips(dialog);
        shown = tips.empty() ? nullptr : tips.front();
        return shown != nullptr;
    });
    return shown;
}

// The channel's readout of the levels the card was last sent.
std::string FaderText(const char* name, const LoggedRequest& r) {
    return FaderReadout(name, std::max(r.Half(22), r.Half(24)));
}
std::string KnobText(const char* name, const LoggedRequest& r) {
    const uint16_t left = r.Half(22);
    const uint16_t right = r.Half(24);
    return std::string(name) + " balance: " +
           (left == right ? "centre" : "L " + DecibelText(left) + ", R " + DecibelText(right));
}

class PanelReadoutTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ParkPointer();
    }
    void TearDown() override {
        ParkPointer();
        PanelTest::TearDown();
    }
};

}  // namespace

TEST_F(PanelReadoutTest, RestingOnAControlShowsItsReadoutBesideIt) {
    OnCard([](VcCard& c) {
        c.settings.control[0] = 1;
        c.settings.left[0] = 32768;
        c.settings.right[0] = 32768;
        c.settings.control[1] = 0;
        c.settings.left[1] = 1000;
        c.settings.right[1] = 1000;
        c.settings.control[3] = 1;
        c.settings.left[3] = 40000;
        c.settings.right[3] = 25000;
        c.playbackState[2] = 3;
        c.playbackState[7] = 0;
        c.recordState[5] = 2;
    });
    enum Kind { kSwitch, kFader, kKnob, kPlayLamp, kRecordLamp };
    struct HoverCase {
        int channel;
        Kind kind;
        const char* text;
    };
    const HoverCase cases[] = {
        {0, kFader, "Analog: -6.0 dB"},
        {0, kKnob, "Analog balance: centre"},
        {0, kSwitch, "Analog: on"},
        {3, kFader, "ADAT 3-4: -4.3 dB"},
        {3, kKnob, "ADAT 3-4 balance: L -4.3 dB, R -8.4 dB"},
        // A switched-off strip reads what it shows: full level, centre balance.
        {1, kSwitch, "S/PDIF: off"},
        {1, kFader, "S/PDIF: 0.0 dB"},
        {1, kKnob, "S/PDIF balance: centre"},
        {2, kPlayLamp, "ADAT 1-2 playback: running"},
        {7, kPlayLamp, "Stream 3-4 playback: idle"},
        {5, kRecordLamp, "ADAT 7-8 record: open"},
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        // Made when the pointer first comes: the cases below use them late.
        EXPECT_TRUE(Tips(hwnd).empty());
        for (const HoverCase& c : cases) {
            SCOPED_TRACE(c.text);
            const ChannelControlIds& ids = kChannelControls[c.channel];
            HWND control = nullptr;
            switch (c.kind) {
            case kSwitch: control = ::GetDlgItem(hwnd, ids.switchId); break;
            case kFader: control = ::GetDlgItem(hwnd, ids.faderId); break;
            case kKnob: control = ::GetDlgItem(hwnd, ids.knobId); break;
            case kPlayLamp: control = ChildAt(hwnd, kLampX + kLampStep * c.channel, kPlayLampY); break;
            case kRecordLamp: control = ChildAt(hwnd, kLampX + kLampStep * c.channel, kRecordLampY); break;
            }
            ASSERT_NE(control, nullptr);
            HWND tip = HoverTip(hwnd, control);
            ASSERT_NE(tip, nullptr) << "no tip showed";
            EXPECT_EQ(TextOf(tip), c.text);
            EXPECT_FALSE(Covers(tip, control));
        }

        // The window with a fader's readout, as a user sees it (without the frame,
        // which is the system's and looks as it is active or not).
        HWND tip = HoverTip(hwnd, ::GetDlgItem(hwnd, kChannelControls[0].faderId));
        ASSERT_NE(tip, nullptr);
        const RECT client = ClientOnScreen(hwnd);
        RECT shown{};
        RECT both{};
        ::GetWindowRect(tip, &shown);
        ::UnionRect(&both, &client, &shown);
        SaveScreenshot(CaptureScreen(both), "fader_readout");
    });
}

TEST_F(PanelReadoutTest, DragReadoutFollowsEveryMoveBesideTheControlAndAsksNothing) {
    OnCard([](VcCard& c) {
        c.settings.control[0] = 1;
        c.settings.left[0] = 40000;
        c.settings.right[0] = 40000;
        c.settings.control[3] = 1;
        c.settings.left[3] = 40000;
        c.settings.right[3] = 25000;
    });
    struct DragCase {
        int channel;
        bool fader;
        const char* name;
        // Offsets from the press.
        std::vector<POINT> moves;
    };
    const DragCase cases[] = {
        {3, true, "ADAT 3-4", {{0, -3}, {0, 60}, {0, -200}, {0, 30}, {0, 200}}},
        {0, false, "Analog", {{10, 0}, {-30, 0}, {0, 0}, {80, 0}, {-5, 0}}},
    };
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        for (const DragCase& c : cases) {
            SCOPED_TRACE(c.name);
            const ChannelControlIds& ids = kChannelControls[c.channel];
            HWND control = ::GetDlgItem(hwnd, c.fader ? ids.faderId : ids.knobId);
            const POINT press = c.fader ? POINT{5, Control<CSkinFader>(hwnd, ids.faderId).position} : POINT{12, 12};
            // The pointer rests on the control, where a hover tip would show as well.
            POINT screen = press;
            ::ClientToScreen(control, &screen);
            ::SetCursorPos(screen.x, screen.y);
            PumpMessagesDroppingMouse();
            ClearLog();
            Press(control, press.x, press.y);
            for (const POINT& m : c.moves) {
                Move(control, press.x + m.x, press.y + m.y);
                PumpMessagesDroppingMouse();
                const std::vector<LoggedRequest> log = TakeLog();
                ASSERT_EQ(log.size(), 1u);
                ASSERT_EQ(log[0].code, kSetChannelLevels);
                const std::vector<HWND> shown = ShownTips(hwnd);
                ASSERT_EQ(shown.size(), 1u);
                EXPECT_EQ(TextOf(shown[0]), c.fader ? FaderText(c.name, log[0]) : KnobText(c.name, log[0]));
                EXPECT_FALSE(Covers(shown[0], control));
            }
            // Resting in the drag: the tip changes nothing under it.
            PumpFor(700);
            EXPECT_TRUE(TakeLog().empty());
            EXPECT_EQ(ShownTips(hwnd).size(), 1u);
            Release(control, press.x, press.y);
            EXPECT_TRUE(PumpUntil([&] { return ShownTips(hwnd).empty(); }));
            // Nor does its going away.
            PumpFor(300);
            EXPECT_TRUE(TakeLog().empty());
        }
    });
}
