#include <gtest/gtest.h>

#include "controls/KnobLaw.h"

namespace {

constexpr KnobPoint kCentre{12, 12};

TEST(KnobLaw, AngleSweepsFromLowerLeftToLowerRight) {
  EXPECT_DOUBLE_EQ(KnobAngle(0, 0, 127), 3.926990816875);
  EXPECT_DOUBLE_EQ(KnobAngle(127, 0, 127), 3.926990816875 - 4.71238898025);
  // The value enters as it is, not as value - lo.
  EXPECT_DOUBLE_EQ(KnobAngle(10, 10, 137), 3.926990816875 - 10 * 4.71238898025 / 127);
}

TEST(KnobLaw, RangeOfOneValueKeepsThePointerAtTheStart) {
  EXPECT_DOUBLE_EQ(KnobAngle(5, 5, 5), 3.926990816875);
  const KnobPoint end = KnobPointerEnd(5, 5, 5, kCentre, 5);
  EXPECT_EQ(end.x, 8);
  EXPECT_EQ(end.y, 16);
}

TEST(KnobLaw, PointerEndsOfTheMainPanelKnob) {
  // Radius 5 about (12, 12). Value 0: (8.46, 15.54); 64: (12.09, 7.00); 127: (15.54, 15.54).
  const struct { int value; unsigned radius; int x, y; } cases[] = {
      {0, 5, 8, 16},    {64, 5, 12, 7},   {127, 5, 16, 16},
      // Radius 10: value 0 ends at (4.93, 19.07), 127 at (19.07, 19.07).
      {0, 10, 5, 19},   {127, 10, 19, 19}, {64, 10, 12, 2},
  };
  for (const auto& c : cases) {
    const KnobPoint end = KnobPointerEnd(c.value, 0, 127, kCentre, c.radius);
    EXPECT_EQ(end.x, c.x) << "value " << c.value << " radius " << c.radius;
    EXPECT_EQ(end.y, c.y) << "value " << c.value << " radius " << c.radius;
  }
}

TEST(KnobLaw, CentreValueLeansSlightlyRight) {
  // 64 of 127 steps: a hair right of straight up, visible at a long radius.
  const KnobPoint end = KnobPointerEnd(64, 0, 127, {100, 100}, 100);
  EXPECT_EQ(end.x, 102);  // 100 + 1.855
  EXPECT_EQ(end.y, 0);    // 100 - 99.98
}

TEST(KnobLaw, HitCircleIncludesItsRim) {
  const struct { KnobPoint press; bool hit; } cases[] = {
      {{17, 12}, true},  {{18, 12}, false}, {{12, 7}, true},  {{12, 6}, false},
      {{15, 16}, true},  {{16, 16}, false}, {{12, 12}, true}, {{7, 12}, true},
      {{-40000, 40000}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KnobHit(c.press, kCentre, 5), c.hit) << "(" << c.press.x << ", " << c.press.y << ")";
}

TEST(KnobLaw, DragCountsOneStepPerPixelRightOrUp) {
  const KnobPoint start{20, 20};
  const struct { KnobPoint now; int value; } cases[] = {
      {{17, 10}, 71},   // 10 up, 3 left: +7
      {{20, 20}, 64},   // back at the start point
      {{21, 19}, 66},   // right and up count twice
      {{19, 21}, 62},
      {{400, 20}, 444}, // unclamped: the control clamps
      {{20, 400}, -316},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KnobDragValue(64, start, c.now), c.value) << "(" << c.now.x << ", " << c.now.y << ")";
}

}  // namespace
