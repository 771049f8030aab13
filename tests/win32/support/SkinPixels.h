#pragma once
// The pixels of skin bitmaps, as drawn 1:1.
#include "tests/win32/support/Pixels.h"

// The pixels of skin bitmap id as the resources hold it (the test fails when it is
// missing). Read from a copy of its own: the cache's copy stays selected in its
// drawing context, and the bits of a selected bitmap cannot be read.
Pixels SkinPixels(int id);
