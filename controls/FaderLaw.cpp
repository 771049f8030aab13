#include "controls/FaderLaw.h"

#include <cmath>
#include <cstdlib>

double TaperBase(double e) {
  const double base = std::pow(2.0, e);
  return base < 0.00001 ? 0.00001 : base;
}

double Taper(double a, double x) {
  if (a == 1.0) return x;
  if (x >= 0.0) return (std::pow(a, x) - 1.0) / (a - 1.0);
  return -((std::pow(a, -x) - 1.0) / (a - 1.0));
}

double InverseTaper(double a, double y) {
  if (a == 1.0) return y;
  if (y >= 0.0) return std::log(1.0 + (a - 1.0) * y) / std::log(a);
  return -(std::log(1.0 - (a - 1.0) * y) / std::log(a));
}

FaderTravel FaderTravelFor(int thumbHeight, int insetTop, int insetBottom, int trackHeight,
                           int bottomMargin, int topMargin) {
  FaderTravel travel;
  travel.grabHalf = (thumbHeight - insetBottom - insetTop - 1) / 2;
  travel.thumbCentre = travel.grabHalf + insetTop;
  travel.bottomLimit = trackHeight - bottomMargin;
  travel.topLimit = topMargin - 1;
  return travel;
}

int ValueToPosition(const FaderScale& scale, int value) {
  const double range = static_cast<double>(scale.maxValue) - scale.minValue;
  const double span = static_cast<double>(scale.bottomLimit) - scale.topLimit;
  // An empty range has only one value; it sits at the bottom of the travel.
  const double t = range == 0.0 ? 0.0 : (static_cast<double>(value) - scale.minValue) / range;
  if (scale.taperMode == 1)
    return static_cast<int>(scale.bottomLimit - span * InverseTaper(scale.taperBase, t));
  return static_cast<int>(scale.bottomLimit - t * span);
}

int PositionToValue(const FaderScale& scale, int position) {
  const double range = static_cast<double>(scale.maxValue) - scale.minValue;
  const double span = static_cast<double>(scale.bottomLimit) - scale.topLimit;
  // A travel of no length can only show the lowest value.
  const double d =
      span == 0.0 ? 0.0 : (static_cast<double>(scale.bottomLimit) - position) / span;
  if (scale.taperMode == 1)
    return static_cast<int>(Taper(scale.taperBase, d) * range + scale.minValue);
  return static_cast<int>(d * range + scale.minValue);
}

int NearestPosition(const FaderScale& scale, int value) {
  int best = scale.topLimit;
  long long bestDistance = -1;
  for (int p = scale.topLimit; p <= scale.bottomLimit; ++p) {
    const long long distance = std::llabs(static_cast<long long>(PositionToValue(scale, p)) - value);
    if (bestDistance < 0 || distance < bestDistance) {
      best = p;
      bestDistance = distance;
    }
  }
  return best;
}
