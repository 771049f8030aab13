// Start-up while another copy holds the lock that one copy holds for its life but
// shows no main window: it is showing its no-card message, or it died. The other
// copy is played by a thread of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/WaveSettingsApp.h"
#include "emulator/InProcessPort.h"

namespace {

constexpr char kLockName[] = "Local\\Zelk MIRVA PCI Wave Device Settings";
constexpr char kNoCardText[] = "No MIRVA PCI Cards were found!";
constexpr char kNoCardCaption[] = "MIRVA PCI Wave Settings";
constexpr DWORD kBound = 10000;

std::shared_ptr<CVirtualCardDevice> g_card;
int g_portsMade = 0;

std::unique_ptr<DriverPort> CountingPort() {
    ++g_portsMade;
    return std::make_unique<CInProcessPort>(g_card);
}

// Captions of the dialog boxes this thread shows, each answered with OK at once.
std::vector<std::string> g_shown;
HHOOK g_hook = nullptr;

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        char caption[256] = {};
        ::GetClassNameA(window, className, sizeof className);
        ::GetWindowTextA(window, caption, sizeof caption);
        if (std::strcmp(className, "#32770") == 0) {
            g_shown.push_back(caption);
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

enum class Holder { ShowsNoCardMessage, Died };

// The other copy: a thread that takes the lock and then shows its no-card
// message, or ends without releasing the lock.
class OtherCopy {
public:
    explicit OtherCopy(Holder holder)
        : ready_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, holder] { Run(holder); });
        ready = ::WaitForSingleObject(ready_, kBound) == WAIT_OBJECT_0;
        if (holder == Holder::Died) thread_.join();
    }
    ~OtherCopy() {
        if (message != nullptr) ::PostMessageA(message, WM_COMMAND, IDOK, 0);
        if (thread_.joinable()) thread_.join();
        if (mutex_ != nullptr) ::CloseHandle(mutex_);
        ::CloseHandle(ready_);
    }

    bool ready = false;
    HWND message = nullptr;  // its no-card message

private:
    void Run(Holder holder) {
        mutex_ = ::CreateMutexA(nullptr, FALSE, kLockName);
        if (::WaitForSingleObject(mutex_, kBound) != WAIT_OBJECT_0) return;
        switch (holder) {
        case Holder::ShowsNoCardMessage:
            s_self = this;
            s_hook = ::SetWindowsHookExA(WH_CBT, SeeMessage, nullptr, ::GetCurrentThreadId());
            ::MessageBoxA(nullptr, kNoCardText, kNoCardCaption, MB_ICONEXCLAMATION | MB_OK);
            ::UnhookWindowsHookEx(s_hook);
            break;
        case Holder::Died:
            ::SetEvent(ready_);
            return;
        }
        ::ReleaseMutex(mutex_);
    }
    static LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && s_self->message == nullptr) {
            s_self->message = reinterpret_cast<HWND>(wParam);
            ::SetEvent(s_self->ready_);
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }

    HANDLE ready_;
    HANDLE mutex_ = nullptr;
    std::thread thread_;
    static inline OtherCopy* s_self = nullptr;
    static inline HHOOK s_hook = nullptr;
};

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_card = InstallInProcessCard();
        g_card->WithCore([](CVirtualCard& core) {
            core.SetCardCount(0);
            return 0;
        });
        SetDriverPortFactory(CountingPort);
        g_portsMade = 0;
        g_shown.clear();
        g_hook = ::SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        ::UnhookWindowsHookEx(g_hook);
        UninstallInProcessCard();
        g_card.reset();
    }
};

}  // namespace

TEST_F(InstanceLockTest, ACopyThatFindsTheLockHeldOpensNoSecondLinkOrMessage) {
    struct Case {
        const char* name;
        Holder holder;
        int portsMade;  // this copy discovered the cards itself
        std::vector<std::string> shown;
    } cases[] = {
        {"the holder shows its no-card message", Holder::ShowsNoCardMessage, 0, {}},
        {"the holder died holding the lock", Holder::Died, 1, {kNoCardCaption}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_portsMade = 0;
        g_shown.clear();
        OtherCopy holder(c.holder);
        ASSERT_TRUE(holder.ready);
        CWaveSettingsApp app;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(g_portsMade, c.portsMade);
        EXPECT_EQ(g_shown, c.shown);
    }
}
