#include <gtest/gtest.h>

#include "laws_printers.h"
#include "panel/PanelLayout.h"

namespace {

TEST(PanelLayout, NominalScaleFactorsAreOne) {
  const CPanelLayout layout(8, 16);
  EXPECT_EQ(layout.fx, 1.0f);
  EXPECT_GE(layout.fy, 1.0);
  EXPECT_LT(layout.fy, 1.0 + 1e-7);
  EXPECT_EQ(layout.tileWidth, 800);
  EXPECT_EQ(layout.tileHeight, 340);
  EXPECT_EQ(layout.tileStepX, 80);
  EXPECT_EQ(layout.tileStepY, 76);
  EXPECT_EQ(layout.knobRadius, 5);
}

TEST(PanelLayout, StripsAtNominalScale) {
  const CPanelLayout layout(8, 16);
  for (int k = 0; k < 10; ++k) {
    const int d = 65 * k;
    SCOPED_TRACE(k);
    EXPECT_EQ(layout.stripFrame[k], (LayoutRect{95 + d, 10, 155 + d, 283}));
    EXPECT_EQ(layout.knobPoint[k], (LayoutPoint{114 + d, 34}));
    EXPECT_EQ(layout.balanceText[k], (LayoutRect{105 + d, 59, 153 + d, 79}));
    EXPECT_EQ(layout.faderPoint[k], (LayoutPoint{119 + d, 80}));
    EXPECT_EQ(layout.volumeText[k], (LayoutRect{106 + d, 206, 152 + d, 226}));
    EXPECT_EQ(layout.switchPoint[k], (LayoutPoint{100 + d, 226}));
    EXPECT_EQ(layout.playLampPoint[k], (LayoutPoint{104 + d, 258}));
    if (k < 6) {
      EXPECT_EQ(layout.recLampPoint[k], (LayoutPoint{104 + d, 270}));
    }
  }
  EXPECT_EQ(layout.stripFrame[9], (LayoutRect{680, 10, 740, 283}));
  EXPECT_EQ(layout.switchPoint[9], (LayoutPoint{685, 226}));
}

TEST(PanelLayout, ChannelNamesAtNominalScale) {
  const LayoutRect names[10] = {
      {109, 15, 150, 42}, {173, 15, 218, 42}, {231, 15, 283, 42}, {296, 15, 348, 42},
      {361, 15, 413, 42}, {426, 15, 478, 42}, {490, 15, 543, 42}, {555, 15, 608, 42},
      {620, 15, 673, 42}, {685, 15, 738, 42},
  };
  const CPanelLayout layout(8, 16);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(layout.nameText[k], names[k]) << "channel " << k;
}

TEST(PanelLayout, LeftColumnAndBottomRowAtNominalScale) {
  const CPanelLayout layout(8, 16);
  EXPECT_EQ(layout.clockFrame, (LayoutRect{4, 10, 89, 75}));
  EXPECT_EQ(layout.clockText, (LayoutRect{8, 12, 39, 29}));
  EXPECT_EQ(layout.clockListPoint, (LayoutPoint{8, 30}));
  EXPECT_EQ(layout.rateListPoint, (LayoutPoint{8, 53}));
  EXPECT_EQ(layout.syncFrame, (LayoutRect{4, 94, 89, 161}));
  EXPECT_EQ(layout.syncText, (LayoutRect{8, 96, 87, 113}));
  EXPECT_EQ(layout.autoSyncPoint, (LayoutPoint{10, 114}));
  EXPECT_EQ(layout.customPoint, (LayoutPoint{10, 137}));
  EXPECT_EQ(layout.controlFrame, (LayoutRect{4, 180, 89, 255}));
  EXPECT_EQ(layout.volumeBalanceText, (LayoutRect{8, 182, 87, 193}));
  EXPECT_EQ(layout.controlText, (LayoutRect{27, 193, 87, 204}));
  EXPECT_EQ(layout.enableAllPoint, (LayoutPoint{10, 210}));
  EXPECT_EQ(layout.disableAllPoint, (LayoutPoint{10, 233}));
  EXPECT_EQ(layout.deviceStatusText, (LayoutRect{18, 263, 89, 274}));
  EXPECT_EQ(layout.audioSettingsPoint, (LayoutPoint{4, 300}));
  EXPECT_EQ(layout.metersPoint, (LayoutPoint{119, 300}));
  EXPECT_EQ(layout.diagnosticsPoint, (LayoutPoint{242, 300}));
  EXPECT_EQ(layout.saveDefaultsPoint, (LayoutPoint{361, 300}));
  EXPECT_EQ(layout.retrieveDefaultsPoint, (LayoutPoint{476, 300}));
  EXPECT_EQ(layout.helpPoint, (LayoutPoint{605, 300}));
  EXPECT_EQ(layout.okPoint, (LayoutPoint{676, 298}));
}

// Base units 10 x 20: fx = 1.25 and fy = 1.25 plus a few 1e-9, so every X(n) and Y(n) is
// trunc(1.25 n). Pitch X(60) + X(5) = 75 + 6 = 81; strips start at X(95) + 81 k = 118 + 81 k.
TEST(PanelLayout, StripsAtTenByTwenty) {
  const CPanelLayout layout(10, 20);
  EXPECT_EQ(layout.tileWidth, 1000);
  EXPECT_EQ(layout.tileHeight, 425);
  EXPECT_EQ(layout.knobRadius, 6);
  EXPECT_EQ(layout.stripFrame[1].left, 199);
  for (int k = 0; k < 10; ++k) {
    const int x0 = 118 + 81 * k;
    SCOPED_TRACE(k);
    // Bottom: Y(10) + trunc(Y(137) + Y(48) + 88 fy) = 12 + trunc(171 + 60 + 110.0000005).
    EXPECT_EQ(layout.stripFrame[k], (LayoutRect{x0, 12, x0 + 75, 353}));
    EXPECT_EQ(layout.knobPoint[k], (LayoutPoint{x0 + 23, 42}));
    // Right: x0 + 75 - 2 fx = x0 + 72.5.
    EXPECT_EQ(layout.balanceText[k], (LayoutRect{x0 + 12, 73, x0 + 72, 98}));
    EXPECT_EQ(layout.faderPoint[k], (LayoutPoint{x0 + 30, 99}));
    // Right: x0 + 75 - 2 sx = x0 + 71.29.
    EXPECT_EQ(layout.volumeText[k], (LayoutRect{x0 + 13, 257, x0 + 71, 282}));
    EXPECT_EQ(layout.switchPoint[k], (LayoutPoint{x0 + 6, 282}));
    EXPECT_EQ(layout.playLampPoint[k], (LayoutPoint{x0 + 11, 322}));
    if (k < 6) {
      EXPECT_EQ(layout.recLampPoint[k], (LayoutPoint{x0 + 11, 337}));
    }
  }
  // Names: lefts X(14) = 17, X(13) = 16, X(6) = 7, X(5) = 6 in; rights X(5) = 6 or X(2) = 2 in.
  EXPECT_EQ(layout.nameText[0], (LayoutRect{135, 18, 187, 52}));
  EXPECT_EQ(layout.nameText[1], (LayoutRect{215, 18, 272, 52}));
  EXPECT_EQ(layout.nameText[2], (LayoutRect{287, 18, 353, 52}));
  EXPECT_EQ(layout.nameText[6], (LayoutRect{610, 18, 677, 52}));
  EXPECT_EQ(layout.nameText[9], (LayoutRect{853, 18, 920, 52}));
}

TEST(PanelLayout, LeftColumnAndBottomRowAtTenByTwenty) {
  // L = 12, T1 = 12, T2 = 117, T3 = 225, D = trunc(225 + 101.25) = 326;
  // frame sides trunc(12 - 7.5) = 4 and trunc(12 + 98.75) = 110.
  const CPanelLayout layout(10, 20);
  EXPECT_EQ(layout.clockFrame, (LayoutRect{4, 12, 110, 93}));
  EXPECT_EQ(layout.clockText, (LayoutRect{9, 14, 47, 35}));
  EXPECT_EQ(layout.clockListPoint, (LayoutPoint{9, 37}));
  EXPECT_EQ(layout.rateListPoint, (LayoutPoint{9, 65}));
  EXPECT_EQ(layout.syncFrame, (LayoutRect{4, 117, 110, 200}));
  EXPECT_EQ(layout.syncText, (LayoutRect{9, 119, 108, 140}));
  EXPECT_EQ(layout.autoSyncPoint, (LayoutPoint{12, 142}));
  EXPECT_EQ(layout.customPoint, (LayoutPoint{12, 170}));
  EXPECT_EQ(layout.controlFrame, (LayoutRect{4, 225, 110, 318}));
  EXPECT_EQ(layout.volumeBalanceText, (LayoutRect{9, 227, 108, 241}));
  EXPECT_EQ(layout.controlText, (LayoutRect{33, 241, 108, 255}));
  EXPECT_EQ(layout.enableAllPoint, (LayoutPoint{12, 262}));
  EXPECT_EQ(layout.disableAllPoint, (LayoutPoint{12, 291}));
  EXPECT_EQ(layout.deviceStatusText, (LayoutRect{22, 328, 110, 342}));
  EXPECT_EQ(layout.audioSettingsPoint, (LayoutPoint{5, 375}));
  EXPECT_EQ(layout.metersPoint, (LayoutPoint{148, 375}));
  EXPECT_EQ(layout.diagnosticsPoint, (LayoutPoint{302, 375}));
  EXPECT_EQ(layout.saveDefaultsPoint, (LayoutPoint{451, 375}));
  EXPECT_EQ(layout.retrieveDefaultsPoint, (LayoutPoint{595, 375}));
  EXPECT_EQ(layout.helpPoint, (LayoutPoint{756, 375}));
  // 375 - 2.5 (2 fy in single precision).
  EXPECT_EQ(layout.okPoint, (LayoutPoint{845, 372}));
}

}  // namespace
