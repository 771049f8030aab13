#include "controls/SkinBitmap.h"

bool CSkinBitmap::WindowRect(const POINT& topLeft, RECT* rect) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return false;
    *rect = {topLeft.x, topLeft.y, topLeft.x + info.bmWidth - 1, topLeft.y + info.bmHeight - 1};
    return true;
}

void CSkinBitmap::Draw(CDC* dc, int x, int y) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return;

    // The size is converted as an extent (scaling only), so a moved origin of dc
    // shifts where the copy lands but not how much of the bitmap is copied.
    POINT extent[2] = {{0, 0}, {info.bmWidth, info.bmHeight}};
    dc->DPtoLP(extent, 2);
    const int width = extent[1].x - extent[0].x;
    const int height = extent[1].y - extent[0].y;

    CMemDC mem(*dc);
    CSelectObject selected(mem, *this);
    mem.SetMapMode(dc->GetMapMode());
    // The memory context's origins are zero, so its logical (0, 0) is the bitmap's corner.
    dc->BitBlt(x, y, width, height, mem, 0, 0, SRCCOPY);
}

void CSkinBitmap::DrawStretched(CDC* dc, int x, int y, int width, int height) const {
    BITMAP info{};
    if (GetBitmap(&info) == 0) return;

    // Both sizes are converted as extents, as in Draw, so a moved origin of dc shifts
    // where the copy lands but neither how large it is nor which pixels it takes.
    POINT extent[3] = {{0, 0}, {width, height}, {info.bmWidth, info.bmHeight}};
    dc->DPtoLP(extent, 3);

    CMemDC mem(*dc);
    CSelectObject selected(mem, *this);
    mem.SetMapMode(dc->GetMapMode());
    // The memory context's origins are zero, so its logical (0, 0) is the bitmap's corner.
    dc->StretchBlt(x, y, extent[1].x - extent[0].x, extent[1].y - extent[0].y, mem, 0, 0,
                   extent[2].x - extent[0].x, extent[2].y - extent[0].y, SRCCOPY);
}
