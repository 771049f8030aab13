#pragma once
// The dialog base units the controls scale their faces by. A seam, so that tests
// can give the large-font units that the test prefix does not have.
#include <windows.h>

// GetDialogBaseUnits(), or the units set by SetSkinDialogBaseUnits.
LONG SkinDialogBaseUnits();
// Makes SkinDialogBaseUnits return (x, y) until ResetSkinDialogBaseUnits.
void SetSkinDialogBaseUnits(int x, int y);
void ResetSkinDialogBaseUnits();
