#pragma once
// Vertical fader drawn from a track and a thumb bitmap. The value maps to the
// thumb's centre line linearly or through a logarithmic taper; every change made
// with the mouse is sent to the parent at once as WM_USER(id, value).
#include "framework/AccessibleWnd.h"
#include "controls/FaderLaw.h"

class CSkinBitmap;

class CSkinFader : public CAccessibleWnd {
public:
    CSkinFader() = default;

    // thumbInset: only its top and bottom are used. Returns nonzero on success; 0,
    // creating nothing, when a picture is missing from the resources.
    BOOL Create(CWnd* parent, UINT id, int x, int y, UINT trackBitmapId, UINT thumbBitmapId,
                int bottomMargin, int topMargin, const RECT& thumbInset, int maxValue,
                int minValue, int taperMode, double taperExponent);
    // From the owner: clamps, moves the thumb, sends nothing.
    void SetValue(int v);
    // From the mouse: clamps to the travel and derives the value.
    void SetPosition(int p);
    // Swaps the skin; the owner repaints. Returns 0, keeping both pictures, when
    // either is missing from the resources.
    BOOL SetBitmaps(UINT trackBitmapId, UINT thumbBitmapId);

    LONG AccessibleRole() const override;
    // Unavailable while inactive.
    LONG AccessibleState() const override;
    // The owner reads the text as a value (accessibleParse); the thumb then goes
    // to the position whose value lies nearest, as a drag there would take it.
    HRESULT SetAccessibleValue(const std::string& text) override;

    CSkinBitmap* trackBitmap = nullptr;
    CSkinBitmap* thumbBitmap = nullptr;
    int taperMode = 0;
    int active = 1;
    double taperBase = 0.0;
    int value = -1;
    int maxValue = 127;
    int minValue = 0;
    int position = 0;
    int topLimit = 0;
    int bottomLimit = 0;
    int dragOffset = 0;
    int grabHalf = 0;
    int thumbCentre = 0;
    int dragging = 0;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    FaderScale Scale() const;
    bool OnThumb(int y) const;
    bool OnTrack(int y) const;
    void Notify() const;
};
