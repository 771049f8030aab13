#include <gtest/gtest.h>

#include "laws_printers.h"
#include "windows/SyncLayout.h"

namespace {

TEST(SyncLayout, ReferenceGeometryAtEightBySixteen) {
  const CSyncLayout layout(8, 16);
  EXPECT_EQ(layout.tileWidth, 880);
  EXPECT_EQ(layout.tileHeight, 150);
  EXPECT_EQ(layout.tileStepX, 80);
  EXPECT_EQ(layout.tileStepY, 76);
  EXPECT_EQ(layout.columnPitch, 80);
  EXPECT_EQ(layout.bandTop, 90);

  const int lefts[10] = {27, 106, 179, 259, 339, 419, 495, 575, 655, 737};
  const int rights[10] = {75, 158, 238, 318, 398, 478, 558, 638, 718, 798};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(layout.columnFrame[i], (LayoutRect{5 + 80 * i, 10, 80 + 80 * i, 80}));
    EXPECT_EQ(layout.headerText[i], (LayoutRect{lefts[i], 15, rights[i], i == 0 ? 37 : 42}));
    EXPECT_EQ(layout.playbackSwitch[i], (LayoutPoint{10 + 80 * i, 60}));
    if (i < 6) {
      EXPECT_EQ(layout.recordSwitch[i], (LayoutPoint{10 + 80 * i, 40}));
    }
  }
  EXPECT_EQ(layout.okPoint, (LayoutPoint{738, 108}));

  EXPECT_EQ(layout.recordGroup.left, 206);
  EXPECT_EQ(layout.recordGroup.frame, (LayoutRect{206, 90, 400, 130}));
  EXPECT_EQ(layout.recordGroup.text, (LayoutRect{269, 93, 400, 112}));
  EXPECT_EQ(layout.recordGroup.enableAllPoint, (LayoutPoint{216, 108}));
  EXPECT_EQ(layout.recordGroup.disableAllPoint, (LayoutPoint{316, 108}));

  EXPECT_EQ(layout.playbackGroup.left, 405);
  EXPECT_EQ(layout.playbackGroup.frame, (LayoutRect{405, 90, 599, 130}));
  EXPECT_EQ(layout.playbackGroup.text, (LayoutRect{465, 93, 599, 112}));
  EXPECT_EQ(layout.playbackGroup.enableAllPoint, (LayoutPoint{415, 108}));
  EXPECT_EQ(layout.playbackGroup.disableAllPoint, (LayoutPoint{515, 108}));

  EXPECT_FLOAT_EQ(layout.scaleX, 1.4833f);
  EXPECT_FLOAT_EQ(layout.scaleY, 1.717f);
}

// Base units 10 x 20 give sx = sy = 1.25 exactly. Base lengths: G 6, W 93, P 99, LI 17,
// T 12, H 87, R 25, S30 37, S5 6, S27 33, S18 22, B 111.
TEST(SyncLayout, ScaledGeometryAtTenByTwenty) {
  const CSyncLayout layout(10, 20);
  EXPECT_EQ(layout.tileWidth, 1100);
  EXPECT_EQ(layout.tileHeight, 187);
  EXPECT_EQ(layout.gap, 6);
  EXPECT_EQ(layout.columnWidth, 93);
  EXPECT_EQ(layout.columnPitch, 99);
  EXPECT_EQ(layout.headerInset, 17);
  EXPECT_EQ(layout.topMargin, 12);
  EXPECT_EQ(layout.columnHeight, 87);
  EXPECT_EQ(layout.rowDistance, 25);
  EXPECT_EQ(layout.s30, 37);
  EXPECT_EQ(layout.s5, 6);
  EXPECT_EQ(layout.s27, 33);
  EXPECT_EQ(layout.s18, 22);
  EXPECT_EQ(layout.bandTop, 111);

  // Header lefts: 23 + 99 i + d_i * 1.25, truncated; rights 99 (i + 1) - 2.5, column 0 92.
  const int lefts[10] = {33, 130, 221, 320, 419, 518, 612, 711, 810, 911};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(layout.columnFrame[i], (LayoutRect{6 + 99 * i, 12, 99 * (i + 1), 99}));
    const int right = i == 0 ? 92 : 99 * (i + 1) - 3;
    EXPECT_EQ(layout.headerText[i], (LayoutRect{lefts[i], 18, right, i == 0 ? 45 : 51}));
    EXPECT_EQ(layout.playbackSwitch[i], (LayoutPoint{12 + 99 * i, 74}));
    if (i < 6) {
      EXPECT_EQ(layout.recordSwitch[i], (LayoutPoint{12 + 99 * i, 49}));
    }
  }
  EXPECT_EQ(layout.okPoint, (LayoutPoint{922, 133}));

  // X1 = trunc(257.5) = 257: right 257 + 242.5, bottom 111 + 50, text 257 + 78.75.
  EXPECT_EQ(layout.recordGroup.frame, (LayoutRect{257, 111, 499, 161}));
  EXPECT_EQ(layout.recordGroup.text, (LayoutRect{335, 114, 499, 138}));
  EXPECT_EQ(layout.recordGroup.enableAllPoint, (LayoutPoint{269, 133}));
  EXPECT_EQ(layout.recordGroup.disableAllPoint, (LayoutPoint{394, 133}));
  // X2 = trunc(506.25) = 506.
  EXPECT_EQ(layout.playbackGroup.frame, (LayoutRect{506, 111, 748, 161}));
  EXPECT_EQ(layout.playbackGroup.text, (LayoutRect{581, 114, 748, 138}));
  EXPECT_EQ(layout.playbackGroup.enableAllPoint, (LayoutPoint{518, 133}));
  EXPECT_EQ(layout.playbackGroup.disableAllPoint, (LayoutPoint{643, 133}));
}

}  // namespace
