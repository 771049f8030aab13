#pragma once
// Drawing steps that the main window and the three auxiliary windows share.
#include "controls/LayoutTypes.h"
#include "framework/Gdi.h"

RECT ToRect(const LayoutRect& r);
POINT ToPoint(const LayoutPoint& p);

// The stone background (bitmap 137) drawn opaque at x = 0, stepX, ... while x <= lastX
// on rows y = 0, stepY, ... while y <= lastY, row by row (CSkinBitmap::DrawTiled).
// Nothing when the bitmap is missing.
void TileBackground(CDC* dc, int lastX, int lastY, int stepX, int stepY);

// A string of the string table, whole, left-top aligned, in the selected font.
void DrawResString(const CDC& dc, UINT stringId, RECT where);
