#pragma once
// Rotary knob drawn from one bitmap with a pointer line over it. Dragging turns it
// one step per pixel; a double-click puts it back to its default value. Every
// change made with the mouse is sent to the parent as WM_USER(id, value).
#include "controls/SkinRangeCtrl.h"

class CSkinBitmap;

class CSkinKnob : public CSkinRangeCtrl {
public:
    CSkinKnob();
    ~CSkinKnob() override;

    // pivot: the pointer's centre in client coordinates; length: the pointer's
    // length and the radius of the circle that a press must hit. Returns 0, creating
    // nothing, when the picture is missing from the resources.
    BOOL Create(CWnd* parent, UINT id, UINT bitmapId, const POINT* topLeft, const POINT* pivot,
                UINT length);
    // Swaps the look without repainting; the owner invalidates the knob. Returns 0,
    // keeping the picture and the pointer's colour, when the picture is missing.
    BOOL SetSkin(UINT bitmapId, COLORREF colour);
    // Repaints (without erasing) when the stored value changed.
    int SetValueChanged(int v) override;

    LONG AccessibleRole() const override;
    // Unavailable while inactive.
    LONG AccessibleState() const override;
    // The owner reads the text as a value (accessibleParse); the knob then turns to
    // it as a drag that ends there would.
    HRESULT SetAccessibleValue(const std::string& text) override;

    CSkinBitmap* bitmap = nullptr;
    int active = 1;
    COLORREF pointerColour = RGB(12, 12, 12);
    POINT center{0, 0};
    unsigned radius = 0;
    POINT dragStart{0, 0};
    int dragStartValue = 0;
    int dragging = 0;
    int defaultValue = 64;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Notify() const;
};
