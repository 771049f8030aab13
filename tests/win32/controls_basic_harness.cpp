#include "tests/win32/controls_basic_harness.h"

BEGIN_MESSAGE_MAP(CTestParent, CWnd)
    ON_MESSAGE(WM_USER, CTestParent::OnUser)
END_MESSAGE_MAP()

CTestParent::CTestParent() {
    const RECT rect = {0, 0, 400, 200};
    CreateEx(0, CWnd::DefaultClassName(), "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

LRESULT CTestParent::OnUser(WPARAM wParam, LPARAM lParam) {
    notifications.emplace_back(wParam, lParam);
    return 0;
}
