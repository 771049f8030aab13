#include "framework/WinApp.h"

#include <commctrl.h>

#include "framework/AccessibleWnd.h"

namespace {

CWinApp* g_currentApp = nullptr;

// Asks hwnd and then its parents or owners; true when one of them answered.
bool AskForHelp(HWND hwnd) {
    for (; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (::SendMessageA(hwnd, WM_COMMANDHELP, 0, 0) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

const CommandMapEntry CWinApp::commandEntries_[] = {{0, nullptr}};
const CommandMap CWinApp::commandMap_ = {nullptr, CWinApp::commandEntries_};

CWinApp::CWinApp() { g_currentApp = this; }

CWinApp::~CWinApp() {
    if (g_currentApp == this) {
        g_currentApp = nullptr;
    }
}

CWinApp* CWinApp::Current() { return g_currentApp; }

BOOL CWinApp::InitInstance() { return FALSE; }

const CommandMap* CWinApp::GetCommandMap() const { return &commandMap_; }

BOOL CWinApp::OnCmdMsg(UINT id) {
    for (const CommandMap* map = GetCommandMap(); map != nullptr; map = map->base) {
        for (const CommandMapEntry* entry = map->entries; entry->handler != nullptr; ++entry) {
            if (entry->id == id) {
                (this->*entry->handler)();
                return TRUE;
            }
        }
    }
    return FALSE;
}

void CWinApp::OnHelp() {
    if (AskForHelp(::GetCapture()) || AskForHelp(::GetFocus())) {
        return;
    }
    HWND main = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    if (main == nullptr) {
        return;
    }
    HWND popup = ::GetLastActivePopup(::GetAncestor(main, GA_ROOTOWNER));
    if (popup != nullptr && ::SendMessageA(popup, WM_COMMANDHELP, 0, 0) != 0) {
        return;
    }
    ::SendMessageA(main, WM_COMMAND, ID_DEFAULT_HELP, 0);
}

std::string CWinApp::GetHelpFilePath() const {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(m_hInstance, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return std::string();
    }
    std::string help(path, length);
    const size_t dot = help.find_last_of('.');
    const size_t slash = help.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        help.erase(dot);
    }
    return help + ".hlp";
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command) {
    const std::string path = GetHelpFilePath();
    // Without the file the help engine would only show an error box of its own.
    if (command != HELP_QUIT && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    ::WinHelpA(owner, path.c_str(), command, data);
}

// Every Windows this program runs on draws standard controls three-dimensional by
// itself, so nothing is turned on. Loading the common controls here would cost every
// start their load and, under Wine, about 3 MB; the readout tips load them when first
// needed.
BOOL CWinApp::Enable3dControlsStatic() { return FALSE; }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleA(nullptr); }

std::string LoadResString(UINT id) {
    std::string text(256, '\0');
    for (;;) {
        const int length = ::LoadStringA(AfxGetResourceHandle(), id, &text[0], static_cast<int>(text.size()));
        if (length < static_cast<int>(text.size()) - 1) {
            text.resize(static_cast<size_t>(length > 0 ? length : 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

namespace {

int RunApp(CWinApp& app, HINSTANCE instance) {
    app.m_hInstance = instance;
    if (!app.InitInstance()) {
        return 0;
    }
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

// The program's entry point: the single application object does all its work in
// InitInstance; a FALSE result ends the program there.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = CWinApp::Current();
    if (app == nullptr) {
        return 0;
    }
    const int result = RunApp(*app, instance);
    // The windows' accessible objects start COM on this thread when first asked.
    CAccessibleWnd::EndComOnThisThread();
    return result;
}
