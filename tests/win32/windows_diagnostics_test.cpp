// The diagnostics window on the virtual card: what the five fields show, when the
// card is asked, the buttons' requests, and a poll that runs on the timer's thread
// and never keeps a click waiting for its requests.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "controls/SkinLabel.h"
#include "tests/win32/windows_harness.h"
#include "windows/DiagnosticsDialog.h"

namespace {

enum Field { kCardState, kDmaStatus, kDmaErrors, kFpgaRevision, kClock };

class DiagnosticsTest : public QuietDiagnosticsTest {
protected:
    // The texts of the five value fields, top to bottom.
    static std::vector<std::string> Fields(HWND dialog) {
        std::vector<std::string> texts;
        for (HWND child : ChildrenByPosition(dialog)) {
            if (::GetDlgCtrlID(child) == 100) texts.push_back(static_cast<CSkinLabel*>(CWnd::FromHandle(child))->GetText());
        }
        return texts;
    }

    // One update on the window's thread, as every repaint makes it; a timer tick
    // shows the same values read on the timer's thread.
    static void Update(HWND dialog) { Repaint(dialog); }
};

// Sees the window once its controls exist but before it is shown or painted.
class CDiagnosticsBeforePaint : public CDiagnosticsDialog {
public:
    using CDiagnosticsDialog::CDiagnosticsDialog;
    std::function<void(HWND)> atInit;

protected:
    BOOL OnInitDialog() override {
        atInit(m_hWnd);
        return CDiagnosticsDialog::OnInitDialog();
    }
};

TEST_F(DiagnosticsTest, FieldsSayIdleAndTheCardIsNotAskedBeforeTheFirstPaint) {
    CDiagnosticsBeforePaint dialog(device.get(), kCard);
    std::vector<std::string> before;
    size_t requestsBefore = 1;
    dialog.atInit = [&](HWND hwnd) {
        before = Fields(hwnd);
        requestsBefore = TakeLog().size();
    };
    RunModal(dialog, [](HWND) {});
    EXPECT_EQ(before, std::vector<std::string>(5, "Idle"));
    EXPECT_EQ(requestsBefore, 0u);
}

TEST_F(DiagnosticsTest, FirstPaintAsksTheSixValuesInOrderAndShowsThem) {
    OnCard([](VcCard& c) {
        c.cardState = 2;
        c.multiPlaying = 1;
        c.dmaStatus = 3;
        c.fpgaRevision = 18;
        c.clockMeasurement = 933;
        c.dmaErrorCount = 5;
    });
    RunDiagnostics([&](HWND hwnd) {
        EXPECT_EQ(Fields(hwnd), (std::vector<std::string>{"Opened - Multi Playing", "Audio DMA's active", "5", "0012",
                                                          "48000 Hz"}));
        char caption[64] = {};
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "Zelk MIRVA PCI Diagnostics");

        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_GE(log.size(), 6u);
        const uint32_t queries[] = {12, 16, 13};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(log[i].code, kQueryStatus) << i;
            EXPECT_EQ(log[i].Word(8), 0u) << "bank";
            EXPECT_EQ(log[i].Word(16), queries[i]);
            EXPECT_EQ(log[i].Word(20), 0u) << "item";
        }
        EXPECT_EQ(log[3].code, kReadRegister);
        EXPECT_EQ(log[3].Word(20), 4137u) << "FPGA revision register";
        EXPECT_EQ(log[4].code, kReadRegister);
        EXPECT_EQ(log[4].Word(20), 61u) << "clock measurement register";
        EXPECT_EQ(log[5].code, kQueryStatus);
        EXPECT_EQ(log[5].Word(16), 17u);
        for (const LoggedRequest& r : log) EXPECT_EQ(r.Word(4), 0u) << "driver index of card 0";
    });
}

struct ShownCase {
    const char* what;
    std::function<void(VcCard&)> change;
    Field field;
    const char* shown;
};

TEST_F(DiagnosticsTest, EveryUpdateShowsTheCardsValuesInTheirTexts) {
    const ShownCase cases[] = {
        {"ready, no multi", [](VcCard& c) { c.cardState = 1; c.multiPlaying = 0; }, kCardState, "Ready - No Multi Playing"},
        {"ready, multi", [](VcCard& c) { c.cardState = 1; c.multiPlaying = 9; }, kCardState, "Ready - Multi Playing"},
        {"opened, no multi", [](VcCard& c) { c.cardState = 4; c.multiPlaying = 0; }, kCardState, "Opened - No Multi Playing"},
        {"state 7", [](VcCard& c) { c.cardState = 7; }, kCardState, "Error Condition"},
        {"state -1", [](VcCard& c) { c.cardState = 0xFFFFFFFFu; }, kCardState, "Error Condition"},
        {"DMA 3", [](VcCard& c) { c.dmaStatus = 3; }, kDmaStatus, "Audio DMA's active"},
        {"DMA 5", [](VcCard& c) { c.dmaStatus = 5; }, kDmaStatus, "Audio DMA error"},
        {"FPGA 107187", [](VcCard& c) { c.fpgaRevision = 107187; }, kFpgaRevision, "1A2B3"},
        // The register counts five short of the divider: 933 is the measurement 938.
        {"clock 938", [](VcCard& c) { c.clockMeasurement = 933; }, kClock, "48000 Hz"},
        {"clock 1023", [](VcCard& c) { c.clockMeasurement = 1018; }, kClock, "44100 Hz"},
        {"clock 1407", [](VcCard& c) { c.clockMeasurement = 1402; }, kClock, "32000 Hz"},
        {"clock 0xFFFFFFFF", [](VcCard& c) { c.clockMeasurement = 0xFFFFFFFAu; }, kClock, "0 Hz"},
    };
    RunDiagnostics([&](HWND hwnd) {
        for (const ShownCase& c : cases) {
            OnCard(c.change);
            Update(hwnd);
            EXPECT_EQ(Fields(hwnd)[c.field], c.shown) << c.what;
        }
    });
}

TEST_F(DiagnosticsTest, DmaErrorsShowTheGrowthSinceTheLastUpdateEvenAcrossOpenings) {
    OnCard([](VcCard& c) { c.dmaErrorCount = 5; });
    RunDiagnostics([&](HWND hwnd) {
        EXPECT_EQ(Fields(hwnd)[kDmaErrors], "5") << "the first update shows the whole count";
        OnCard([](VcCard& c) { c.dmaErrorCount = 7; });
        Update(hwnd);
        EXPECT_EQ(Fields(hwnd)[kDmaErrors], "2");
        Update(hwnd);
        EXPECT_EQ(Fields(hwnd)[kDmaErrors], "0");
        OnCard([](VcCard& c) { c.dmaErrorCount = 10; });
    });
    RunDiagnostics([&](HWND hwnd) { EXPECT_EQ(Fields(hwnd)[kDmaErrors], "3"); });
}

TEST_F(DiagnosticsTest, APollReadBeforeARepaintNeverReplacesWhatTheRepaintShows) {
    CDiagnosticsDialog::SetPollDelay(20);
    OnCard([](VcCard& c) { c.dmaErrorCount = 5; });
    RunDiagnostics([&](HWND hwnd) {
        ASSERT_TRUE(WaitUntilQueued(hwnd, CDiagnosticsDialog::kTickMessage)) << "a poll's values wait, read at 5 errors";
        OnCard([](VcCard& c) { c.dmaErrorCount = 7; });
        Repaint(hwnd);  // painted at once, ahead of the tick
        ASSERT_EQ(Fields(hwnd)[kDmaErrors], "2");
        HandleFirstQueued(hwnd, CDiagnosticsDialog::kTickMessage);
        EXPECT_EQ(Fields(hwnd)[kDmaErrors], "2") << "the older poll's count shown after the newer one";
    });
    RunDiagnostics([&](HWND hwnd) { EXPECT_EQ(Fields(hwnd)[kDmaErrors], "0") << "growth since the newest count"; });
}

TEST_F(DiagnosticsTest, FieldsWhoseQueryGetsNoReplySaySoAndRecoverOnTheNextUpdate) {
    OnCard([](VcCard& c) {
        c.cardState = 1;
        c.dmaErrorCount = 5;
        c.fpgaRevision = 18;
    });
    RunDiagnostics([&](HWND hwnd) {
        OnCard([](VcCard& c) { c.dmaErrorCount = 9; });
        OnCore([](CVirtualCard& core) { core.FailNextCalls(8); });  // six queries, two register retries
        Update(hwnd);
        EXPECT_EQ(Fields(hwnd), std::vector<std::string>(5, "No reply"));

        Update(hwnd);
        EXPECT_EQ(Fields(hwnd), (std::vector<std::string>{"Ready - No Multi Playing", "Idle", "4", "0012", "48000 Hz"}))
            << "errors counted from the last count that was read";
    });
}

TEST_F(DiagnosticsTest, AQueryAnsweredWithADriverStatusStillShowsItsValue) {
    OnCard([](VcCard& c) {
        c.cardState = 1;
        c.fpgaRevision = 18;
    });
    RunDiagnostics([&](HWND hwnd) {
        OnCore([](CVirtualCard& core) { core.AnswerStatusForNextCalls(7, 100); });
        Update(hwnd);
        EXPECT_EQ(Fields(hwnd), (std::vector<std::string>{"Ready - No Multi Playing", "Idle", "0", "0012", "48000 Hz"}));
    });
}

TEST_F(DiagnosticsTest, CardStateSaysNoReplyWhenOnlyMultiPlayingGetsNone) {
    RunDiagnostics([&](HWND hwnd) {
        int seen = 0;
        WatchRequests([&](const LoggedRequest&) {
            if (++seen == 2) OnCore([](CVirtualCard& core) { core.FailNextCalls(1); });
        });
        Update(hwnd);
        WatchRequests(nullptr);
        const std::vector<std::string> fields = Fields(hwnd);
        EXPECT_EQ(fields[kCardState], "No reply");
        for (int f = kDmaStatus; f <= kClock; ++f) EXPECT_NE(fields[f], "No reply") << f;
    });
}

TEST_F(DiagnosticsTest, TheTimerShowsAChangedCardValueWithoutARepaintAndPollsOnItsOwnThread) {
    CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
    OnCard([](VcCard& c) { c.cardState = 1; });
    RunDiagnostics([&](HWND hwnd) {
        ASSERT_EQ(Fields(hwnd)[kCardState], "Ready - No Multi Playing");
        TakeRequestThreads();  // the first paint's, on this thread
        OnCard([](VcCard& c) { c.cardState = 0; });
        EXPECT_TRUE(PumpUntil([&] { return Fields(hwnd)[kCardState] == "Uninitialized"; }));
        const uint32_t before = RequestCount();
        EXPECT_TRUE(PumpUntil([&] { return RequestCount() >= before + 6; })) << "it goes on ticking";
    });
    const std::vector<DWORD> threads = TakeRequestThreads();
    EXPECT_GE(threads.size(), 12u);
    for (DWORD thread : threads) EXPECT_NE(thread, ::GetCurrentThreadId());
}

TEST_F(DiagnosticsTest, ASlowDriverNeverKeepsAClickWaitingForAWholePoll) {
    constexpr size_t kOnePoll = 6;
    // Five ticks for every poll that finishes at 100 ms per request.
    CDiagnosticsDialog::SetPollDelay(100);
    RunDiagnostics([&](HWND hwnd) {
        OnCore([](CVirtualCard& core) { core.SetDelayMs(100); });
        std::vector<LoggedRequest> log;
        auto gather = [&] {
            for (const LoggedRequest& r : TakeLog()) log.push_back(r);
        };
        ClearLog();
        ASSERT_TRUE(PumpEachUntil([&] {
            gather();
            return log.size() >= 3 * kOnePoll;
        }));
        log.clear();
        HWND button = ::GetDlgItem(hwnd, 97);
        ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        auto isFree = [](const LoggedRequest& r) { return r.code == kFreeCard; };
        const bool reached = PumpEachUntil([&] {
            gather();
            return std::any_of(log.begin(), log.end(), isFree);
        });
        OnCore([](CVirtualCard& core) { core.SetDelayMs(0); });
        EXPECT_TRUE(reached);
        EXPECT_LT(static_cast<size_t>(std::find_if(log.begin(), log.end(), isFree) - log.begin()), kOnePoll)
            << "requests before Free Card's";
    });
}

struct ResetCase {
    const char* what;
    std::function<void(CVirtualCard&)> arm;
    std::vector<uint32_t> sent;
};

// What an action sends, then the six reads of the update that follows it.
std::vector<uint32_t> ThenAnUpdate(std::vector<uint32_t> sent) {
    sent.insert(sent.end(), {kQueryStatus, kQueryStatus, kQueryStatus, kReadRegister, kReadRegister, kQueryStatus});
    return sent;
}

TEST_F(DiagnosticsTest, ResetCardStopsAndOnlyThenStartsAndReadsTheCardAgain) {
    const ResetCase cases[] = {
        {"stop answers", [](CVirtualCard&) {}, ThenAnUpdate({kResetCardStop, kResetCardStart})},
        {"stop call fails", [](CVirtualCard& core) { core.FailNextCalls(1); }, {kResetCardStop}},
        {"stop refused by the driver", [](CVirtualCard& core) { core.AnswerStatusForNextCalls(3, 1); }, {kResetCardStop}},
    };
    for (const ResetCase& c : cases) {
        RunDiagnostics([&](HWND hwnd) {
            ClearLog();
            OnCore(c.arm);
            ClickId(hwnd, 98);
            const std::vector<LoggedRequest> log = TakeLog();
            EXPECT_EQ(Codes(log), c.sent) << c.what;
            for (const LoggedRequest& r : log) EXPECT_EQ(r.Word(4), 0u) << c.what;
            EXPECT_TRUE(::IsWindow(hwnd)) << c.what;
        });
    }
}

TEST_F(DiagnosticsTest, FreeCardSendsFreeCardThenReadsTheCardAgain) {
    RunDiagnostics([&](HWND hwnd) {
        ClearLog();
        ClickId(hwnd, 97);
        EXPECT_EQ(Codes(TakeLog()), ThenAnUpdate({kFreeCard}));
        OnCard([](VcCard& c) { EXPECT_EQ(c.isFree, 1u); });
    });
}

TEST_F(DiagnosticsTest, AfterResetCardTheFieldsShowTheResetCardThoughAPollReadItBefore) {
    CDiagnosticsDialog::SetPollDelay(100);
    OnCard([](VcCard& c) {
        c.cardState = 4;
        c.multiPlaying = 1;
        c.dmaStatus = 3;
    });
    RunDiagnostics([&](HWND hwnd) {
        ASSERT_EQ(Fields(hwnd)[kCardState], "Opened - Multi Playing");
        const DWORD ui = ::GetCurrentThreadId();
        std::atomic<int> pollsBegun{0};
        // A poll reads the card state first. The first poll that begins is under way
        // during the click; the next begins once the first has been handed over or
        // dropped.
        WatchRequests([&, hwnd](const LoggedRequest& request) {
            if (::GetCurrentThreadId() == ui || request.code != kQueryStatus || request.Word(16) != 12) return;
            if (++pollsBegun == 1) {
                HWND button = ::GetDlgItem(hwnd, 98);
                ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            } else {
                ::PostMessageA(hwnd, WM_NULL, 0, 0);
            }
        });
        OnCore([](CVirtualCard& core) { core.SetDelayMs(100); });
        const bool next = PumpEachUntil([&] { return pollsBegun >= 2; });
        WatchRequests(nullptr);
        OnCore([](CVirtualCard& core) { core.SetDelayMs(0); });
        ASSERT_TRUE(next) << "no poll after the click";
        EXPECT_EQ(Fields(hwnd)[kCardState], "Ready - No Multi Playing");
        EXPECT_EQ(Fields(hwnd)[kDmaStatus], "Idle");
    });
}

struct CloseCase {
    const char* what;
    std::function<void(HWND)> act;
    INT_PTR result;
};

const CloseCase kCloseCases[] = {
    {"OK button", [](HWND hwnd) { ClickId(hwnd, 96); }, IDOK},
    {"Enter", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
    {"Escape", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
    {"close box", [](HWND hwnd) { ::PostMessageA(hwnd, WM_CLOSE, 0, 0); }, IDCANCEL},
};

TEST_F(DiagnosticsTest, OkEnterEscapeAndTheCloseBoxEndIt) {
    for (const CloseCase& c : kCloseCases) {
        HWND closed = nullptr;
        EXPECT_EQ(RunDiagnostics([&](HWND hwnd) {
                      closed = hwnd;
                      c.act(hwnd);  // keys go through the dialog's own loop after this returns
                  }),
                  c.result)
            << c.what;
        EXPECT_FALSE(::IsWindow(closed)) << c.what;
    }
}

// Notes the timers whose ticks reach this thread's queue.
class CTickWatch {
public:
    CTickWatch() : hook_(::SetWindowsHookExA(WH_GETMESSAGE, HookProc, nullptr, ::GetCurrentThreadId())) {
        s_watch = this;
    }
    ~CTickWatch() {
        ::UnhookWindowsHookEx(hook_);
        s_watch = nullptr;
    }
    std::set<UINT> timers;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && msg->message == CDiagnosticsDialog::kTickMessage && msg->wParam != 0) {
            s_watch->timers.insert(static_cast<UINT>(msg->wParam));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static CTickWatch* s_watch;
    HHOOK hook_;
};
CTickWatch* CTickWatch::s_watch = nullptr;

TEST_F(DiagnosticsTest, OpeningAndClosingWithTicksInFlightLeavesNothingPolling) {
    CDiagnosticsDialog::SetPollDelay(20);
    CTickWatch ticks;
    std::vector<HWND> closed;
    for (int opening = 0; opening < 20; ++opening) {
        RunDiagnostics([&](HWND hwnd) {
            closed.push_back(hwnd);
            const uint32_t firstPaint = RequestCount();
            EXPECT_TRUE(PumpUntil([&] { return RequestCount() >= firstPaint + 12; })) << "timer ticks";
            for (int i = 0; i < 3; ++i) ::PostMessageA(hwnd, CDiagnosticsDialog::kTickMessage, 0, 0);
            ClickId(hwnd, 96);
        });
    }
    for (HWND hwnd : closed) {
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_FALSE(::PostMessageA(hwnd, CDiagnosticsDialog::kTickMessage, 0, 0)) << "a late tick finds no window";
    }
    const uint32_t afterClose = RequestCount();
    PumpFor(300);  // fifteen periods of the fast poll
    EXPECT_EQ(RequestCount(), afterClose);
    EXPECT_EQ(ticks.timers.size(), closed.size()) << "one timer per opening";
    for (UINT timer : ticks.timers) EXPECT_NE(::timeKillEvent(timer), TIMERR_NOERROR) << "timer " << timer << " still runs";
}

TEST_F(DiagnosticsTest, PaintsTilesFramesLabelsAndControlsWhereTheyBelong) {
    OnCard([](VcCard& c) {
        c.cardState = 1;
        c.multiPlaying = 1;
        c.dmaStatus = 3;
        c.fpgaRevision = 0x1A2B3;
        c.clockMeasurement = 1018;
        c.dmaErrorCount = 12;
    });
    RunDiagnostics([&](HWND hwnd) {
        const Pixels shown = CaptureClient(hwnd);
        SaveScreenshot(shown, "diagnostics");
        const Pixels stone = SkinPixels(137);
        EXPECT_EQ(shown.At(3, 160), stone.At(3, 8)) << "tile row at y 152";
        EXPECT_EQ(shown.At(250, 3), stone.At(10, 3)) << "tile column at x 240";
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(shown.At(5, 5 + 25 * row), Rgb(155, 164, 172)) << "frame " << row;
            EXPECT_EQ(shown.At(263, 25 + 25 * row), Rgb(231, 231, 231)) << "frame " << row;
        }
        const struct {
            int x, y, bitmap;
        } controls[] = {{200, 140, 159}, {90, 142, 197}, {10, 142, 199}};
        for (const auto& c : controls) {
            const Pixels face = SkinPixels(c.bitmap);
            EXPECT_TRUE(shown.Part(c.x, c.y, face.width - 1, face.height - 1) ==
                        face.Part(0, 0, face.width - 1, face.height - 1))
                << "bitmap " << c.bitmap;
        }
        // Each row has its label on the stone and its value over the field bitmap.
        const Pixels field = SkinPixels(200);
        for (int row = 0; row < 5; ++row) {
            int dark = 0;
            for (int y = 8 + 25 * row; y < 24 + 25 * row; ++y)
                for (int x = 10; x < 95; ++x) dark += (shown.At(x, y) & 0xC0C0C0) == 0;
            EXPECT_GT(dark, 10) << "label " << row;
            EXPECT_FALSE(shown.Part(100, 8 + 25 * row, 129, 17) == field.Part(0, 0, 129, 17)) << "value " << row;
        }
    });
}

}  // namespace
