#include "tests/win32/support/ModalRun.h"

namespace {

// A modal run in progress on this thread; runs nest.
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

}  // namespace

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& body) {
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
