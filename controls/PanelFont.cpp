#include "controls/PanelFont.h"

#include <cstring>

CFont g_panelFont;

void CreatePanelFonts() {
    if (g_panelFont.GetSafeHandle() != nullptr) return;
    LOGFONTA font{};
    font.lfHeight = 90;  // tenths of a point; the point-size creation turns it into pixels
    font.lfWeight = FW_NORMAL;
    std::strcpy(font.lfFaceName, "MS Sans Serif");
    g_panelFont.CreatePointFontIndirect(&font);
}
