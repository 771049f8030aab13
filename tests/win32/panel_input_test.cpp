// The main window worked with the real mouse and keyboard: what a slip of the hand
// sends the card, and whether the window stays.
#include <vector>

#include "tests/win32/panel_harness.h"
#include "tests/win32/support/RealInput.h"

namespace {

constexpr int kFader = 54;  // channel 0's

POINT Centre(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CentreOf(HWND dialog, int id) { return Centre(::GetDlgItem(dialog, id)); }

}  // namespace

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
