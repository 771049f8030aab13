#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

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
      {50, 100, 96},  {40000, 25000, 40}, {65535, 65535, 64}, {65535, 0, 0},
      {0, 65535, 127}, {65535, 32768, 32}, {65535, 49152, 48},
      // No position gives these: the nearest one (43 sends 44032 and 44 45056; 89
      // sends 39530 and 88 40570).
      {65535, 44500, 43}, {40000, 65535, 89},
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
  for (int b = 0; b <= 127; ++b) EXPECT_EQ(ReadBack(b), b < 62 || b > 66 ? b : 64) << b;
  EXPECT_EQ(ReadBack(32), 32);
  EXPECT_EQ(ReadBack(96), 96);
}

bool Same(const Levels& a, const Levels& b) { return a.left == b.left && a.right == b.right; }

// For every volume and position: the levels sent read back as a position that sends
// them again, and as the position itself wherever no other one sends the same.
TEST(PanelLaws, EveryPositionReadsBackAsItsOwnLevels) {
  int failures = 0;
  for (uint32_t v = 0; v <= 65535; ++v) {
    Levels sent[128];
    for (int b = 0; b < 128; ++b) sent[b] = LevelsFromVolumeBalance(static_cast<uint16_t>(v), static_cast<uint16_t>(b));
    for (int b = 0; b < 128; ++b) {
      const int shown = BalanceFromLevels(sent[b].left, sent[b].right);
      const Levels again = LevelsFromVolumeBalance(static_cast<uint16_t>(v), static_cast<uint16_t>(shown));
      // Each side's levels move one way with the position, so equal ones are neighbours.
      const bool alone = (b == 0 || !Same(sent[b - 1], sent[b])) && (b == 127 || !Same(sent[b + 1], sent[b]));
      if (Same(again, sent[b]) && (shown == b || !alone)) continue;
      if (++failures <= 5) ADD_FAILURE() << "volume " << v << ", position " << b << " shows " << shown;
    }
  }
  EXPECT_EQ(failures, 0);
}

// The position nearest (L, R) at volume max(L, R), of equals the one nearest the centre.
int NearestPosition(uint16_t left, uint16_t right) {
  const uint16_t volume = std::max(left, right);
  int best = 64;
  int bestDistance = 1 << 20;
  for (int b = 0; b < 128; ++b) {
    const Levels l = LevelsFromVolumeBalance(volume, static_cast<uint16_t>(b));
    const int distance = std::abs(l.left - left) + std::abs(l.right - right);
    if (distance < bestDistance || (distance == bestDistance && std::abs(b - 64) < std::abs(best - 64))) {
      best = b;
      bestDistance = distance;
    }
  }
  return best;
}

// Levels no position gives, as set from outside the panel, snap once to the nearest
// position, which then holds.
TEST(PanelLaws, ReadBackSnapsToTheNearestPositionAndHolds) {
  std::vector<uint16_t> samples;
  for (int x = 0; x < 300; ++x) samples.push_back(static_cast<uint16_t>(x));
  for (int x = 300; x <= 65535; x += 257) samples.push_back(static_cast<uint16_t>(x));
  samples.push_back(65535);
  int failures = 0;
  for (uint16_t left : samples) {
    for (uint16_t right : samples) {
      const int shown = BalanceFromLevels(left, right);
      const Levels sent = LevelsFromVolumeBalance(std::max(left, right), static_cast<uint16_t>(shown));
      const int again = BalanceFromLevels(sent.left, sent.right);
      if (shown == NearestPosition(left, right) && again == shown) continue;
      if (++failures <= 5) ADD_FAILURE() << "(" << left << ", " << right << ") shows " << shown << ", then " << again;
    }
  }
  EXPECT_EQ(failures, 0);
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
