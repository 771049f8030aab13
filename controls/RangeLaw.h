#pragma once

// Clamps v into [minValue, maxValue]; the lower bound is tested first, so with
// minValue > maxValue every v below minValue gives minValue and any other v maxValue.
inline int ClampToRange(int v, int minValue, int maxValue) {
  if (v < minValue) return minValue;
  if (v > maxValue) return maxValue;
  return v;
}
