// The main window worked with the real mouse and keyboard: what a slip of the hand
// sends the card, and whether the window stays.
#include <algorithm>
#include <vector>

#include "controls/SkinDropList.h"
#include "tests/win32/panel_harness.h"
#include "tests/win32/support/DropListFace.h"
#include "tests/win32/support/RealInput.h"

namespace {

constexpr int kRateList = 93;
constexpr int kFader = 54;  // channel 0's

POINT Centre(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CentreOf(HWND dialog, int id) { return Centre(::GetDlgItem(dialog, id)); }

HWND ListOf(HWND dialog, int listId) { return Control<CSkinDropList>(dialog, listId).popup.m_hWnd; }

// The centre of an item of an open list, on the screen.
POINT ItemCentre(HWND dialog, int listId, int index) {
    RECT item{};
    ::SendMessageA(ListOf(dialog, listId), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(ListOf(dialog, listId), &centre);
    return centre;
}

size_t ClockRequests(const std::vector<LoggedRequest>& log) {
    const std::vector<uint32_t> codes = Codes(log);
    return static_cast<size_t>(std::count(codes.begin(), codes.end(), kSetClockMode));
}

// Opens a drop-down with a real click on its face.
void OpenList(HWND dialog, int listId) {
    const POINT face = CentreOf(dialog, listId);
    ASSERT_TRUE(RealPressAt(face));
    ASSERT_TRUE(RealReleaseAt(face));
    ASSERT_TRUE(::IsWindowVisible(ListOf(dialog, listId)));
}

}  // namespace

// The keys go through the window's own modal loop. With a list open, Escape closes it
// unchanged and Enter picks the highlighted item; the key after them finds the list
// closed and ends the window as usual.
TEST_F(PanelTest, EnterAndEscapeOnAnOpenListCloseItAndNotTheWindow) {
    struct KeyCase {
        const char* name;
        std::vector<WORD> keys;
        INT_PTR result;
        uint16_t clockMode;  // on the card afterwards
    };
    // From Internal Clock at 48000 Hz (mode 0); the item above is 44100 Hz (mode 1).
    const KeyCase cases[] = {
        {"Escape", {VK_ESCAPE, VK_RETURN}, IDOK, 0},
        {"up and Enter", {VK_UP, VK_RETURN, VK_ESCAPE}, IDCANCEL, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        OnCard([](VcCard& card) { card.settings.clockMode = 0; });
        CWaveSettingsDialog dialog;
        const INT_PTR result = RunModalLeftToItself(dialog, [&](HWND hwnd) {
            ::SetForegroundWindow(hwnd);
            ASSERT_EQ(::GetForegroundWindow(), hwnd);
            ClearLog();
            RealClick(CentreOf(hwnd, kRateList));
            for (WORD key : c.keys) RealKey(key);
        });
        PumpMessages();  // keys a failing case left queued must not reach the next window
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(ClockRequests(TakeLog()), c.clockMode != 0 ? 1u : 0u);
        OnCard([&](VcCard& card) { EXPECT_EQ(card.settings.clockMode, c.clockMode); });
    }
}

// The pointer passed over "44100 Hz" on its way to a fader; the press there closes
// the list and picks nothing.
TEST_F(PanelTest, PressAwayFromAnOpenListAfterHoveringChangesNothing) {
    OnCard([](VcCard& card) { card.settings.clockMode = 0; });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        OpenList(hwnd, kRateList);
        ASSERT_TRUE(RealMoveTo(ItemCentre(hwnd, kRateList, 0)));
        ASSERT_EQ(::SendMessageA(ListOf(hwnd, kRateList), LB_GETCURSEL, 0, 0), 0) << "the hover highlights 44100 Hz";
        const POINT fader = CentreOf(hwnd, kFader);
        ASSERT_TRUE(RealPressAt(fader));
        ASSERT_TRUE(RealReleaseAt(fader));
        PumpMessages();
        EXPECT_FALSE(::IsWindowVisible(ListOf(hwnd, kRateList)));
        EXPECT_EQ(ClockRequests(TakeLog()), 0u);
        OnCard([](VcCard& card) { EXPECT_EQ(card.settings.clockMode, 0u); });
        EXPECT_EQ(CaptureClient(::GetDlgItem(hwnd, kRateList)), DropListFace(190, "48000 Hz", false));
    });
}

TEST_F(PanelTest, MinimisingWithAListOpenClosesItUnchanged) {
    OnCard([](VcCard& card) { card.settings.clockMode = 0; });
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        ClearLog();
        OpenList(hwnd, kRateList);
        ASSERT_TRUE(RealMoveTo(ItemCentre(hwnd, kRateList, 0)));
        ::PostMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(hwnd) != FALSE; }));
        PumpMessages();
        EXPECT_FALSE(::IsWindowVisible(ListOf(hwnd, kRateList))) << "the list stays on the desktop";
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(ClockRequests(TakeLog()), 0u);
        ::ShowWindow(hwnd, SW_RESTORE);
    });
}

// A button pressed and dragged onto a fader shows its resting look there; released
// there it does nothing. Dragged back, it looks held again and its release acts.
TEST_F(PanelTest, AButtonActsOnlyWhenReleasedOverIt) {
    struct ButtonCase {
        const char* name;
        int id;
        uint32_t request;  // 0 for OK, which ends the window instead
    };
    const ButtonCase cases[] = {
        {"Save as Defaults", 71, kSaveDefaults},
        {"channel 0's switch", 44, kChannelControlOff},
        {"OK", 62, 0},
    };
    for (const ButtonCase& c : cases) {
        for (const bool back : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (back ? ", dragged back" : ", released away"));
            OnCard([](VcCard& card) { card.settings.control[0] = 1; });
            std::vector<uint32_t> sent;
            const INT_PTR result = RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
                HWND button = ::GetDlgItem(hwnd, c.id);
                const POINT over = Centre(button);
                const Pixels resting = CaptureClient(button);
                ClearLog();
                ASSERT_TRUE(RealPressAt(over));
                const Pixels held = CaptureClient(button);
                EXPECT_NE(held, resting);
                ASSERT_TRUE(RealMoveTo(CentreOf(hwnd, kFader)));
                EXPECT_EQ(CaptureClient(button), resting);
                if (back) {
                    ASSERT_TRUE(RealMoveTo(over));
                    EXPECT_EQ(CaptureClient(button), held);
                }
                ASSERT_TRUE(RealReleaseAt(back ? over : CentreOf(hwnd, kFader)));
                sent = Codes(TakeLog());
            });
            EXPECT_EQ(result, c.request == 0 && back ? IDOK : IDCANCEL);
            const std::vector<uint32_t> acted = c.request != 0 ? std::vector<uint32_t>{c.request} : std::vector<uint32_t>{};
            EXPECT_EQ(sent, back ? acted : std::vector<uint32_t>{});
        }
    }
}
