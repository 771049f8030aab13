// The diagnostics and custom synchronization windows as a screen reader meets them:
// names, roles, values and states read through oleacc on the in-process card, and
// the default action of their switches and buttons checked on the card.
#include <gtest/gtest.h>

#include <vector>

#include "tests/win32/accessibility_expect.h"
#include "tests/win32/accessibility_support.h"
#include "tests/win32/windows_harness.h"
#include "windows/AboutBox.h"
#include "windows/CustomSyncDialog.h"
#include "windows/DiagnosticsDialog.h"

namespace {

class WindowsAccessibilityTest : public QuietDiagnosticsTest {
protected:
    INT_PTR RunCustomSync(const std::function<void(HWND)>& body) {
        CCustomSyncDialog dialog(device.get(), kCard);
        return RunModal(dialog, body);
    }

    ComApartment com;
};

// The diagnostics window's children from the top: five fields, then the buttons
// left to right.
const ExpectedReading kDiagnostics[] = {
    {"Card State", ROLE_SYSTEM_STATICTEXT, "Ready - No Multi Playing", STATE_SYSTEM_READONLY, ""},
    {"DMA Status", ROLE_SYSTEM_STATICTEXT, "Audio DMA's active", STATE_SYSTEM_READONLY, ""},
    {"DMA Errors", ROLE_SYSTEM_STATICTEXT, "0", STATE_SYSTEM_READONLY, ""},
    {"FPGA Revision", ROLE_SYSTEM_STATICTEXT, "0012", STATE_SYSTEM_READONLY, ""},
    {"Clock Frequency", ROLE_SYSTEM_STATICTEXT, "48000 Hz", STATE_SYSTEM_READONLY, ""},
    {"OK", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {"Free Card", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
    {"Reset Card", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"},
};

}  // namespace

TEST_F(WindowsAccessibilityTest, DiagnosticsFieldsAndButtonsSayWhatTheyAre) {
    OnCard([](VcCard& c) {
        c.cardState = 1;
        c.multiPlaying = 0;
        c.dmaStatus = 3;
        c.fpgaRevision = 18;
        c.clockMeasurement = 933;
    });
    RunDiagnostics([&](HWND hwnd) {
        Repaint(hwnd);
        const std::vector<HWND> children = ChildrenByPosition(hwnd);
        ASSERT_EQ(children.size(), std::size(kDiagnostics));
        for (size_t i = 0; i < children.size(); ++i) ExpectReads(children[i], kDiagnostics[i]);
    });
}

TEST_F(WindowsAccessibilityTest, DiagnosticsFieldFollowsTheCard) {
    RunDiagnostics([&](HWND hwnd) {
        OnCard([](VcCard& c) { c.dmaStatus = 5; });
        Repaint(hwnd);
        ExpectReads(ChildrenByPosition(hwnd)[1],
                    {"DMA Status", ROLE_SYSTEM_STATICTEXT, "Audio DMA error", STATE_SYSTEM_READONLY, ""});
    });
}

TEST_F(WindowsAccessibilityTest, DiagnosticsFreeCardByItsDefaultActionFreesTheCard) {
    RunDiagnostics([&](HWND hwnd) {
        ClearLog();
        AccessibleRef free(::GetDlgItem(hwnd, 97));
        ASSERT_EQ(free.found(), S_OK);
        EXPECT_EQ(free.DoDefaultAction(), S_OK);
        PumpMessages();
        const std::vector<uint32_t> codes = Codes(TakeLog());
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(codes[0], kFreeCard);
    });
}

namespace {

struct SyncCase {
    int id;
    ExpectedReading reads;
};

// Card: record sync on for streams 0 and 5, playback sync on for stream 9.
const SyncCase kCustomSync[] = {
    {45, {"Analog sync record", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"}},
    {46, {"Analog sync playback", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"}},
    {48, {"S/PDIF sync record", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"}},
    {42, {"ADAT 7-8 sync record", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"}},
    {43, {"ADAT 7-8 sync playback", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"}},
    {75, {"Stream 1-2 sync playback", ROLE_SYSTEM_CHECKBUTTON, "off", 0, "Check"}},
    {81, {"Stream 7-8 sync playback", ROLE_SYSTEM_CHECKBUTTON, "on", STATE_SYSTEM_CHECKED, "Uncheck"}},
    {67, {"Sync Record Enable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"}},
    {68, {"Sync Record Disable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"}},
    {69, {"Sync Playback Enable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"}},
    {70, {"Sync Playback Disable All", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"}},
    {91, {"OK", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"}},
};

}  // namespace

TEST_F(WindowsAccessibilityTest, CustomSyncSwitchesSayTheirStreamDirectionAndState) {
    OnCard([](VcCard& c) {
        for (uint8_t& s : c.settings.recordSync) s = 0;
        for (uint8_t& s : c.settings.playbackSync) s = 0;
        c.settings.recordSync[0] = c.settings.recordSync[5] = 1;
        c.settings.playbackSync[9] = 1;
    });
    RunCustomSync([&](HWND hwnd) {
        for (const SyncCase& c : kCustomSync) ExpectReads(::GetDlgItem(hwnd, c.id), c.reads);
    });
}

struct SyncActionCase {
    int id;
    uint32_t direction;
    uint16_t stream;
    uint32_t flag;  // what the switch turns to from the card's state
};

TEST_F(WindowsAccessibilityTest, CustomSyncSwitchDefaultActionSetsTheStreamOnTheCard) {
    const SyncActionCase cases[] = {{45, 0, 0, 1}, {46, 1, 0, 0}, {42, 0, 5, 1}, {81, 1, 9, 0}};
    OnCard([](VcCard& c) {
        for (uint8_t& s : c.settings.recordSync) s = 0;
        for (uint8_t& s : c.settings.playbackSync) s = 1;
    });
    RunCustomSync([&](HWND hwnd) {
        for (const SyncActionCase& c : cases) {
            SCOPED_TRACE(c.id);
            ClearLog();
            AccessibleRef sw(::GetDlgItem(hwnd, c.id));
            ASSERT_EQ(sw.found(), S_OK);
            EXPECT_EQ(sw.DoDefaultAction(), S_OK);
            PumpMessages();
            const std::vector<LoggedRequest> log = TakeLog();
            ASSERT_EQ(Codes(log), std::vector<uint32_t>{kSetStreamSync});
            EXPECT_EQ(log[0].Word(16), c.direction);
            EXPECT_EQ(log[0].Half(20), c.stream);
            EXPECT_EQ(log[0].Half(22), c.flag);
            OnCard([&](VcCard& card) {
                const uint8_t held = c.direction == 0 ? card.settings.recordSync[c.stream]
                                                      : card.settings.playbackSync[c.stream];
                EXPECT_EQ(held, c.flag);
            });
            const AccessibleReading r = sw.Read();
            EXPECT_EQ(r.value, c.flag != 0 ? "on" : "off");
            EXPECT_EQ(r.state, c.flag != 0 ? STATE_SYSTEM_CHECKED : 0);
        }
    });
}

TEST_F(WindowsAccessibilityTest, AboutBoxOkIsAPushButtonThatEndsTheBox) {
    CAboutBox about;
    const INT_PTR result = RunModalLeftToItself(about, [&](HWND hwnd) {
        HWND ok = ChildrenByPosition(hwnd).at(0);
        ExpectReads(ok, {"OK", ROLE_SYSTEM_PUSHBUTTON, "", 0, "Press"});
        EXPECT_EQ(AccessibleRef(ok).DoDefaultAction(), S_OK);
    });
    EXPECT_EQ(result, IDOK);
}

// A client may keep an object after the window is gone: it must then say so
// rather than reach a dead window, both while the window's object still exists
// and after it has gone too.
TEST_F(WindowsAccessibilityTest, AnObjectKeptAfterItsWindowClosedReportsDisconnected) {
    IAccessible* kept = nullptr;
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    auto expectDisconnected = [&](const char* when) {
        SCOPED_TRACE(when);
        BSTR text = nullptr;
        EXPECT_EQ(kept->get_accName(self, &text), RPC_E_DISCONNECTED);
        EXPECT_EQ(kept->accDoDefaultAction(self), RPC_E_DISCONNECTED);
        IDispatch* child = nullptr;
        EXPECT_EQ(kept->get_accChild(self, &child), RPC_E_DISCONNECTED);
        VARIANT answer;
        EXPECT_EQ(kept->accNavigate(NAVDIR_FIRSTCHILD, self, &answer), RPC_E_DISCONNECTED);
        EXPECT_EQ(kept->get_accSelection(&answer), RPC_E_DISCONNECTED);
        long topic = 0;
        EXPECT_EQ(kept->get_accHelpTopic(&text, self, &topic), RPC_E_DISCONNECTED);
        EXPECT_EQ(kept->accSelect(SELFLAG_TAKEFOCUS, self), RPC_E_DISCONNECTED);
        BSTR value = ::SysAllocString(L"on");
        EXPECT_EQ(kept->put_accValue(self, value), RPC_E_DISCONNECTED);
        ::SysFreeString(value);
        PumpMessages();
        EXPECT_EQ(TakeLog().size(), 0u);
    };
    {
        CCustomSyncDialog dialog(device.get(), kCard);
        RunModal(dialog, [&](HWND hwnd) {
            AccessibleRef sw(::GetDlgItem(hwnd, 45));
            ASSERT_EQ(sw.found(), S_OK);
            kept = sw.get();
            kept->AddRef();
        });
        ASSERT_NE(kept, nullptr);
        ClearLog();
        expectDisconnected("window closed");
    }
    expectDisconnected("window object gone");
    kept->Release();
}

// oleacc marshals the object through COM; on the window's own thread the client
// must get the object itself (its code in this program), not a proxy that would
// call back through the message loop.
TEST_F(WindowsAccessibilityTest, OnTheWindowsThreadTheClientGetsTheObjectItself) {
    RunCustomSync([&](HWND hwnd) {
        AccessibleRef sw(::GetDlgItem(hwnd, 45));
        ASSERT_EQ(sw.found(), S_OK);
        void* firstMethod = (*reinterpret_cast<void***>(sw.get()))[0];
        HMODULE module = nullptr;
        ASSERT_TRUE(::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<const char*>(firstMethod), &module));
        EXPECT_EQ(module, ::GetModuleHandleA(nullptr));
    });
}
