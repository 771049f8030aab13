// Closing a window while a slow card keeps the polls busy: the close waits for at most
// the one request in flight on the window's own behalf, never for another window's
// poll, and no request of its own follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "panel/WaveSettingsDialog.h"
#include "tests/win32/windows_harness.h"
#include "windows/DiagnosticsDialog.h"

namespace {

constexpr uint32_t kSlowMs = 100;
// Polls at 100 ms a request take longer than these periods, so one is always under way.
constexpr UINT kLampPeriodMs = 250;
constexpr UINT kDiagnosticsPeriodMs = 100;
constexpr DWORD kGenerousMs = 10000;

// Notes the card's request count when WM_DESTROY reaches the window: the close has
// begun, and what the window's thread does from there on is part of it.
class CCloseWatch {
public:
    CCloseWatch(HWND window, std::function<uint32_t()> count) : window_(window), count_(std::move(count)) {
        s_watch = this;
        hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, HookProc, nullptr, ::GetCurrentThreadId());
    }
    ~CCloseWatch() {
        ::UnhookWindowsHookEx(hook_);
        s_watch = nullptr;
    }
    bool began = false;
    uint32_t requestsAtBeginning = 0;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
        const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_DESTROY && message->hwnd == s_watch->window_ &&
            !s_watch->began) {
            s_watch->began = true;
            s_watch->requestsAtBeginning = s_watch->count_();
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static CCloseWatch* s_watch;
    HWND window_;
    std::function<uint32_t()> count_;
    HHOOK hook_ = nullptr;
};
CCloseWatch* CCloseWatch::s_watch = nullptr;

class ClosingTest : public QuietDiagnosticsTest {
protected:
    void SetUp() override {
        QuietDiagnosticsTest::SetUp();
        CWaveSettingsDialog::SetLampPeriod(kLampPeriodMs);
        CDiagnosticsDialog::SetPollDelay(kDiagnosticsPeriodMs);
        ui_ = ::GetCurrentThreadId();
    }
    void TearDown() override {
        OnCore([](CVirtualCard& core) { core.SetDelayMs(0); });
        CWaveSettingsDialog::SetLampPeriod(CWaveSettingsDialog::kDefaultLampPeriodMs);
        QuietDiagnosticsTest::TearDown();
    }

    void SlowDown() {
        OnCore([](CVirtualCard& core) { core.SetDelayMs(kSlowMs); });
    }

    // The first of the sixteen requests of a lamp poll, sent off the window's thread.
    bool BeginsALampPoll(const LoggedRequest& request) const {
        return request.code == kQueryStatus && request.Word(16) == 15 && request.Word(20) == 0 &&
               ::GetCurrentThreadId() != ui_;
    }

    DWORD ui_ = 0;
};

TEST_F(ClosingTest, TheMainWindowSendsAtMostOneMoreRequestOnceItsCloseBegins) {
    CWaveSettingsDialog main;
    std::atomic<bool> asked{false};
    HWND closed = nullptr;
    std::unique_ptr<CCloseWatch> watch;
    RunModalLeftToItself(main, [&](HWND hwnd) {
        closed = hwnd;
        watch = std::make_unique<CCloseWatch>(hwnd, [this] { return RequestCount(); });
        SlowDown();
        // Closed as a lamp poll begins: fifteen of its requests are still to come.
        WatchRequests([&, hwnd](const LoggedRequest& request) {
            if (BeginsALampPoll(request) && !asked.exchange(true)) {
                ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
            }
        });
    });
    const uint32_t afterClose = RequestCount();
    EXPECT_FALSE(::IsWindow(closed));
    ASSERT_TRUE(watch->began) << "the window was not closed by the test";
    EXPECT_LE(afterClose - watch->requestsAtBeginning, 1u) << "requests sent once the close began";
}

TEST_F(ClosingTest, DiagnosticsSendsAtMostOneMoreRequestAndWaitsForNoLampPoll) {
    CWaveSettingsDialog main;
    // Holds the lamp poll in its first request until Diagnostics has closed, as a
    // driver at its longest answer would; the card has no say in how long.
    HANDLE diagnosticsClosed = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> asked{false};
    uint32_t afterClose = 0;
    bool began = false;
    uint32_t requestsAtBeginning = 0;
    RunModal(main, [&](HWND) {
        CDiagnosticsDialog diagnostics(device.get(), kCard);
        std::unique_ptr<CCloseWatch> watch;
        RunModalLeftToItself(diagnostics, [&](HWND hwnd) {
            watch = std::make_unique<CCloseWatch>(hwnd, [this] { return RequestCount(); });
            SlowDown();
            WatchRequests([&, hwnd](const LoggedRequest& request) {
                if (BeginsALampPoll(request) && !asked.exchange(true)) {
                    ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
                    ::WaitForSingleObject(diagnosticsClosed, kGenerousMs);
                }
            });
        });
        afterClose = RequestCount();
        began = watch->began;
        requestsAtBeginning = watch->requestsAtBeginning;
        ::SetEvent(diagnosticsClosed);
    });
    ::CloseHandle(diagnosticsClosed);
    ASSERT_TRUE(began) << "the window was not closed by the test";
    EXPECT_LE(afterClose - requestsAtBeginning, 1u) << "requests sent once the close began";
}

}  // namespace
