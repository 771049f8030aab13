#include "tests/win32/support/ModalRun.h"

namespace {

// A modal run in progress on this thread; runs nest.
struct ModalRun {
    CDialog* dialog;
    const std::function<void(HWND)>* body;
    bool cancelAfter;
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
    if (g_run->cancelAfter && ::IsWindow(hwnd)) ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

// A dialog left to its own loop that never ends fails its test instead of hanging it.
constexpr UINT kLeftToItselfDeadlineMs = 10000;

void CALLBACK EndLateDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (g_run->dialog->m_hWnd != nullptr) ::EndDialog(g_run->dialog->m_hWnd, kEndedByDeadline);
}

INT_PTR Run(CDialog& dialog, const std::function<void(HWND)>& body, bool cancelAfter) {
    ModalRun run{&dialog, &body, cancelAfter, false};
    ModalRun* outer = g_run;
    g_run = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunBody);
    const UINT_PTR deadline = cancelAfter ? 0 : ::SetTimer(nullptr, 0, kLeftToItselfDeadlineMs, EndLateDialog);
    const INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    if (deadline != 0) ::KillTimer(nullptr, deadline);
    g_run = outer;
    EXPECT_TRUE(run.ran) << "the window was never shown (modal result " << result << ")";
    return result;
}

// A window opened by the program, awaited by its title; runs nest.
struct TitledRun {
    const char* title;
    const std::function<void(HWND)>* body;
    bool ran;
};
TitledRun* g_titled = nullptr;

void CALLBACK RunBodyInTitled(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND hwnd = ::FindWindowA(nullptr, g_titled->title);
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) return;
    ::KillTimer(nullptr, timer);
    ::UpdateWindow(hwnd);
    g_titled->ran = true;
    (*g_titled->body)(hwnd);
    ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& body) { return Run(dialog, body, true); }

INT_PTR RunModalLeftToItself(CDialog& dialog, const std::function<void(HWND)>& body) {
    return Run(dialog, body, false);
}

void RunInWindowOpenedBy(const char* title, const std::function<void()>& open, const std::function<void(HWND)>& body) {
    TitledRun run{title, &body, false};
    TitledRun* outer = g_titled;
    g_titled = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunBodyInTitled);
    open();
    ::KillTimer(nullptr, timer);
    g_titled = outer;
    EXPECT_TRUE(run.ran) << "no window titled \"" << title << "\" showed";
}
