// What a screen reader in another process hears as the panel changes: the WinEvents
// of each user action, re-read, poll and modal run, each once, and nothing from an
// idle panel or a poll that brings nothing new.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "controls/SkinDropList.h"
#include "controls/SkinFader.h"
#include "device/CardControl.h"
#include "framework/WinApp.h"
#include "tests/win32/accessibility_expect.h"
#include "tests/win32/accessibility_support.h"
#include "tests/win32/panel_harness.h"
#include "windows/AboutBox.h"
#include "windows/DiagnosticsDialog.h"

namespace {

constexpr UINT kFastPollMs = 20;

const std::map<DWORD, std::string> kEventNames = {
    {EVENT_OBJECT_SHOW, "show"},          {EVENT_OBJECT_HIDE, "hide"},
    {EVENT_OBJECT_STATECHANGE, "state"},  {EVENT_OBJECT_NAMECHANGE, "name"},
    {EVENT_OBJECT_VALUECHANGE, "value"},
};

// What a reader heard, as "<event> <object's name>", of the events that tell of
// changes to the controls' client objects; what the system tells of windows
// (creation, focus, places) is not this program's to tell.
class Heard {
public:
    Heard(EventListener& listener, HWND window) : listener_(listener), window_(window) {}

    // Names the object of a window that has no accessible name of its own.
    void Call(HWND hwnd, const std::string& name) { names_[hwnd] = name; }

    // What was heard since the last call.
    std::vector<std::string> Since() {
        std::vector<std::string> told;
        for (const HeardEvent& e : listener_.Mark(window_)) {
            const auto name = kEventNames.find(e.event);
            if (name == kEventNames.end() || e.object != OBJID_CLIENT) continue;
            std::string what = name->second + " " + NameOf(e.hwnd);
            if (e.child != CHILDID_SELF) what += " child " + std::to_string(e.child);
            told.push_back(what);
        }
        return told;
    }

private:
    std::string NameOf(HWND hwnd) {
        const auto known = names_.find(hwnd);
        if (known != names_.end()) return known->second;
        return ReadAccessible(hwnd).name;
    }

    EventListener& listener_;
    HWND window_;
    std::map<HWND, std::string> names_;
};

class PanelEventsTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        OnCard(ReadersCard);
    }
    void TearDown() override {
        CDiagnosticsDialog::SetPollDelay(CDiagnosticsDialog::kPollDelayMs);
        PanelTest::TearDown();
    }

    // Runs body in a window's loop on a thread started after the reader's hook;
    // the window's own showing and first paint have been heard before body runs.
    void RunHeard(const std::function<void(std::function<void(HWND)>)>& run,
                  const std::function<void(HWND, Heard&)>& body) {
        EventListener listener;
        ASSERT_TRUE(listener.ready());
        std::thread thread([&] {
            ComApartment com;
            run([&](HWND hwnd) {
                Heard heard(listener, hwnd);
                heard.Since();
                body(hwnd, heard);
            });
        });
        thread.join();
    }

    void RunPanelHeard(const std::function<void(HWND, Heard&)>& body) {
        RunHeard([&](std::function<void(HWND)> inLoop) { RunPanel([&](CWaveSettingsDialog&, HWND h) { inLoop(h); }); },
              body);
    }

    // Serves the messages until the card has answered count more requests.
    bool AfterRequests(uint32_t count) {
        const uint32_t until = RequestCount() + count;
        return PumpUntil([&] { return RequestCount() >= until; });
    }
};

using Told = std::vector<std::string>;

}  // namespace

TEST_F(PanelEventsTest, ASwitchClickTellsOfTheSwitchAndItsStrip) {
    RunPanelHeard([&](HWND hwnd, Heard& heard) {
        const Told offThenOn = {
            "state Analog control enable",  // pressed
            "state Analog control enable",  // released, and switched
            "state Analog volume",          // unavailable, or available again
            "state Analog balance",
            "value Analog balance",  // centred while off; back at the card's after
        };
        ClickId(hwnd, 44);
        PumpMessages();
        EXPECT_EQ(heard.Since(), offThenOn) << "off";
        ClickId(hwnd, 44);
        PumpMessages();
        EXPECT_EQ(heard.Since(), offThenOn) << "on";
    });
}

TEST_F(PanelEventsTest, AFaderDragTellsOfEachMoveAndOfTheBalanceItShifts) {
    RunPanelHeard([&](HWND hwnd, Heard& heard) {
        struct DragCase {
            int id;
            Told eachMove;
        };
        const DragCase cases[] = {
            // Off centre, the knob's sides follow the level.
            {54, {"value Analog volume", "value Analog balance"}},
            // Centred, the knob says "centre" at any level.
            {50, {"value ADAT 1-2 volume"}},
        };
        for (const DragCase& c : cases) {
            CSkinFader& fader = Control<CSkinFader>(hwnd, c.id);
            const int from = fader.position;
            Press(fader, 5, from);
            Move(fader, 5, from + 10);
            Move(fader, 5, from + 30);
            Release(fader, 5, from + 30);
            PumpMessagesDroppingMouse();
            Told twice = c.eachMove;
            twice.insert(twice.end(), c.eachMove.begin(), c.eachMove.end());
            EXPECT_EQ(heard.Since(), twice) << c.id;
        }
    });
}

TEST_F(PanelEventsTest, ALevelChangedOnTheCardIsToldWhenReRead) {
    RunPanelHeard([&](HWND hwnd, Heard& heard) {
        OnCard([](VcCard& c) {
            c.settings.right[0] = 65535;  // balance back to the centre
            c.settings.left[2] = c.settings.right[2] = 16384;
        });
        Repaint(hwnd);
        EXPECT_EQ(heard.Since(), (Told{"value Analog balance", "value ADAT 1-2 volume"}));
        Repaint(hwnd);
        EXPECT_EQ(heard.Since(), Told{}) << "read again, unchanged";
    });
}

TEST_F(PanelEventsTest, ALampThatStartsIsToldOnceByThePoll) {
    CWaveSettingsDialog::SetLampPeriod(kFastPollMs);
    RunPanelHeard([&](HWND hwnd, Heard& heard) {
        HWND lamp = PanelTest::ChildAt(hwnd, 104 + 65 * 3, 258);
        OnCard([](VcCard& c) { c.playbackState[3] = 3; });
        ASSERT_TRUE(PumpUntil([&] { return ReadAccessible(lamp).value == "running"; }));
        EXPECT_EQ(heard.Since(), Told{"value ADAT 3-4 playback"});
        // Two more polls find the same states.
        ASSERT_TRUE(AfterRequests(2 * 16));
        EXPECT_EQ(heard.Since(), Told{});
    });
}

TEST_F(PanelEventsTest, ADropDownPickTellsOfTheListAndTheValue) {
    RunPanelHeard([&](HWND hwnd, Heard& heard) {
        CSkinDropList& clock = Control<CSkinDropList>(hwnd, 92);
        Press(clock, 5, 5);
        Release(clock, 5, 5);
        PumpMessagesDroppingMouse();
        heard.Call(clock.popup.m_hWnd, "list");
        EXPECT_EQ(heard.Since(), (Told{"show list", "state Clock source"})) << "opened";
        const int itemHeight = static_cast<int>(clock.popup.SendMessage(LB_GETITEMHEIGHT, 0, 0));
        POINT item{10, itemHeight + itemHeight / 2};
        ::MapWindowPoints(clock.popup.m_hWnd, clock.m_hWnd, &item, 1);
        Move(clock, item.x, item.y);
        Press(clock, item.x, item.y);
        Release(clock, item.x, item.y);
        PumpMessagesDroppingMouse();
        EXPECT_EQ(heard.Since(), (Told{"hide list", "value Clock source", "state Clock source"})) << "picked";
        EXPECT_EQ(ReadAccessible(clock.m_hWnd).value, "ADAT Clock");
    });
}

TEST_F(PanelEventsTest, AnIdlePanelTellsNothing) {
    CWaveSettingsDialog::SetLampPeriod(kFastPollMs);
    RunPanelHeard([&](HWND, Heard& heard) {
        const uint32_t before = RequestCount();
        PumpFor(5000);
        EXPECT_GT(RequestCount() - before, 16u * 10) << "the lamps were polled meanwhile";
        EXPECT_EQ(heard.Since(), Told{});
    });
}

// The diagnostics fields are rewritten at every poll; only a new text is told.
TEST_F(PanelEventsTest, DiagnosticsTellOfAValueThatChangesOnly) {
    g_dmaErrorCount = 0;
    CDiagnosticsDialog::SetPollDelay(kFastPollMs);
    OnCard([](VcCard& c) {
        c.cardState = 1;
        c.dmaStatus = 1;
        c.dmaErrorCount = 0;
    });
    RunHeard(
        [&](std::function<void(HWND)> inLoop) {
            CCardControl device;
            CDiagnosticsDialog dialog(&device, 0);
            RunModal(dialog, inLoop);
        },
        [&](HWND hwnd, Heard& heard) {
            OnCard([](VcCard& c) { c.dmaStatus = 3; });
            HWND status = nullptr;
            for (HWND field = ::GetWindow(hwnd, GW_CHILD); field != nullptr; field = ::GetWindow(field, GW_HWNDNEXT)) {
                if (ReadAccessible(field).name == "DMA Status") status = field;
            }
            ASSERT_NE(status, nullptr);
            ASSERT_TRUE(PumpUntil([&] { return ReadAccessible(status).value == "Audio DMA's active"; }));
            EXPECT_EQ(heard.Since(), Told{"value DMA Status"});
            // Three more polls read the same.
            ASSERT_TRUE(AfterRequests(3 * 6));
            EXPECT_EQ(heard.Since(), Told{});
        });
}

// A modal window over the panel makes each of its controls unavailable, and
// available again when it closes: each is told once each way.
TEST_F(PanelEventsTest, AModalWindowOverThePanelTellsEachControlOnceEachWay) {
    CWinApp app;
    RunHeard(
        [&](std::function<void(HWND)> inLoop) {
            CWaveSettingsDialog dialog;
            app.m_pMainWnd = &dialog;
            RunModal(dialog, inLoop);
            app.m_pMainWnd = nullptr;
        },
        [&](HWND hwnd, Heard& heard) {
            Told each;
            for (HWND c = ::GetWindow(hwnd, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
                if (::IsWindowVisible(c)) each.push_back("state " + ReadAccessible(c).name);
            }
            ASSERT_GT(each.size(), 50u);
            CAboutBox about;
            RunModal(about, [&](HWND) { EXPECT_EQ(heard.Since(), each) << "opened"; });
            EXPECT_EQ(heard.Since(), each) << "closed";
        });
}
