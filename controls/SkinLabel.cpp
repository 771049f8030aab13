#include "controls/SkinLabel.h"

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"

BEGIN_MESSAGE_MAP(CSkinLabel, CAccessibleWnd)
    ON_MESSAGE(WM_PAINT, CSkinLabel::OnPaint)
END_MESSAGE_MAP()

BOOL CSkinLabel::Create(const POINT* topLeft, CWnd* parent, UINT id, UINT bitmapId, const std::string& newText) {
    CSkinBitmap* background = LoadSkinBitmap(static_cast<int>(bitmapId));
    if (background == nullptr) return FALSE;
    RECT rect{};
    if (!background->WindowRect(*topLeft, &rect)) return FALSE;

    {
        std::lock_guard<std::mutex> hold(textLock);
        text = newText;
    }
    bitmap = background;
    // The text has the bitmap's full rectangle, one pixel more each way than the window.
    textRect = {0, 0, rect.right - rect.left + 1, rect.bottom - rect.top + 1};
    return CWnd::Create("", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CSkinLabel::SetText(const std::string& newText) {
    bool changed = false;
    {
        std::lock_guard<std::mutex> hold(textLock);
        changed = text != newText;
        text = newText;
    }
    InvalidateRect(nullptr, TRUE);
    // Rewritten at every poll, mostly with what it shows already.
    if (changed) RaiseValueChange();
}

std::string CSkinLabel::GetText() const {
    std::lock_guard<std::mutex> hold(textLock);
    return text;
}

LONG CSkinLabel::AccessibleRole() const { return ROLE_SYSTEM_STATICTEXT; }

std::string CSkinLabel::AccessibleValue() const { return GetText(); }

LONG CSkinLabel::AccessibleState() const { return CAccessibleWnd::AccessibleState() | STATE_SYSTEM_READONLY; }

LRESULT CSkinLabel::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    // Copied after BeginPaint has validated the window: a SetText from now on
    // invalidates it again, so the newest text is always painted in the end.
    const std::string shown = GetText();
    CBkModeScope transparent(dc, TRANSPARENT);
    CSelectObject font(dc, g_panelFont);
    bitmap->Draw(&dc, 0, 0);
    RECT rect = textRect;
    dc.DrawText(shown.c_str(), -1, &rect, 0);
    return 0;
}
