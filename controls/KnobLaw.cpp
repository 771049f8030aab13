#include "controls/KnobLaw.h"

#include <cmath>
#include <cstdint>

namespace {

// 5pi/4 and 3pi/2 to the precision the pointer has always been drawn with.
constexpr double kStartAngle = 3.926990816875;
constexpr double kSweep = 4.71238898025;

int RoundHalfUp(double v) {
  int whole = static_cast<int>(v);
  if (v - whole >= 0.5) ++whole;
  return whole;
}

}  // namespace

double KnobAngle(int value, int lo, int hi) {
  // A range of one value has nowhere to sweep: the pointer stays at the start.
  if (hi == lo) return kStartAngle;
  return kStartAngle - value * kSweep / static_cast<double>(hi - lo);
}

KnobPoint KnobPointerEnd(int value, int lo, int hi, KnobPoint centre, unsigned radius) {
  const double angle = KnobAngle(value, lo, hi);
  const double r = radius;
  return {RoundHalfUp(centre.x + r * std::cos(angle)),
          RoundHalfUp(centre.y - r * std::sin(angle))};
}

bool KnobHit(KnobPoint press, KnobPoint centre, unsigned radius) {
  // 64-bit so that a far-away captured point cannot overflow the square.
  const int64_t dx = static_cast<int64_t>(press.x) - centre.x;
  const int64_t dy = static_cast<int64_t>(press.y) - centre.y;
  const int64_t d2 = dx * dx + dy * dy;
  return static_cast<double>(radius) >= std::sqrt(static_cast<double>(d2));
}

int KnobDragValue(int startValue, KnobPoint start, KnobPoint now) {
  return startValue + (now.x - start.x) + (start.y - now.y);
}
