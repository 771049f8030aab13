#include <gtest/gtest.h>

#include <cmath>

#include "controls/FaderLaw.h"
#include "controls/RangeLaw.h"

namespace {

// The main panel's volume fader: track 127 high, thumb 32 high with inset (1, 1, 2, 2),
// margins 16 and 15, range 0..65535, taper with exponent 8.
FaderScale MainFader(int taperMode = 1) {
  const FaderTravel travel = FaderTravelFor(32, 1, 2, 127, 16, 15);
  return {0, 65535, travel.topLimit, travel.bottomLimit, taperMode, TaperBase(8.0)};
}

TEST(FaderLaw, MainFaderGeometry) {
  const FaderTravel travel = FaderTravelFor(32, 1, 2, 127, 16, 15);
  EXPECT_EQ(travel.topLimit, 14);
  EXPECT_EQ(travel.bottomLimit, 111);
  EXPECT_EQ(travel.grabHalf, 14);
  EXPECT_EQ(travel.thumbCentre, 15);
}

TEST(FaderLaw, GrabHalfTruncatesTowardZero) {
  // 31 - 1 - 2 - 1 = 27 rows: the half is 13, not 14.
  EXPECT_EQ(FaderTravelFor(31, 1, 2, 127, 16, 15).grabHalf, 13);
  // A thumb smaller than its insets gives a negative half that still truncates toward zero.
  EXPECT_EQ(FaderTravelFor(2, 1, 2, 127, 16, 15).grabHalf, -1);
}

TEST(FaderLaw, TaperBaseIsAPowerOfTwoWithAFloor) {
  EXPECT_EQ(TaperBase(8.0), 256.0);
  EXPECT_EQ(TaperBase(0.0), 1.0);
  EXPECT_EQ(TaperBase(-100.0), 0.00001);
}

TEST(FaderLaw, TaperMapsTheUnitIntervalOntoItselfAndIsOdd) {
  for (double a : {256.0, 2.0, 0.5}) {
    EXPECT_DOUBLE_EQ(Taper(a, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(Taper(a, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(InverseTaper(a, 1.0), 1.0);
    for (double x : {0.1, 0.37, 0.5, 0.9}) {
      EXPECT_DOUBLE_EQ(Taper(a, -x), -Taper(a, x));
      EXPECT_DOUBLE_EQ(InverseTaper(a, -x), -InverseTaper(a, x));
      EXPECT_NEAR(InverseTaper(a, Taper(a, x)), x, 1e-12);
    }
  }
  // Base 1 is the identity, compared exactly.
  EXPECT_EQ(Taper(1.0, 0.3), 0.3);
  EXPECT_EQ(InverseTaper(1.0, -0.3), -0.3);
}

TEST(FaderLaw, TellingPositionsGiveTheirValues) {
  const struct { int position, value; } cases[] = {
      {111, 0},    {110, 15},   {100, 224},  {90, 596},   {80, 1255},
      {70, 2421},  {62, 3974},  {50, 8145},  {40, 14625}, {30, 26102},
      {20, 46431}, {15, 61879}, {14, 65535},
  };
  const FaderScale scale = MainFader();
  for (const auto& c : cases)
    EXPECT_EQ(PositionToValue(scale, c.position), c.value) << "position " << c.position;
}

TEST(FaderLaw, TellingValuesGiveTheirPositions) {
  const struct { int value, position; } cases[] = {
      {0, 111},    {1, 110},    {100, 105},  {256, 98},   {1000, 83},
      {4096, 61},  {16384, 38}, {32768, 26}, {49152, 19}, {65535, 14},
  };
  const FaderScale scale = MainFader();
  for (const auto& c : cases)
    EXPECT_EQ(ValueToPosition(scale, c.value), c.position) << "value " << c.value;
}

TEST(FaderLaw, NearestPositionToAValue) {
  const struct { int value, position; } cases[] = {
      {0, 111},     {7, 111},     {8, 110},     {16462, 38},  {65535, 14},  {70000, 14},  {-5, 111},
      // 66 at 107 and 48 at 108 lie equally near 57: the higher position.
      {57, 107},    {58, 107},    {56, 108},
  };
  const FaderScale scale = MainFader();
  for (const auto& c : cases)
    EXPECT_EQ(NearestPosition(scale, c.value), c.position) << "value " << c.value;
}

TEST(FaderLaw, ConversionsTruncateIndependently) {
  // The owner's 1 sits at 110, but the user's 110 reads back as 15.
  const FaderScale scale = MainFader();
  EXPECT_EQ(ValueToPosition(scale, 1), 110);
  EXPECT_EQ(PositionToValue(scale, 110), 15);
}

TEST(FaderLaw, LinearModeIsAStraightLine) {
  const struct { int mode, position, value; } cases[] = {
      {0, 62, 33105}, {2, 62, 33105}, {0, 111, 0}, {0, 14, 65535}, {-1, 40, 47968},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PositionToValue(MainFader(c.mode), c.position), c.value) << "position " << c.position;
  EXPECT_EQ(ValueToPosition(MainFader(0), 32768), 62);
  EXPECT_EQ(ValueToPosition(MainFader(0), 0), 111);
  EXPECT_EQ(ValueToPosition(MainFader(0), 65535), 14);
}

TEST(FaderLaw, RangeOffsetsAreHonoured) {
  // Range -100..100 over the same travel, linear: the middle of the travel is 0.
  const FaderScale scale{-100, 100, 14, 110, 0, 1.0};
  EXPECT_EQ(PositionToValue(scale, 62), 0);
  EXPECT_EQ(PositionToValue(scale, 110), -100);
  EXPECT_EQ(PositionToValue(scale, 14), 100);
  EXPECT_EQ(ValueToPosition(scale, -100), 110);
  EXPECT_EQ(ValueToPosition(scale, 100), 14);
}

TEST(FaderLaw, DegenerateRangeOrTravelStaysDefined) {
  // One-value range: the thumb rests at the bottom; a zero-length travel shows the minimum.
  EXPECT_EQ(ValueToPosition({5, 5, 14, 111, 1, 256.0}, 5), 111);
  EXPECT_EQ(ValueToPosition({5, 5, 14, 111, 0, 256.0}, 5), 111);
  EXPECT_EQ(PositionToValue({0, 65535, 50, 50, 1, 256.0}, 50), 0);
  EXPECT_EQ(PositionToValue({0, 65535, 50, 50, 0, 256.0}, 50), 0);
}

TEST(RangeLaw, ClampsWithTheLowerBoundFirst) {
  const struct { int v, lo, hi, expected; } cases[] = {
      {200, 0, 127, 127}, {-5, 0, 127, 0},  {64, 0, 127, 64}, {0, 0, 127, 0}, {127, 0, 127, 127},
      // Inverted bounds: below the minimum gives the minimum, anything else the maximum.
      {5, 10, 3, 10},     {12, 10, 3, 3},   {10, 10, 3, 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClampToRange(c.v, c.lo, c.hi), c.expected)
        << c.v << " in [" << c.lo << ", " << c.hi << "]";
}

}  // namespace
