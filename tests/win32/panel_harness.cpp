#include "tests/win32/panel_harness.h"

#include <cstring>

#include "controls/BitmapCache.h"
#include "device/ProgramLauncher.h"

uint32_t LoggedRequest::Word(int offset) const {
    uint32_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

uint16_t LoggedRequest::Half(int offset) const {
    uint16_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

const ChannelControlIds kChannelControls[10] = {
    {44, 54, 60}, {47, 55, 61}, {32, 50, 56}, {35, 51, 57}, {38, 52, 58},
    {41, 53, 59}, {74, 82, 86}, {76, 83, 87}, {78, 84, 88}, {80, 85, 89},
};

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Pixels ReadBits(HDC dc, HBITMAP bitmap, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
    BITMAPINFO info = TopDown32(width, height);
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    for (uint32_t b : bits) pixels.colours.push_back(b & 0xffffffu);
    return pixels;
}

// The modal run's steps, reached from a thread timer's callback.
const std::function<void(CWaveSettingsDialog&, HWND)>* g_body = nullptr;
CWaveSettingsDialog* g_dialog = nullptr;

void CALLBACK RunBody(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND hwnd = g_dialog->m_hWnd;
    ::UpdateWindow(hwnd);
    (*g_body)(*g_dialog, hwnd);
    if (::IsWindow(hwnd)) ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

void CaptureLaunch(const char* commandLine) { PanelTest::launched.emplace_back(commandLine); }

}  // namespace

std::vector<std::string> PanelTest::launched;

Pixels CaptureClient(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HDC window = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, client.right, client.bottom);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    Pixels pixels = ReadBits(memory, bitmap, client.right, client.bottom);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, window);
    return pixels;
}

Pixels SkinPixels(int id) {
    CSkinBitmap* bitmap = LoadSkinBitmap(id);
    EXPECT_NE(bitmap, nullptr) << "bitmap " << id;
    if (bitmap == nullptr) return Pixels{};
    BITMAP size{};
    bitmap->GetBitmap(&size);
    HDC screen = ::GetDC(nullptr);
    Pixels pixels = ReadBits(screen, bitmap->Handle(), size.bmWidth, size.bmHeight);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

void PanelTest::SetUp() {
    card = InstallInProcessCard();
    OnCore([](CVirtualCard& core) { core.SetCardCount(1); });
    launched.clear();
    SetProgramLauncher(CaptureLaunch);
}

void PanelTest::TearDown() {
    SetProgramLauncher(nullptr);
    CWaveSettingsDialog::SetLampPeriod(CWaveSettingsDialog::kDefaultLampPeriodMs);
    UninstallInProcessCard();
}

INT_PTR PanelTest::RunPanel(const std::function<void(CWaveSettingsDialog&, HWND)>& body) {
    CWaveSettingsDialog dialog;
    g_dialog = &dialog;
    g_body = &body;
    ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunBody);
    const INT_PTR result = dialog.DoModal();
    g_dialog = nullptr;
    g_body = nullptr;
    return result;
}

std::vector<LoggedRequest> PanelTest::TakeLog() {
    std::vector<LoggedRequest> log;
    card->WithCore([&](CVirtualCard& core) {
        for (uint32_t i = 0; i < core.LogSize(); ++i) {
            LoggedRequest request;
            request.code = core.LogEntry(i).code;
            std::memcpy(request.bytes, core.LogEntry(i).bytes, sizeof request.bytes);
            log.push_back(request);
        }
        core.ClearLog();
        return 0;
    });
    return log;
}

void PanelTest::OnCard(const std::function<void(VcCard&)>& change, uint32_t slot) {
    card->WithCore([&](CVirtualCard& core) {
        change(core.Card(slot));
        return 0;
    });
}

void PanelTest::OnCore(const std::function<void(CVirtualCard&)>& change) {
    card->WithCore([&](CVirtualCard& core) {
        change(core);
        return 0;
    });
}

uint32_t PanelTest::RequestCount() {
    return card->WithCore([](CVirtualCard& core) { return core.RequestCount(); });
}

void PanelTest::Repaint(HWND hwnd) { ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void PanelTest::PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PanelTest::PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
    }
    return true;
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

void PanelTest::Click(HWND control, int x, int y) {
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
