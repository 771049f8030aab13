#include "panel/PanelLaws.h"

namespace {
constexpr uint32_t kMaxBalance = 127;
}

Levels LevelsFromVolumeBalance(uint16_t volume, uint16_t balance) {
  const uint32_t v = volume;
  // Beyond the knob's range the level would wrap below zero; hold it at the hard side.
  const uint32_t b = balance > kMaxBalance ? kMaxBalance : balance;
  // Unequal divisors so that both ends reach silence: 0 mutes right, 127 mutes left.
  if (b < 62) return {volume, static_cast<uint16_t>(v - (64 - b) * v / 64)};
  if (b > 66) return {static_cast<uint16_t>(v - (b - 64) * v / 63), volume};
  return {volume, volume};
}

uint16_t BalanceFromLevels(uint16_t left, uint16_t right) {
  const uint32_t l = left;
  const uint32_t r = right;
  const uint32_t m = l > r ? l : r;
  if (m == 0) return 64;
  if (r >= l) return static_cast<uint16_t>(64 + 63 * (r - l) / m);
  return static_cast<uint16_t>(64 - 64 * (l - r) / m);
}

uint16_t ClockModeFromSelection(uint16_t clock, uint16_t rate) {
  if (clock > 3) return 1;
  return static_cast<uint16_t>(rate == 0 ? 2 * clock + 1 : 2 * clock);
}

ClockSelection SelectionFromClockMode(uint16_t code) {
  if (code > 7) return {0, 0};
  return {static_cast<uint16_t>(code / 2), static_cast<uint16_t>(1 - code % 2)};
}

StreamActivity StreamActivityOf(uint32_t state) {
  if (state == 2) return StreamActivity::kOpen;
  if (state == 3 || state == 4) return StreamActivity::kRunning;
  return StreamActivity::kIdle;
}
