#pragma once
#include "controls/LayoutTypes.h"

// Every coordinate of the custom synchronization window, scaled once from the dialog
// base units. At base units 8 x 16 every entry equals its reference value.
class CSyncLayout {
 public:
  static constexpr int kStreams = 10;

  struct Group {
    int left;
    LayoutRect frame;
    LayoutRect text;
    LayoutPoint enableAllPoint;
    LayoutPoint disableAllPoint;
  };

  CSyncLayout(int baseX, int baseY);

  int tileWidth, tileHeight;
  int tileStepX, tileStepY;

  // Base lengths of the grid.
  int gap;           // G
  int columnWidth;   // W
  int columnPitch;   // P = W + G
  int headerInset;   // LI
  int topMargin;     // T
  int columnHeight;  // H
  int rowDistance;   // R, record row to playback row
  int s30, s5, s27, s18;
  int bandTop;       // B = T + H + T, top of the lower band

  LayoutRect columnFrame[kStreams];
  LayoutRect headerText[kStreams];
  LayoutPoint playbackSwitch[kStreams];
  LayoutPoint recordSwitch[kStreams];  // only streams 0..5 have a record switch
  LayoutPoint okPoint;
  Group recordGroup;
  Group playbackGroup;

  // Unrounded scale factors: baseX * 0.1854125 and baseY * 0.1073125.
  float scaleX, scaleY;
};
