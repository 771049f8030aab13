#pragma once
// A drop-down's face as it should look: the picture, then the text in the panel font.
#include "tests/win32/support/Pixels.h"

// The 80 x 18 face bitmapId with text (none when null), at rest or held, cropped to
// the window's 79 x 17 pixels.
Pixels DropListFace(int bitmapId, const char* text, bool held);
