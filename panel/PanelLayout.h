#pragma once
#include "controls/LayoutTypes.h"

// Every coordinate of the main window, scaled once from the dialog base units.
// At base units 8 x 16 every entry equals its nominal value.
class CPanelLayout {
 public:
  static constexpr int kChannels = 10;
  static constexpr int kRecordChannels = 6;

  CPanelLayout(int baseX, int baseY);

  float sx, sy, fx;
  double fy;

  int tileWidth, tileHeight;
  int tileStepX, tileStepY;
  int knobRadius;

  // Channel strips, indexed by channel 0..9.
  LayoutRect stripFrame[kChannels];
  LayoutPoint knobPoint[kChannels];
  LayoutRect balanceText[kChannels];
  LayoutPoint faderPoint[kChannels];
  LayoutRect volumeText[kChannels];
  LayoutPoint switchPoint[kChannels];
  LayoutPoint playLampPoint[kChannels];
  LayoutPoint recLampPoint[kRecordChannels];
  LayoutRect nameText[kChannels];

  // Left column.
  LayoutRect clockFrame;
  LayoutRect clockText;
  LayoutPoint clockListPoint;
  LayoutPoint rateListPoint;
  LayoutRect syncFrame;
  LayoutRect syncText;
  LayoutPoint autoSyncPoint;
  LayoutPoint customPoint;
  LayoutRect controlFrame;
  LayoutRect volumeBalanceText;
  LayoutRect controlText;
  LayoutPoint enableAllPoint;
  LayoutPoint disableAllPoint;
  LayoutRect deviceStatusText;

  // Bottom row.
  LayoutPoint audioSettingsPoint;
  LayoutPoint metersPoint;
  LayoutPoint diagnosticsPoint;
  LayoutPoint saveDefaultsPoint;
  LayoutPoint retrieveDefaultsPoint;
  LayoutPoint helpPoint;
  LayoutPoint okPoint;

 private:
  int X(int n) const;
  int Y(int n) const;
};
