#pragma once
// A bitmap of the skin, handed out by the bitmap cache and drawn as an opaque copy.
#include "framework/Gdi.h"

class CSkinBitmap : public CBitmap {
public:
    // Copies the whole bitmap with its top-left corner at logical point (x, y) of dc;
    // right under any mapping mode, and dc keeps its selections and mapping mode.
    virtual void Draw(CDC* dc, int x, int y) const;
    // Stretches the whole bitmap to width x height pixels with its top-left corner at
    // logical point (x, y) of dc; right under any mapping mode, as Draw is.
    void DrawStretched(CDC* dc, int x, int y, int width, int height) const;
    // The rectangle of a control drawn from this bitmap with its corner at topLeft:
    // right and bottom exclusive, so the bitmap's last column and row are not shown.
    // False when the bitmap has no size to give.
    bool WindowRect(const POINT& topLeft, RECT* rect) const;
};
