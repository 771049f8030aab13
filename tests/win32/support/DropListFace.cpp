#include "tests/win32/support/DropListFace.h"

#include "controls/BitmapCache.h"
#include "controls/PanelFont.h"
#include "controls/SkinBitmap.h"
#include "framework/Gdi.h"
#include "tests/win32/support/DibCanvas.h"

Pixels DropListFace(int bitmapId, const char* text, bool held) {
    CDibCanvas canvas(80, 18, 0);
    CDC dc(canvas.Hdc());
    LoadSkinBitmap(bitmapId)->Draw(&dc, 0, 0);
    if (text != nullptr) {
        CBkModeScope transparent(dc, TRANSPARENT);
        CSelectObject font(dc, g_panelFont);
        // The text area: 3 pixels in at the sides, 1 at top and bottom, and one more
        // pixel off the bottom-right at rest or off the top-left when held.
        RECT area{3, 1, 76, 16};
        if (held) {
            ++area.left;
            ++area.top;
        } else {
            --area.right;
            --area.bottom;
        }
        dc.DrawText(text, -1, &area, DT_VCENTER);
    }
    return canvas.Read().Crop(79, 17);
}
