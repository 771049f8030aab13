#include "panel/PanelLaws.h"

namespace {
// Positions on either side of the centre, by their distance k from it: 1 and 2 lie
// in the dead zone and send what the centre sends.
constexpr uint32_t kFirstOutsideDeadZone = 3;
// The side's level at distance k drops by k * volume / divisor (truncated).
constexpr uint32_t kLeftDivisor = 64;
constexpr uint32_t kRightDivisor = 63;

uint32_t Drop(uint32_t k, uint32_t volume, uint32_t divisor) { return k * volume / divisor; }

// The distance nearest the centre whose drop reaches drop (drop <= volume).
uint32_t FirstReaching(uint32_t drop, uint32_t volume, uint32_t divisor) {
  if (drop == 0) return 0;
  const uint32_t k = (drop * divisor + volume - 1) / volume;
  return k < kFirstOutsideDeadZone ? kFirstOutsideDeadZone : k;
}

// The distance whose drop is nearest drop; of equals, the one nearest the centre,
// so that a position read back from its own levels sends those levels again.
uint32_t NearestDistance(uint32_t drop, uint32_t volume, uint32_t divisor) {
  const uint32_t above = FirstReaching(drop, volume, divisor);
  const uint32_t aboveDrop = Drop(above, volume, divisor);
  if (aboveDrop == drop) return above;
  const uint32_t belowDrop = above == kFirstOutsideDeadZone ? 0 : Drop(above - 1, volume, divisor);
  return drop - belowDrop <= aboveDrop - drop ? FirstReaching(belowDrop, volume, divisor) : above;
}
}  // namespace

Levels LevelsFromVolumeBalance(uint16_t volume, uint16_t balance) {
  const uint32_t v = volume;
  // Beyond the knob's range the level would wrap below zero; hold it at the hard side.
  const uint32_t b = balance > kMaxBalance ? kMaxBalance : balance;
  // Unequal divisors so that both ends reach silence: 0 mutes right, 127 mutes left.
  if (b < 62) return {volume, static_cast<uint16_t>(v - Drop(kCentreBalance - b, v, kLeftDivisor))};
  if (b > 66) return {static_cast<uint16_t>(v - Drop(b - kCentreBalance, v, kRightDivisor)), volume};
  return {volume, volume};
}

// The inverse of LevelsFromVolumeBalance at volume max(left, right): the position
// whose levels lie nearest. Truncating instead would read each position one step
// nearer the centre, and every touch after a re-read would move the balance.
uint16_t BalanceFromLevels(uint16_t left, uint16_t right) {
  const uint32_t l = left;
  const uint32_t r = right;
  if (l > r) return static_cast<uint16_t>(kCentreBalance - NearestDistance(l - r, l, kLeftDivisor));
  if (r > l) return static_cast<uint16_t>(kCentreBalance + NearestDistance(r - l, r, kRightDivisor));
  return kCentreBalance;
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
