#pragma once
#include "controls/LayoutTypes.h"

// Geometry of the about box, scaled from the dialog base units.
struct AboutLayout {
  int width, height;  // area that the background tiles must reach
  int stepX, stepY;   // tile pitch
  LayoutRect titleRect;
  LayoutRect versionRect;
  LayoutRect noticeRect;
  LayoutPoint okButtonPos;
};

AboutLayout ComputeAboutLayout(int baseX, int baseY);
