#include "controls/WindowPainting.h"

#include <string>

#include "controls/BitmapCache.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

POINT ToPoint(const LayoutPoint& p) { return POINT{p.x, p.y}; }

void TileBackground(CDC* dc, int lastX, int lastY, int stepX, int stepY) {
    const CSkinBitmap* stone = LoadSkinBitmap(IDB_STONE);
    if (stone == nullptr || stepX <= 0 || stepY <= 0) return;
    for (int y = 0; y <= lastY; y += stepY) {
        for (int x = 0; x <= lastX; x += stepX) stone->Draw(dc, x, y);
    }
}

void DrawResString(const CDC& dc, UINT stringId, RECT where) {
    const std::string text = LoadResString(stringId);
    dc.DrawText(text.c_str(), -1, &where, 0);
}
