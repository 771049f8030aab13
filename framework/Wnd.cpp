#include "framework/Wnd.h"

#include <mutex>
#include <optional>
#include <unordered_map>

#include "framework/CreationHook.h"

namespace {

// Ties each window to its object. Kept in the process rather than in a window
// property, which costs a server round trip on every message, or in GWLP_USERDATA,
// which subclassed system classes keep for themselves. Windows of every thread are
// entered here, so the table is locked.
struct ObjectTable {
    std::mutex lock;
    std::unordered_map<HWND, CWnd*> objects;
};

ObjectTable& Objects() {
    // Never destroyed: a static window object may detach after statics are gone.
    static ObjectTable* const table = new ObjectTable;
    return *table;
}

const char kDefaultClassName[] = "WaveWnd";

// The messages a tooltip's subclass relays: moves, presses and releases.
bool IsRelayedMouseMessage(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return true;
    default: return false;
    }
}

ATOM RegisterDefaultClass() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = CWnd::WindowProcThunk;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kDefaultClassName;
    return ::RegisterClassA(&wc);
}

}  // namespace

const MessageMapEntry CWnd::messageEntries_[] = {{0, nullptr}};
const MessageMap CWnd::messageMap_ = {nullptr, CWnd::messageEntries_};

const MessageMap* CWnd::GetMessageMap() const { return &messageMap_; }

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);  // its WM_NCDESTROY detaches the object
    }
    // Still attached when the window could not be destroyed from here: never
    // leave a window pointing at a dead object.
    Detach();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    ObjectTable& table = Objects();
    std::lock_guard<std::mutex> hold(table.lock);
    const auto found = table.objects.find(hwnd);
    return found != table.objects.end() ? found->second : nullptr;
}

const char* CWnd::DefaultClassName() {
    static const ATOM atom = RegisterDefaultClass();
    (void)atom;
    return kDefaultClassName;
}

BOOL CWnd::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, DefaultClassName(), text, style | WS_CHILD | WS_VISIBLE, rect,
                    parent != nullptr ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    // A child of the framework's own class gets WM_NCCREATE first, which carries
    // the object: it attaches there. Any other window needs the creation hook, whose
    // setting, calling and removal each cost a round trip to the window system.
    const bool ownChild = className == DefaultClassName() && (style & WS_CHILD) != 0;
    std::optional<CCreationHook> hook;
    if (!ownChild) hook.emplace(this, className);
    HWND hwnd = ::CreateWindowExA(exStyle, className, text, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleA(nullptr),
                                  ownChild ? this : nullptr);
    if (hwnd != nullptr && m_hWnd != hwnd) {
        // Not attached (the hook could not be set): a window nobody handles is no success.
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return hwnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return ::DestroyWindow(m_hWnd);
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    {
        ObjectTable& table = Objects();
        std::lock_guard<std::mutex> hold(table.lock);
        table.objects[hwnd] = this;
    }
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current == WindowProcThunk) {
        previousProc_ = ::DefWindowProcA;
    } else {
        previousProc_ = current;
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcThunk));
    }
}

void CWnd::Detach() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (::IsWindow(m_hWnd)) {
        const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
        if (current == WindowProcThunk && previousProc_ != ::DefWindowProcA) {
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        }
    }
    {
        // Also for a window already gone, whose handle may come back for another.
        ObjectTable& table = Objects();
        std::lock_guard<std::mutex> hold(table.lock);
        const auto found = table.objects.find(m_hWnd);
        if (found != table.objects.end() && found->second == this) table.objects.erase(found);
    }
    m_hWnd = nullptr;
    previousProc_ = nullptr;
    mouseRelay_ = nullptr;
}

LRESULT CALLBACK CWnd::WindowProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(hwnd);
    if (wnd == nullptr && message == WM_NCCREATE) {
        // A child of this class made by CreateEx, which passes its object.
        wnd = static_cast<CWnd*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (wnd != nullptr) wnd->Attach(hwnd);
    }
    if (wnd == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (wnd->mouseRelay_ != nullptr && IsRelayedMouseMessage(message)) wnd->RelayMouse(message, wParam, lParam);
    // Saved and restored so that Default() in an outer handler still sees its
    // own message after a nested message has been handled.
    const UINT savedMessage = wnd->curMessage_;
    const WPARAM savedWParam = wnd->curWParam_;
    const LPARAM savedLParam = wnd->curLParam_;
    wnd->curMessage_ = message;
    wnd->curWParam_ = wParam;
    wnd->curLParam_ = lParam;
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->curMessage_ = savedMessage;
    wnd->curWParam_ = savedWParam;
    wnd->curLParam_ = savedLParam;
    if (message == WM_NCDESTROY) {
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry* entry = map->entries; entry->handler != nullptr; ++entry) {
            if (entry->message == message) {
                return (this->*(entry->handler))(wParam, lParam);
            }
        }
    }
    return Default();
}

LRESULT CWnd::Default() {
    if (m_hWnd == nullptr || previousProc_ == nullptr) {
        return 0;
    }
    return ::CallWindowProcA(previousProc_, m_hWnd, curMessage_, curWParam_, curLParam_);
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

HWND CWnd::GetParentHwnd() const { return ::GetParent(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendToParent(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(GetParentHwnd(), message, wParam, lParam);
}

BOOL CWnd::PostToParent(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(GetParentHwnd(), message, wParam, lParam);
}

void CWnd::RelayMouseTo(CMouseRelay* relay) { mouseRelay_ = relay; }

void CWnd::RelayMouse(UINT message, WPARAM wParam, LPARAM lParam) const {
    MSG msg{};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    mouseRelay_->RelayMouse(msg);
}

void CWnd::Invalidate(BOOL erase) const { ::InvalidateRect(m_hWnd, nullptr, erase); }

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) const { ::InvalidateRect(m_hWnd, rect, erase); }

void CWnd::UpdateWindow() const { ::UpdateWindow(m_hWnd); }

HWND CWnd::SetCapture() const { return ::SetCapture(m_hWnd); }

void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

void CWnd::ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

BOOL CWnd::ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
