#include <gtest/gtest.h>

#include <climits>

#include "windows/DiagnosticsText.h"

namespace {

TEST(DiagnosticsText, CardStateTexts) {
  const struct { uint32_t state, multi; unsigned id; } cases[] = {
      {0, 0, 141}, {0, 1, 141}, {1, 0, 142}, {1, 1, 150}, {1, 7, 150}, {2, 0, 143},
      {2, 1, 144}, {3, 0, 143}, {3, 1, 144}, {4, 0, 143}, {4, 1, 144}, {5, 0, 145},
      {7, 0, 145}, {7, 1, 145}, {0xFFFFFFFFu, 0, 145},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CardStateStringId(c.state, c.multi), c.id) << c.state << ", " << c.multi;
}

TEST(DiagnosticsText, DmaStatusTexts) {
  const struct { uint32_t status; unsigned id; } cases[] = {
      {0, 146}, {1, 151}, {2, 147}, {3, 148}, {4, 149}, {5, 149}, {0xFFFFFFFFu, 149},
  };
  for (const auto& c : cases) EXPECT_EQ(DmaStatusStringId(c.status), c.id) << c.status;
}

TEST(DiagnosticsText, ClockFromMeasurement) {
  const struct { uint32_t measurement, hz; } cases[] = {
      {938, 48000},           // 47982
      {1023, 44100},          // 44000
      {1407, 32000},
      {0, 45056000},
      {0xFFFFFFFEu, 0},
      {0xFFFFFFFFu, 0},       // the divisor would wrap to zero
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClockFrequencyHz(c.measurement), c.hz) << c.measurement;
}

TEST(DiagnosticsText, SnappingBoundsAreExclusive) {
  const struct { uint32_t in, out; } cases[] = {
      {47600, 47600}, {47601, 48000}, {48000, 48000}, {48399, 48000}, {48400, 48400},
      {43700, 43700}, {43701, 44100}, {44100, 44100}, {44499, 44100}, {44500, 44500},
      {0, 0},         {96000, 96000},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapClockHz(c.in), c.out) << c.in;
}

TEST(DiagnosticsText, Formats) {
  EXPECT_EQ(FormatFpgaRevision(18), "0012");
  EXPECT_EQ(FormatFpgaRevision(107187), "1A2B3");
  EXPECT_EQ(FormatFpgaRevision(0), "0000");
  EXPECT_EQ(FormatFpgaRevision(0xFFFFFFFFu), "FFFFFFFF");
  EXPECT_EQ(FormatDmaErrors(2), "2");
  EXPECT_EQ(FormatDmaErrors(0), "0");
  EXPECT_EQ(FormatDmaErrors(-3), "-3");
  EXPECT_EQ(FormatDmaErrors(INT32_MIN), "-2147483648");
  EXPECT_EQ(FormatClock(48000), "48000 Hz");
  EXPECT_EQ(FormatClock(ClockFrequencyHz(1407)), "32000 Hz");
  EXPECT_EQ(FormatClock(ClockFrequencyHz(0xFFFFFFFFu)), "0 Hz");
  EXPECT_EQ(FormatClock(45056000), "45056000 Hz");
}

TEST(DiagnosticsText, DmaErrorGrowth) {
  EXPECT_EQ(DmaErrorDifference(5, 7), 2);
  EXPECT_EQ(DmaErrorDifference(7, 7), 0);
  // The first update after start compares with 0 and shows the whole count.
  EXPECT_EQ(DmaErrorDifference(0, 12), 12);
  EXPECT_EQ(DmaErrorDifference(7, 5), -2);
  // A counter that wrapped past the limit still shows the new errors.
  EXPECT_EQ(DmaErrorDifference(INT32_MAX, INT32_MIN), 1);
  EXPECT_EQ(DmaErrorDifference(-1, 1), 2);
}

}  // namespace
