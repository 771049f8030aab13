#include "tests/win32/windows_harness.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "controls/PanelFont.h"
#include "controls/SkinDialogBaseUnits.h"
#include "windows/DiagnosticsDialog.h"

namespace {

// The driver port of every device object the tests build: the in-process card,
// with the thread of each request noted and an optional look at each request; a
// card taken away is gone for it as for the card's own port.
std::mutex g_portLock;
std::shared_ptr<CVirtualCardDevice> g_card;
std::vector<DWORD> g_threads;
std::function<void(const LoggedRequest&)> g_watch;

class CRecordingPort : public DriverPort {
public:
    CRecordingPort() : inner_(g_card) {}
    void Open(const char* path) override { inner_.Open(path); }
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) override {
        std::function<void(const LoggedRequest&)> watch;
        {
            std::lock_guard<std::mutex> hold(g_portLock);
            g_threads.push_back(::GetCurrentThreadId());
            watch = g_watch;
        }
        if (watch && requestSize >= sizeof(LoggedRequest::bytes)) {
            LoggedRequest seen;
            seen.code = code;
            std::memcpy(seen.bytes, request, sizeof seen.bytes);
            watch(seen);
        }
        return inner_.Control(code, request, requestSize, reply, replySize);
    }
    void Close() override { inner_.Close(); }
    bool Gone() const override { return inner_.Gone(); }

private:
    CInProcessPort inner_;
};

std::unique_ptr<DriverPort> MakeRecordingPort() { return std::make_unique<CRecordingPort>(); }

constexpr UINT kNoTicks = 3600 * 1000;  // no diagnostics tick within a test

}  // namespace

void WindowsTest::SetUp() {
    InProcessCardTest::SetUp();
    {
        std::lock_guard<std::mutex> hold(g_portLock);
        g_card = card;
    }
    SetDriverPortFactory(MakeRecordingPort);
    CreatePanelFonts();
    device = std::make_unique<CCardControl>();
    ASSERT_EQ(device->GetCardCount(), 1u);
    ClearLog();
    TakeRequestThreads();
}

void WindowsTest::TearDown() {
    device.reset();
    WatchRequests(nullptr);
    InProcessCardTest::TearDown();
    {
        std::lock_guard<std::mutex> hold(g_portLock);
        g_card.reset();
    }
    ResetSkinDialogBaseUnits();
}

void QuietDiagnosticsTest::SetUp() {
    WindowsTest::SetUp();
    g_dmaErrorCount = 0;
    CDiagnosticsDialog::SetPollDelay(kNoTicks);
}

void QuietDiagnosticsTest::TearDown() {
    CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
    WindowsTest::TearDown();
}

INT_PTR QuietDiagnosticsTest::RunDiagnostics(const std::function<void(HWND)>& body) {
    CDiagnosticsDialog dialog(device.get(), kCard);
    return RunModal(dialog, body);
}

std::vector<DWORD> WindowsTest::TakeRequestThreads() {
    std::lock_guard<std::mutex> hold(g_portLock);
    std::vector<DWORD> threads;
    threads.swap(g_threads);
    return threads;
}

void WindowsTest::WatchRequests(std::function<void(const LoggedRequest&)> watch) {
    std::lock_guard<std::mutex> hold(g_portLock);
    g_watch = std::move(watch);
}

RECT WindowsTest::ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> WindowsTest::ChildrenByPosition(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    std::sort(children.begin(), children.end(), [dialog](HWND a, HWND b) {
        const RECT ra = ChildRect(dialog, a);
        const RECT rb = ChildRect(dialog, b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return children;
}

namespace {
CChildCreationRecorder* g_recorder = nullptr;
}  // namespace

CChildCreationRecorder::CChildCreationRecorder()
    : hook_(::SetWindowsHookExA(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId())) {
    g_recorder = this;
}

CChildCreationRecorder::~CChildCreationRecorder() {
    ::UnhookWindowsHookEx(hook_);
    g_recorder = nullptr;
}

LRESULT CALLBACK CChildCreationRecorder::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_recorder != nullptr) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if ((create->style & WS_CHILD) != 0) {
            g_recorder->ids.push_back(static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu)));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
