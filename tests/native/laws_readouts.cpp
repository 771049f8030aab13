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

TEST(Readouts, LevelFromWhatAFaderSaysOrAPlainNumber) {
  const struct { const char* text; uint16_t level; } cases[] = {
      {"-6.0 dB", 32845}, {"-6", 32845},   {"-6.0", 32845},  {" -6dB ", 32845}, {"-6 db", 32845},
      {"0.0 dB", 65535},  {"0", 65535},    {"-0", 65535},    {"+0.0", 65535},   {"-12.0 dB", 16462},
      {"-inf dB", 0},     {"-inf", 0},     {"-INF DB", 0},   {"-96.3 dB", 1},   {"-102", 1},
  };
  for (const auto& c : cases) {
    uint16_t level = 12345;
    EXPECT_TRUE(LevelFromText(c.text, &level)) << c.text;
    EXPECT_EQ(level, c.level) << c.text;
  }
}

TEST(Readouts, LevelFromTextRefusesWhatNamesNoLevel) {
  const char* const refused[] = {
      "",      "  ",      "loud",  "dB",   "-",    "6.",     ".5",      "-6..0", "- 6",
      "-6 dBs", "0.1 dB", "+3 dB", "-104", "-200", "-1000",  "inf dB", "-6 dB, R", "1e3", "0x10",
  };
  for (const char* text : refused) {
    uint16_t level = 12345;
    EXPECT_FALSE(LevelFromText(text, &level)) << text;
    EXPECT_EQ(level, 12345) << text;
  }
  uint16_t level = 12345;
  EXPECT_FALSE(LevelFromText(std::string(10000, '9'), &level));
  EXPECT_FALSE(LevelFromText("-" + std::string(10000, '9'), &level));
  EXPECT_EQ(level, 12345);
}

TEST(Readouts, BalanceFromWhatAKnobSays) {
  const struct { const char* text; uint16_t volume, balance; } cases[] = {
      {"centre", 65535, 64},
      {"CENTRE", 0, 64},
      {"2 left of centre", 65535, 62},
      {"64 left of centre", 0, 0},
      {"63 right of centre", 1, 127},
      {"L 0.0 dB, R -6.0 dB", 65535, 32},
      {"L 0 dB, R -6 dB", 65535, 32},
      {"L -inf dB, R 0.0 dB", 65535, 127},
      {"L 0.0 dB, R -inf dB", 65535, 0},
      {"L -4.3 dB, R -8.4 dB", 40000, 40},
      {"L -6.4 dB, R 0.0 dB", 65535, 97},
      // Equal sides: the centre of the dead zone.
      {"L 0.0 dB, R 0.0 dB", 65535, 64},
      {"L -inf dB, R -inf dB", 0, 64},
  };
  for (const auto& c : cases) {
    uint16_t balance = 999;
    EXPECT_TRUE(BalanceFromText(c.text, c.volume, &balance)) << c.text;
    EXPECT_EQ(balance, c.balance) << c.text;
  }
}

// Every text the knob gives reads back as a balance that gives the same text.
TEST(Readouts, EveryBalanceTextReadsBackToItself) {
  for (uint16_t volume : {65535, 40000, 6554, 100, 1, 0}) {
    for (uint16_t b = 0; b <= 127; ++b) {
      const std::string text = BalanceText(volume, b);
      uint16_t balance = 999;
      ASSERT_TRUE(BalanceFromText(text, volume, &balance)) << text;
      EXPECT_EQ(BalanceText(volume, balance), text) << volume << " " << b;
    }
  }
}

TEST(Readouts, BalanceFromTextRefusesOtherTexts) {
  const struct { const char* text; uint16_t volume; } refused[] = {
      {"", 65535},
      {"loud", 65535},
      {"left", 65535},
      {"0 left of centre", 65535},
      {"65 left of centre", 65535},
      {"64 right of centre", 65535},
      {"-2 left of centre", 65535},
      {"2 left", 65535},
      {"L 0.0 dB", 65535},
      {"R -6.0 dB, L 0.0 dB", 65535},
      // The louder side is the fader's; the knob cannot make it another.
      {"L -6.0 dB, R -12.0 dB", 65535},
      {"L +3.0 dB, R 0.0 dB", 65535},
      {"L 0.0 dB, R -200 dB", 65535},
  };
  for (const auto& c : refused) {
    uint16_t balance = 999;
    EXPECT_FALSE(BalanceFromText(c.text, c.volume, &balance)) << c.text;
    EXPECT_EQ(balance, 999) << c.text;
  }
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
