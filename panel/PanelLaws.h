#pragma once
#include <cstdint>

// Volume and balance <-> the card's left and right levels; clock selection <-> clock mode.
struct Levels {
  uint16_t left, right;
};

// Balance 0..127, 64 centre; 62..66 is a dead zone. Balances above 127 count as 127.
constexpr uint16_t kCentreBalance = 64;
constexpr uint16_t kMaxBalance = 127;
Levels LevelsFromVolumeBalance(uint16_t volume, uint16_t balance);
// The position whose levels at volume max(left, right) lie nearest (left, right), of
// equals the one nearest the centre: the levels any position sends read back as a
// position that sends them again, and other levels settle at once.
uint16_t BalanceFromLevels(uint16_t left, uint16_t right);

// Clock index 0..3 (Internal, ADAT, S/PDIF, Word), rate index 0 = 44100 Hz, else 48000 Hz.
uint16_t ClockModeFromSelection(uint16_t clock, uint16_t rate);

struct ClockSelection {
  uint16_t clock, rate;
};
// Codes outside 0..7 give Internal at 44100 Hz.
ClockSelection SelectionFromClockMode(uint16_t code);

// A stream's state as the card reports it: 2 open, 3 or 4 running, anything else idle.
enum class StreamActivity { kIdle, kOpen, kRunning };
StreamActivity StreamActivityOf(uint32_t state);
