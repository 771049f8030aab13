#include <gtest/gtest.h>

#include "panel/PanelLaws.h"

namespace {

TEST(PanelLaws, LevelsFromVolumeAndBalance) {
  const struct { uint16_t volume, balance, left, right; } cases[] = {
      {65535, 0, 65535, 0},       {65535, 32, 65535, 32768},  {65535, 61, 65535, 62464},
      {65535, 62, 65535, 65535},  {65535, 64, 65535, 65535},  {65535, 66, 65535, 65535},
      {65535, 67, 62415, 65535},  {65535, 96, 32248, 65535},  {65535, 127, 0, 65535},
      {40000, 40, 40000, 25000},
  };
  for (const auto& c : cases) {
    const Levels levels = LevelsFromVolumeBalance(c.volume, c.balance);
    EXPECT_EQ(levels.left, c.left) << c.volume << ", " << c.balance;
    EXPECT_EQ(levels.right, c.right) << c.volume << ", " << c.balance;
  }
}

TEST(PanelLaws, VolumeZeroIsSilentForEveryBalance) {
  for (int b = 0; b <= 127; ++b) {
    const Levels levels = LevelsFromVolumeBalance(0, static_cast<uint16_t>(b));
    EXPECT_EQ(levels.left, 0) << b;
    EXPECT_EQ(levels.right, 0) << b;
  }
}

TEST(PanelLaws, BalanceBeyondTheKnobHoldsAtTheHardRight) {
  // Past 127 the left level would wrap around to a loud value; it stays silent instead.
  for (uint16_t b : {128, 200, 65535}) {
    const Levels levels = LevelsFromVolumeBalance(65535, b);
    EXPECT_EQ(levels.left, 0) << b;
    EXPECT_EQ(levels.right, 65535) << b;
  }
}

TEST(PanelLaws, BalanceFromLevels) {
  const struct { uint16_t left, right, balance; } cases[] = {
      {0, 0, 64},     {100, 0, 0},     {0, 100, 127},      {100, 50, 32},
      {50, 100, 95},  {40000, 25000, 40}, {65535, 65535, 64}, {65535, 0, 0},
      {0, 65535, 127},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BalanceFromLevels(c.left, c.right), c.balance) << c.left << ", " << c.right;
}

// What the knob shows after the card's levels for balance b at full volume are read back.
int ReadBack(int b) {
  const Levels levels = LevelsFromVolumeBalance(65535, static_cast<uint16_t>(b));
  return BalanceFromLevels(levels.left, levels.right);
}

TEST(PanelLaws, RoundTripAtFullVolume) {
  for (int b = 1; b <= 61; ++b) EXPECT_EQ(ReadBack(b), b + 1) << b;
  for (int b = 62; b <= 66; ++b) EXPECT_EQ(ReadBack(b), 64) << b;
  for (int b = 67; b <= 126; ++b) {
    if (b == 85 || b == 106) continue;
    EXPECT_EQ(ReadBack(b), b - 1) << b;
  }
  for (int b : {0, 64, 85, 106, 127}) EXPECT_EQ(ReadBack(b), b) << b;
  EXPECT_EQ(ReadBack(32), 33);
  EXPECT_EQ(ReadBack(96), 95);
}

TEST(PanelLaws, FixedPointsOfTheRoundTripKeepTheirLevels) {
  const Levels at85 = LevelsFromVolumeBalance(65535, 85);
  EXPECT_EQ(at85.left, 43690);
  EXPECT_EQ(at85.right, 65535);
  const Levels at106 = LevelsFromVolumeBalance(65535, 106);
  EXPECT_EQ(at106.left, 21845);
  EXPECT_EQ(at106.right, 65535);
}

TEST(PanelLaws, ClockCodesBothWays) {
  const struct { uint16_t code, clock, rate; } table[] = {
      {0, 0, 1}, {1, 0, 0}, {2, 1, 1}, {3, 1, 0}, {4, 2, 1}, {5, 2, 0}, {6, 3, 1}, {7, 3, 0},
  };
  for (const auto& row : table) {
    EXPECT_EQ(ClockModeFromSelection(row.clock, row.rate), row.code) << row.clock << ", " << row.rate;
    const ClockSelection selection = SelectionFromClockMode(row.code);
    EXPECT_EQ(selection.clock, row.clock) << "code " << row.code;
    EXPECT_EQ(selection.rate, row.rate) << "code " << row.code;
  }
}

TEST(PanelLaws, OddClockValuesFallBackToInternal44100) {
  for (uint16_t code : {8, 9, 100, 65535}) {
    const ClockSelection selection = SelectionFromClockMode(code);
    EXPECT_EQ(selection.clock, 0) << code;
    EXPECT_EQ(selection.rate, 0) << code;
  }
  EXPECT_EQ(ClockModeFromSelection(4, 0), 1);
  EXPECT_EQ(ClockModeFromSelection(65535, 1), 1);
  // Any nonzero rate index counts as 48000 Hz.
  EXPECT_EQ(ClockModeFromSelection(2, 5), 4);
  EXPECT_EQ(ClockModeFromSelection(3, 65535), 6);
}

}  // namespace
