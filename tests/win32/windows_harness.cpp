#include "tests/win32/windows_harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinDialogBaseUnits.h"

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

std::vector<uint32_t> Codes(const std::vector<LoggedRequest>& log) {
    std::vector<uint32_t> codes;
    for (const LoggedRequest& r : log) codes.push_back(r.code);
    return codes;
}

Pixels Pixels::Part(int x, int y, int w, int h) const {
    Pixels part;
    part.width = w;
    part.height = h;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) part.colours.push_back(At(column, row));
    }
    return part;
}

bool operator==(const Pixels& a, const Pixels& b) {
    return a.width == b.width && a.height == b.height && a.colours == b.colours;
}

namespace {

// The driver port of every device object the tests build: the in-process card,
// with the thread of each request noted and an optional look at each request.
std::mutex g_portLock;
std::shared_ptr<CVirtualCardDevice> g_card;
std::vector<DWORD> g_threads;
std::function<void(uint32_t, const uint8_t*)> g_watch;

class CRecordingPort : public DriverPort {
public:
    CRecordingPort() : inner_(g_card) {}
    void Open(const char* path) override { inner_.Open(path); }
    bool Control(uint32_t code, void* request, uint32_t requestSize, void* reply, uint32_t replySize) override {
        std::function<void(uint32_t, const uint8_t*)> watch;
        {
            std::lock_guard<std::mutex> hold(g_portLock);
            g_threads.push_back(::GetCurrentThreadId());
            watch = g_watch;
        }
        if (watch && requestSize >= 36) watch(code, static_cast<const uint8_t*>(request));
        return inner_.Control(code, request, requestSize, reply, replySize);
    }
    void Close() override { inner_.Close(); }

private:
    CInProcessPort inner_;
};

std::unique_ptr<DriverPort> MakeRecordingPort() { return std::make_unique<CRecordingPort>(); }

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

// A modal run in progress on this thread.
struct ModalRun {
    CDialog* dialog;
    const std::function<void(HWND)>* body;
    bool ran;
};
ModalRun* g_run = nullptr;

void CALLBACK RunBody(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND hwnd = g_run->dialog->m_hWnd;
    // The dialog manager shows a dialog without WS_VISIBLE once its queue is idle.
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) return;
    ::KillTimer(nullptr, timer);
    ::UpdateWindow(hwnd);
    g_run->ran = true;
    (*g_run->body)(hwnd);
    if (::IsWindow(hwnd)) ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// PNG with stored (uncompressed) deflate blocks: no library needed.
uint32_t Crc32(const std::vector<uint8_t>& data, size_t from) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(file, static_cast<uint32_t>(data.size()));
    const size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBig32(file, Crc32(file, start));
}

std::vector<uint8_t> EncodePng(const Pixels& pixels) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < pixels.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < pixels.width; ++x) {
            const Colour c = pixels.At(x, y);
            raw.push_back(static_cast<uint8_t>(c >> 16));
            raw.push_back(static_cast<uint8_t>(c >> 8));
            raw.push_back(static_cast<uint8_t>(c));
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        zlib.push_back(at + length >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + length));
    }
    PutBig32(zlib, (b << 16) | a);

    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(pixels.width));
    PutBig32(header, static_cast<uint32_t>(pixels.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", {});
    return file;
}

}  // namespace

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

bool SaveScreenshot(const Pixels& pixels, const std::string& name) {
    ::CreateDirectoryA(WAVE_SCREENSHOT_DIR, nullptr);
    const std::string path = std::string(WAVE_SCREENSHOT_DIR) + "/" + name + ".png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const std::vector<uint8_t> png = EncodePng(pixels);
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

void WindowsTest::SetUp() {
    card = InstallInProcessCard();
    {
        std::lock_guard<std::mutex> hold(g_portLock);
        g_card = card;
    }
    SetDriverPortFactory(MakeRecordingPort);
    OnCore([](CVirtualCard& core) { core.SetCardCount(1); });
    CreatePanelFonts();
    device = std::make_unique<CCardControl>();
    ASSERT_EQ(device->GetCardCount(), 1u);
    ClearLog();
    TakeRequestThreads();
}

void WindowsTest::TearDown() {
    device.reset();
    WatchRequests(nullptr);
    UninstallInProcessCard();
    {
        std::lock_guard<std::mutex> hold(g_portLock);
        g_card.reset();
    }
    ResetSkinDialogBaseUnits();
}

std::vector<LoggedRequest> WindowsTest::TakeLog() {
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

uint32_t WindowsTest::RequestCount() {
    return card->WithCore([](CVirtualCard& core) { return core.RequestCount(); });
}

void WindowsTest::OnCard(const std::function<void(VcCard&)>& change) {
    card->WithCore([&](CVirtualCard& core) {
        change(core.Card(0));
        return 0;
    });
}

void WindowsTest::OnCore(const std::function<void(CVirtualCard&)>& change) {
    card->WithCore([&](CVirtualCard& core) {
        change(core);
        return 0;
    });
}

std::vector<DWORD> WindowsTest::TakeRequestThreads() {
    std::lock_guard<std::mutex> hold(g_portLock);
    std::vector<DWORD> threads;
    threads.swap(g_threads);
    return threads;
}

void WindowsTest::WatchRequests(std::function<void(uint32_t, const uint8_t*)> watch) {
    std::lock_guard<std::mutex> hold(g_portLock);
    g_watch = std::move(watch);
}

INT_PTR WindowsTest::RunModal(CDialog& dialog, const std::function<void(HWND)>& body) {
    ModalRun run{&dialog, &body, false};
    ModalRun* outer = g_run;
    g_run = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunBody);
    const INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    g_run = outer;
    EXPECT_TRUE(run.ran) << "the window was never shown (modal result " << result << ")";
    return result;
}

void WindowsTest::PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool WindowsTest::PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

void WindowsTest::PumpFor(DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < deadline; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        PumpMessages();
    }
}

void WindowsTest::Repaint(HWND hwnd) { ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void WindowsTest::Click(HWND control, int x, int y) {
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
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
