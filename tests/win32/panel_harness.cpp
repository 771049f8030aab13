#include "tests/win32/panel_harness.h"

#include "device/ProgramLauncher.h"

const ChannelControlIds kChannelControls[10] = {
    {44, 54, 60}, {47, 55, 61}, {32, 50, 56}, {35, 51, 57}, {38, 52, 58},
    {41, 53, 59}, {74, 82, 86}, {76, 83, 87}, {78, 84, 88}, {80, 85, 89},
};

namespace {

constexpr UINT kQuietLampPeriodMs = 60 * 60 * 1000;

bool CaptureLaunch(const char* commandLine) {
    PanelTest::launched.emplace_back(commandLine);
    return true;
}

}  // namespace

std::vector<std::string> PanelTest::launched;

void PanelTest::SetUp() {
    InProcessCardTest::SetUp();
    // No lamp tick may land among the requests a test counts; the timer's own test
    // sets the real period.
    CWaveSettingsDialog::SetLampPeriod(kQuietLampPeriodMs);
    launched.clear();
    SetProgramLauncher(CaptureLaunch);
}

void PanelTest::TearDown() {
    SetProgramLauncher(nullptr);
    CWaveSettingsDialog::SetLampPeriod(CWaveSettingsDialog::kDefaultLampPeriodMs);
    InProcessCardTest::TearDown();
}

INT_PTR PanelTest::RunPanel(const std::function<void(CWaveSettingsDialog&, HWND)>& body) {
    CWaveSettingsDialog dialog;
    return RunModal(dialog, [&](HWND hwnd) { body(dialog, hwnd); });
}

HWND PanelTest::ChildAt(HWND dialog, int x, int y) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        POINT topLeft = {rect.left, rect.top};
        ::ScreenToClient(dialog, &topLeft);
        if (topLeft.x == x && topLeft.y == y) return child;
    }
    return nullptr;
}
