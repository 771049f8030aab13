#pragma once
// The 2-pixel, four-colour sunken bevel around groups of controls.
#include "framework/Gdi.h"

// Draws the bevel on and inside r, right and bottom edges included. The pixels
// (R, T), (R, T+1), (R-1, T+1) and (R-1, T+2) stay unpainted. dc keeps its pen.
void DrawSunkenFrame(CDC* dc, RECT r);
