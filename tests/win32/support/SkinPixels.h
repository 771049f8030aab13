#pragma once
// The pixels of skin bitmaps, as drawn 1:1.
#include "controls/SkinBitmap.h"
#include "tests/win32/support/Pixels.h"

Pixels BitmapPixels(const CSkinBitmap& bitmap);
// The pixels of the cached skin bitmap id (the test fails when it is missing).
Pixels SkinPixels(int id);
