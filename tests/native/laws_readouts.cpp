#include <gtest/gtest.h>

#include "panel/ReadoutText.h"

namespace {

TEST(Readouts, DecibelsRelativeToFullScaleWithOneDecimal) {
  const struct { uint16_t level; const char* text; } cases[] = {
      {65535, "0.0 dB"},   {65534, "0.0 dB"},   {32768, "-6.0 dB"},  {32767, "-6.0 dB"},
      {16384, "-12.0 dB"}, {6554, "-20.0 dB"},  {655, "-40.0 dB"},   {1, "-96.3 dB"},
      {0, "-inf dB"},      {58409, "-1.0 dB"},  {65000, "-0.1 dB"},  {64800, "-0.1 dB"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecibelText(c.level), c.text) << c.level;
}

TEST(Readouts, RoundsToTheNearestTenthAtTheFirstStep) {
  // 20 log10(x) = -0.05 exactly lies between these two levels.
  EXPECT_EQ(DecibelNumber(65158), "-0.1");
  EXPECT_EQ(DecibelNumber(65159), "0.0");
}

TEST(Readouts, FaderSaysTheVolumeOfTheLouderSide) {
  EXPECT_EQ(FaderReadout("ADAT 3-4", 32768), "ADAT 3-4: -6.0 dB");
  EXPECT_EQ(FaderReadout("Analog", 0), "Analog: -inf dB");
}

TEST(Readouts, KnobSaysBothSidesOrCentre) {
  const struct { uint16_t volume, balance; const char* text; } cases[] = {
      {65535, 64, "S/PDIF balance: centre"},
      {65535, 32, "S/PDIF balance: L 0.0 dB, R -6.0 dB"},
      {65535, 0, "S/PDIF balance: L 0.0 dB, R -inf dB"},
      {65535, 127, "S/PDIF balance: L -inf dB, R 0.0 dB"},
      {40000, 40, "S/PDIF balance: L -4.3 dB, R -8.4 dB"},
      {0, 64, "S/PDIF balance: centre"},
      {1, 64, "S/PDIF balance: centre"},
  };
  for (const auto& c : cases) EXPECT_EQ(KnobReadout("S/PDIF", c.volume, c.balance), c.text) << c.balance;
}

// Sides that come out equal away from the centre (the dead zone; any balance at
// volume 0; all but the hard sides at volume 1) say where the knob stands.
TEST(Readouts, KnobOffCentreWithEqualSidesSaysItsPosition) {
  const struct { uint16_t volume, balance; const char* text; } cases[] = {
      {65535, 62, "2 left of centre"},  {65535, 63, "1 left of centre"},  {65535, 65, "1 right of centre"},
      {65535, 66, "2 right of centre"}, {0, 0, "64 left of centre"},     {0, 127, "63 right of centre"},
      {0, 100, "36 right of centre"},   {1, 1, "63 left of centre"},      {1, 126, "62 right of centre"},
      {1, 0, "L -96.3 dB, R -inf dB"},  {1, 127, "L -inf dB, R -96.3 dB"},
  };
  for (const auto& c : cases) EXPECT_EQ(BalanceText(c.volume, c.balance), c.text) << c.volume << " " << c.balance;
}

TEST(Readouts, SwitchAndLamps) {
  EXPECT_EQ(SwitchReadout("Stream 1-2", true), "Stream 1-2: on");
  EXPECT_EQ(SwitchReadout("Stream 1-2", false), "Stream 1-2: off");
  const struct { uint32_t state; const char* word; } states[] = {
      {0, "idle"}, {1, "idle"}, {2, "open"}, {3, "running"}, {4, "running"}, {5, "idle"}, {0xFFFFFFFF, "idle"},
  };
  for (const auto& s : states) {
    EXPECT_EQ(LampReadout("Analog", false, s.state), std::string("Analog playback: ") + s.word) << s.state;
    EXPECT_EQ(LampReadout("Analog", true, s.state), std::string("Analog record: ") + s.word) << s.state;
  }
}

}  // namespace
