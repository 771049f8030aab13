#include "controls/WindowPainting.h"

#include <string>

#include "controls/BitmapCache.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

POINT ToPoint(const LayoutPoint& p) { return POINT{p.x, p.y}; }

void TileBackground(CDC* dc, int lastX, int lastY, int stepX, int stepY) {
    if (const CSkinBitmap* stone = LoadSkinBitmap(IDB_STONE)) stone->DrawTiled(dc, lastX, lastY, stepX, stepY);
}

void DrawResString(const CDC& dc, UINT stringId, RECT where) {
    const std::string text = LoadResString(stringId);
    dc.DrawText(text.c_str(), -1, &where, 0);
}
