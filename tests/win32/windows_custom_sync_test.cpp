// The custom synchronization window on the virtual card: the 21 buttons, the sixteen
// switches read back on every repaint, the requests of single switches and of the
// group buttons, and the window's geometry.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/SkinButton.h"
#include "controls/SkinDialogBaseUnits.h"
#include "tests/win32/windows_harness.h"
#include "windows/CustomSyncDialog.h"
#include "windows/SyncLayout.h"

namespace {

// Switch ids of stream index 0..9 (0: no record switch).
constexpr int kRecordIds[10] = {45, 48, 33, 36, 39, 42, 0, 0, 0, 0};
constexpr int kPlaybackIds[10] = {46, 49, 34, 37, 40, 43, 75, 77, 79, 81};

class CustomSyncTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        SetCardSync(std::vector<int>(6, 0), std::vector<int>(10, 0));
    }

    INT_PTR RunCustomSync(const std::function<void(HWND)>& body) {
        CCustomSyncDialog dialog(device.get(), kCard);
        return RunModal(dialog, body);
    }

    void SetCardSync(const std::vector<int>& record, const std::vector<int>& playback) {
        OnCard([&](VcCard& c) {
            for (int i = 0; i < 6; ++i) c.settings.recordSync[i] = static_cast<uint8_t>(record[i]);
            for (int i = 0; i < 10; ++i) c.settings.playbackSync[i] = static_cast<uint8_t>(playback[i]);
        });
    }

    static int State(HWND hwnd, int id) { return Control<CSkinButton>(hwnd, id).state; }

    // The switch's window shows the resting image of the given state.
    static void ExpectSwitchShows(const Pixels& shown, HWND hwnd, int id, bool record, int state) {
        const RECT r = ChildRect(hwnd, ::GetDlgItem(hwnd, id));
        const int bitmap = record ? (state ? 145 : 144) : (state ? 142 : 141);
        const Pixels face = SkinPixels(bitmap);
        EXPECT_TRUE(shown.Part(r.left, r.top, r.right - r.left, r.bottom - r.top) ==
                    face.Part(0, 0, face.width - 1, face.height - 1))
            << "switch " << id << " should show bitmap " << bitmap;
    }
};

TEST_F(CustomSyncTest, CreatesTheTwentyOneButtonsInOrderAndTakesItsCaption) {
    CChildCreationRecorder recorder;
    RunCustomSync([&](HWND hwnd) {
        char caption[64] = {};
        ::GetWindowTextA(hwnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "Zelk MIRVA PCI Custom Synchronization");
        EXPECT_NE(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
    });
    EXPECT_EQ(recorder.ids, (std::vector<int>{91, 45, 46, 48, 49, 33, 34, 36, 37, 39, 40, 42, 43, 75, 77, 79, 81,
                                              67, 68, 69, 70}));
}

struct GeometryCase {
    int baseX, baseY;
};

TEST_F(CustomSyncTest, ButtonsSitWhereTheLayoutPutsThemAtBothFontSizes) {
    for (const GeometryCase g : {GeometryCase{8, 16}, GeometryCase{10, 20}}) {
        SetSkinDialogBaseUnits(g.baseX, g.baseY);
        const CSyncLayout layout(g.baseX, g.baseY);
        RunCustomSync([&](HWND hwnd) {
            auto expectAt = [&](int id, LayoutPoint p, int w, int h) {
                const RECT r = ChildRect(hwnd, ::GetDlgItem(hwnd, id));
                EXPECT_EQ(r.left, p.x) << id << " at " << g.baseX;
                EXPECT_EQ(r.top, p.y) << id << " at " << g.baseX;
                EXPECT_EQ(r.right - r.left, w - 1) << id;
                EXPECT_EQ(r.bottom - r.top, h - 1) << id;
            };
            expectAt(91, layout.okPoint, 65, 23);
            for (int i = 0; i < 10; ++i) {
                if (kRecordIds[i] != 0) expectAt(kRecordIds[i], layout.recordSwitch[i], 67, 18);
                expectAt(kPlaybackIds[i], layout.playbackSwitch[i], 67, 18);
            }
            expectAt(67, layout.recordGroup.enableAllPoint, 76, 18);
            expectAt(68, layout.recordGroup.disableAllPoint, 76, 18);
            expectAt(69, layout.playbackGroup.enableAllPoint, 76, 18);
            expectAt(70, layout.playbackGroup.disableAllPoint, 76, 18);
        });
    }
}

TEST_F(CustomSyncTest, OkCoversTheReferenceRectangleAtEightBySixteen) {
    RunCustomSync([&](HWND hwnd) {
        const RECT r = ChildRect(hwnd, ::GetDlgItem(hwnd, 91));
        EXPECT_EQ(r.left, 738);
        EXPECT_EQ(r.right - 1, 801);
        EXPECT_EQ(r.top, 108);
        EXPECT_EQ(r.bottom - 1, 129);
        EXPECT_EQ(ChildrenByPosition(hwnd).size(), 21u) << "no record switch in the playback-only columns";
    });
}

TEST_F(CustomSyncTest, EveryRepaintAsksSixteenSwitchesInOrderAndShowsThem) {
    const std::vector<int> record = {1, 0, 1, 0, 0, 1};
    const std::vector<int> playback = {0, 1, 1, 0, 1, 0, 0, 1, 0, 1};
    RunCustomSync([&](HWND hwnd) {
        SetCardSync(record, playback);
        ClearLog();
        // Only a corner needs painting; the switches follow all the same.
        const RECT corner = {0, 0, 4, 4};
        ::InvalidateRect(hwnd, &corner, TRUE);
        ::UpdateWindow(hwnd);
        const std::vector<LoggedRequest> log = TakeLog();
        ASSERT_EQ(log.size(), 16u);
        size_t n = 0;
        for (int i = 0; i < 10; ++i) {
            for (uint32_t direction = i < 6 ? 0 : 1; direction <= 1; ++direction) {
                EXPECT_EQ(log[n].code, kGetStreamSync) << n;
                EXPECT_EQ(log[n].Word(16), direction) << n;
                EXPECT_EQ(log[n].Half(20), i) << n;
                ++n;
            }
        }
        const Pixels shown = CaptureClient(hwnd);
        for (int i = 0; i < 10; ++i) {
            if (i < 6) ExpectSwitchShows(shown, hwnd, kRecordIds[i], true, record[i]);
            ExpectSwitchShows(shown, hwnd, kPlaybackIds[i], false, playback[i]);
        }
    });
}

struct SwitchCase {
    int id;
    uint32_t direction;
    uint16_t stream;
};

TEST_F(CustomSyncTest, EachSwitchSendsItsStreamOnThenOff) {
    std::vector<SwitchCase> cases;
    for (uint16_t i = 0; i < 10; ++i) {
        if (kRecordIds[i] != 0) cases.push_back({kRecordIds[i], 0, i});
        cases.push_back({kPlaybackIds[i], 1, i});
    }
    RunCustomSync([&](HWND hwnd) {
        for (const SwitchCase& c : cases) {
            ClearLog();
            ClickId(hwnd, c.id);
            ClickId(hwnd, c.id);
            const std::vector<LoggedRequest> log = TakeLog();
            ASSERT_EQ(Codes(log), (std::vector<uint32_t>{kSetStreamSync, kSetStreamSync})) << c.id;
            for (int k = 0; k < 2; ++k) {
                EXPECT_EQ(log[k].Word(16), c.direction) << c.id;
                EXPECT_EQ(log[k].Half(20), c.stream) << c.id;
                EXPECT_EQ(log[k].Half(22), k == 0 ? 1 : 0) << c.id;
            }
        }
    });
}

struct GroupCase {
    int id;
    uint32_t direction;
    int flag;
};

TEST_F(CustomSyncTest, GroupButtonsShowEachSwitchBeforeSendingItsRequest) {
    const GroupCase cases[] = {{67, 0, 1}, {68, 0, 0}, {69, 1, 1}, {70, 1, 0}};
    for (const GroupCase& c : cases) {
        const int opposite = 1 - c.flag;
        SetCardSync(std::vector<int>(6, opposite), std::vector<int>(10, opposite));
        RunCustomSync([&](HWND hwnd) {
            const int* ids = c.direction == 0 ? kRecordIds : kPlaybackIds;
            const int* others = c.direction == 0 ? kPlaybackIds : kRecordIds;
            const size_t count = c.direction == 0 ? 6 : 10;
            ClearLog();
            std::vector<int> shownBeforeRequest;
            WatchRequests([&](const LoggedRequest& request) {
                const int stream = request.Half(20);
                HWND sw = ::GetDlgItem(hwnd, ids[stream]);
                const bool invalidated = ::GetUpdateRect(sw, nullptr, FALSE) != 0;
                shownBeforeRequest.push_back(State(hwnd, ids[stream]) == c.flag && invalidated ? 1 : 0);
            });
            ClickId(hwnd, c.id);
            WatchRequests(nullptr);
            const std::vector<LoggedRequest> log = TakeLog();
            ASSERT_EQ(log.size(), count) << c.id;
            for (size_t i = 0; i < count; ++i) {
                EXPECT_EQ(log[i].code, kSetStreamSync);
                EXPECT_EQ(log[i].Word(16), c.direction);
                EXPECT_EQ(log[i].Half(20), i) << "ascending";
                EXPECT_EQ(log[i].Half(22), c.flag);
                EXPECT_EQ(State(hwnd, ids[i]), c.flag);
            }
            EXPECT_EQ(shownBeforeRequest, std::vector<int>(count, 1)) << c.id;
            for (size_t i = 0; i < 10; ++i) {
                if (others[i] != 0) {
                    EXPECT_EQ(State(hwnd, others[i]), opposite) << "other group untouched";
                }
            }
            const Pixels shown = CaptureClient(hwnd);
            for (size_t i = 0; i < count; ++i) ExpectSwitchShows(shown, hwnd, ids[i], c.direction == 0, c.flag);
        });
    }
}

// A change the card refused (the call failed, or the driver answered a status and
// kept what it held) shows the card's state at once; when the read after it fails
// too, the switch shows what it showed before.
TEST_F(CustomSyncTest, ARefusedSwitchShowsWhatTheCardHolds) {
    // The record switch of Analog alone, or first of its group's Enable All.
    const int actions[] = {45, 67};
    for (Refusal refusal : kEveryRefusal) {
        for (int action : actions) {
            SCOPED_TRACE(testing::Message() << "refusal " << static_cast<int>(refusal) << ", button " << action);
            SetCardSync(std::vector<int>(6, 0), std::vector<int>(10, 0));
            RunCustomSync([&](HWND hwnd) {
                RefuseNextChange(refusal);
                ClickId(hwnd, action);
                OnCard([](VcCard& c) { EXPECT_EQ(c.settings.recordSync[0], 0); });
                EXPECT_EQ(State(hwnd, 45), 0);
                const Pixels face = SkinPixels(144);
                EXPECT_TRUE(CaptureClient(::GetDlgItem(hwnd, 45)) == face.Part(0, 0, face.width - 1, face.height - 1));
                if (action == 67) {
                    EXPECT_EQ(State(hwnd, 48), 1) << "the rest of the group was taken";
                }
                Repaint(hwnd);
                EXPECT_EQ(State(hwnd, 45), 0);
            });
        }
    }
}

TEST_F(CustomSyncTest, ASwitchWhoseReadFailsShowsOffUntilTheCardAnswers) {
    SetCardSync({1, 1, 1, 1, 1, 1}, std::vector<int>(10, 1));
    RunCustomSync([&](HWND hwnd) {
        ASSERT_EQ(State(hwnd, 45), 1);
        OnCore([](CVirtualCard& core) { core.FailNextCalls(1); });
        Repaint(hwnd);
        EXPECT_EQ(State(hwnd, 45), 0);
        EXPECT_EQ(State(hwnd, 46), 1);
        Repaint(hwnd);
        EXPECT_EQ(State(hwnd, 45), 1);
    });
}

TEST_F(CustomSyncTest, OkEnterAndEscapeEndIt) {
    const struct {
        const char* what;
        std::function<void(HWND)> act;
        INT_PTR result;
    } cases[] = {
        {"OK button", [](HWND hwnd) { ClickId(hwnd, 91); }, IDOK},
        {"Enter", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
        {"Escape", [](HWND hwnd) { ::PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        ClearLog();
        EXPECT_EQ(RunCustomSync(c.act), c.result) << c.what;
        for (const LoggedRequest& r : TakeLog()) EXPECT_EQ(r.code, kGetStreamSync) << c.what << ": only reads";
    }
}

TEST_F(CustomSyncTest, PaintsTilesFramesAndTexts) {
    SetCardSync({1, 0, 0, 1, 0, 0}, {0, 1, 0, 0, 0, 0, 1, 0, 0, 1});
    RunCustomSync([&](HWND hwnd) {
        const Pixels shown = CaptureClient(hwnd);
        SaveScreenshot(shown, "custom_sync");
        const Pixels stone = SkinPixels(137);
        ASSERT_GE(shown.width, 825);
        EXPECT_EQ(shown.At(824, 3), stone.At(24, 3)) << "tile column at x 800";
        EXPECT_EQ(shown.At(3, 140), stone.At(3, 64)) << "second tile row at y 76";
        const CSyncLayout layout(8, 16);
        for (int i = 0; i < 10; ++i) {
            const LayoutRect f = layout.columnFrame[i];
            EXPECT_EQ(shown.At(f.left, f.top), Rgb(155, 164, 172)) << "column frame " << i;
            EXPECT_EQ(shown.At(f.right, f.bottom), Rgb(231, 231, 231)) << "column frame " << i;
            int dark = 0;
            const LayoutRect t = layout.headerText[i];
            for (int y = t.top; y < t.bottom; ++y)
                for (int x = t.left; x < t.right; ++x) dark += (shown.At(x, y) & 0xC0C0C0) == 0;
            EXPECT_GT(dark, 10) << "header " << i;
        }
        for (const CSyncLayout::Group& g : {layout.recordGroup, layout.playbackGroup}) {
            EXPECT_EQ(shown.At(g.frame.left, g.frame.top), Rgb(155, 164, 172));
            int dark = 0;
            for (int y = g.text.top; y < g.text.bottom; ++y)
                for (int x = g.text.left; x < g.text.right; ++x) dark += (shown.At(x, y) & 0xC0C0C0) == 0;
            EXPECT_GT(dark, 10) << "group text at " << g.left;
        }
    });
}

}  // namespace
