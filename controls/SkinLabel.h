#pragma once
// Read-only text over a background bitmap, in the panel font. The text may be
// replaced from another thread while the user-interface thread paints.
#include <mutex>
#include <string>
#include "framework/AccessibleWnd.h"
#include "controls/SkinBitmap.h"

class CSkinLabel : public CAccessibleWnd {
public:
    // Window one pixel narrower and lower than the bitmap; the text is laid out in the
    // bitmap's full rectangle. Returns 0, creating nothing, when the bitmap is missing
    // from the resources or the window cannot be made.
    BOOL Create(const POINT* topLeft, CWnd* parent, UINT id, UINT bitmapId, const std::string& newText);
    // Replaces the text and invalidates the whole window, even when the text is the
    // same; accessibility clients hear of a new text only.
    void SetText(const std::string& newText);
    std::string GetText() const;

    LONG AccessibleRole() const override;
    // The text shown.
    std::string AccessibleValue() const override;
    LONG AccessibleState() const override;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CSkinBitmap* bitmap = nullptr;  // owned by the bitmap cache
    mutable std::mutex textLock;
    std::string text;
    RECT textRect{};
};
