#include "controls/SkinDialogBaseUnits.h"

namespace {
bool g_overridden = false;
LONG g_baseUnits = 0;
}  // namespace

LONG SkinDialogBaseUnits() {
    return g_overridden ? g_baseUnits : GetDialogBaseUnits();
}

void SetSkinDialogBaseUnits(int x, int y) {
    g_baseUnits = static_cast<LONG>(MAKELONG(x, y));
    g_overridden = true;
}

void ResetSkinDialogBaseUnits() {
    g_overridden = false;
}
