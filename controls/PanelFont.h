#pragma once
// The one text font of the panels: "MS Sans Serif", 9 points, normal weight.
#include "framework/Gdi.h"

extern CFont g_panelFont;

// Creates g_panelFont for the screen; later calls keep the font already made.
void CreatePanelFonts();
