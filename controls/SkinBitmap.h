#pragma once
// A bitmap of the skin, handed out by the bitmap cache and drawn as an opaque copy.
#include <memory>
#include <mutex>

#include "framework/Gdi.h"

class CSkinBitmap : public CBitmap {
public:
    CSkinBitmap();
    ~CSkinBitmap() override;

    // Copies the whole bitmap with its top-left corner at logical point (x, y) of dc;
    // right under any mapping mode, and dc keeps its selections and mapping mode.
    virtual void Draw(CDC* dc, int x, int y) const;
    // Stretches the whole bitmap to width x height pixels with its top-left corner at
    // logical point (x, y) of dc; right under any mapping mode, as Draw is.
    void DrawStretched(CDC* dc, int x, int y, int width, int height) const;
    // Copies of the whole bitmap with their corners at (x, y) for x = 0, stepX, ...
    // while x <= lastX, on rows y = 0, stepY, ... while y <= lastY, drawn row by row
    // and each row from the left, later copies over earlier ones: what as many Draw
    // calls leave in a context of mapping mode MM_TEXT, drawn as one pattern fill
    // (and only the copies of the last row and column that show beyond it). Steps
    // larger than the bitmap, which would leave gaps, draw nothing.
    void DrawTiled(CDC* dc, int lastX, int lastY, int stepX, int stepY) const;
    // The rectangle of a control drawn from this bitmap with its corner at topLeft:
    // right and bottom exclusive, so the bitmap's last column and row are not shown.
    // False when the bitmap has no size to give.
    bool WindowRect(const POINT& topLeft, RECT* rect) const;

    // The bitmap's own memory context, to copy from: the bitmap stays selected in it
    // from the first use until the bitmap is destroyed, so no copy pays for a fresh
    // context and two selections. It takes the mapping mode of the context drawn on.
    // A bitmap may be drawn from any thread; a Source holds it for its own thread
    // until it goes out of scope.
    class Source {
    public:
        Source(const CSkinBitmap& bitmap, const CDC& drawnOn);
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;
        const CDC& Dc() const { return dc_; }

    private:
        std::lock_guard<std::mutex> hold_;
        const CDC& dc_;
    };

private:
    // Called with drawing_ held.
    const CDC& Memory(const CDC& drawnOn) const;
    // A brush of the bitmap's top-left width x height cell; called with drawing_ held.
    HBRUSH CellBrush(const CDC& memory, int width, int height) const;

    mutable std::mutex drawing_;
    // Destroyed before the bitmap: the selection is undone, then the context deleted.
    mutable std::unique_ptr<CMemDC> memory_;
    mutable std::unique_ptr<CSelectObject> selected_;
    // The last cell brush made, kept for the next background.
    mutable CBrush cellBrush_;
    mutable SIZE cellSize_{0, 0};
};
