// A slow driver: with every request taking 100 ms, a click on a channel switch reaches
// the card and a click on Diagnostics... opens its window after at most one lamp poll,
// however long the delay has lasted; the lamps still follow the card.
#include <algorithm>
#include <string>

#include "controls/BitmapCache.h"
#include "controls/SkinButton.h"
#include "tests/win32/panel_harness.h"

namespace {

constexpr uint32_t kSlowMs = 100;
// Four ticks for every poll that finishes at 100 ms per request: ticks that each
// queued a poll would pile up fast.
constexpr UINT kFastLampPeriodMs = 250;
constexpr size_t kOnePoll = 16;
constexpr int kDiagnosticsButton = 95;

// How long the delay has lasted before the click, counted in lamp polls.
const size_t kPollsBeforeClick[] = {1, 4};

// Notes the first window other than the main window (the one with Diagnostics...)
// that becomes active, with the number of requests made before it did, and cancels
// it. It lives past the main window: a click that a busy window handles late still
// opens its window then.
class CActivationWatch {
public:
    explicit CActivationWatch(std::function<size_t()> requestsSoFar) : requestsSoFar_(std::move(requestsSoFar)) {
        s_watch = this;
        hook_ = ::SetWindowsHookExA(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
    }
    ~CActivationWatch() {
        ::UnhookWindowsHookEx(hook_);
        s_watch = nullptr;
    }
    HWND opened = nullptr;
    std::string caption;
    size_t requestsBefore = 0;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && s_watch->opened == nullptr && ::GetDlgItem(hwnd, kDiagnosticsButton) == nullptr) {
            s_watch->opened = hwnd;
            s_watch->requestsBefore = s_watch->requestsSoFar_();
            char text[64] = {};
            ::GetWindowTextA(hwnd, text, sizeof text);
            s_watch->caption = text;
            ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static CActivationWatch* s_watch;
    std::function<size_t()> requestsSoFar_;
    HHOOK hook_ = nullptr;
};
CActivationWatch* CActivationWatch::s_watch = nullptr;

class SlowDriverTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        CWaveSettingsDialog::SetLampPeriod(kFastLampPeriodMs);
    }

    void SetDelay(uint32_t ms) {
        OnCore([ms](CVirtualCard& core) { core.SetDelayMs(ms); });
    }

    // The requests logged since the last ClearLog, gathered as they come: the card
    // keeps only the last 64.
    const std::vector<LoggedRequest>& Gathered() {
        for (const LoggedRequest& r : TakeLog()) gathered_.push_back(r);
        return gathered_;
    }
    void StartGathering() {
        ClearLog();
        gathered_.clear();
    }

    // Arms the delay and lets it last for the given number of polls' requests.
    void SlowDownFor(size_t polls) {
        SetDelay(kSlowMs);
        StartGathering();
        ASSERT_TRUE(PumpEachUntil([&] { return Gathered().size() >= polls * kOnePoll; }));
        StartGathering();
    }

private:
    std::vector<LoggedRequest> gathered_;
};

bool IsSwitchRequest(const LoggedRequest& r) { return r.code == kChannelControlOff || r.code == kChannelControlOn; }

TEST_F(SlowDriverTest, AClickOnASwitchReachesTheCardAfterAtMostOnePoll) {
    for (size_t polls : kPollsBeforeClick) {
        SCOPED_TRACE(polls);
        OnCard([](VcCard& c) { c.settings.control[3] = 1; });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            SlowDownFor(polls);
            HWND button = ::GetDlgItem(hwnd, kChannelControls[3].switchId);
            ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            const bool reached = PumpEachUntil([&] {
                const std::vector<LoggedRequest>& log = Gathered();
                return std::any_of(log.begin(), log.end(), IsSwitchRequest);
            });
            const std::vector<LoggedRequest>& log = Gathered();
            const size_t before = std::find_if(log.begin(), log.end(), IsSwitchRequest) - log.begin();
            SetDelay(0);
            EXPECT_TRUE(reached) << before << " requests and no switch request";
            EXPECT_LE(before, kOnePoll) << "requests before the click's";
            OnCard([](VcCard& c) { EXPECT_EQ(c.settings.control[3], 0) << "switched off"; });
        });
    }
}

TEST_F(SlowDriverTest, DiagnosticsOpensAfterAtMostOnePoll) {
    for (size_t polls : kPollsBeforeClick) {
        SCOPED_TRACE(polls);
        CActivationWatch watch([&] {
            const size_t requests = Gathered().size();
            SetDelay(0);  // what follows needs no slow driver
            return requests;
        });
        RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
            SlowDownFor(polls);
            HWND button = ::GetDlgItem(hwnd, kDiagnosticsButton);
            ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            const bool opened = PumpEachUntil([&] { return watch.opened != nullptr; });
            SetDelay(0);
            ASSERT_TRUE(opened) << Gathered().size() << " requests and no window";
            EXPECT_EQ(watch.caption, "Zelk MIRVA PCI Diagnostics");
            EXPECT_LE(watch.requestsBefore, kOnePoll) << "requests before the window opened";
        });
    }
}

TEST_F(SlowDriverTest, TheLampsFollowTheCardWhileItIsSlow) {
    RunPanel([&](CWaveSettingsDialog&, HWND hwnd) {
        SlowDownFor(1);
        OnCard([](VcCard& c) { c.playbackState[4] = 2; });
        CSkinButton* lamp = static_cast<CSkinButton*>(CWnd::FromHandle(PanelTest::ChildAt(hwnd, 104 + 65 * 4, 258)));
        ASSERT_NE(lamp, nullptr);
        CSkinBitmap* open = LoadSkinBitmap(210);
        EXPECT_TRUE(PumpEachUntil([&] { return lamp->bitmaps[0] == open; }));
        SetDelay(0);
    });
}

}  // namespace
