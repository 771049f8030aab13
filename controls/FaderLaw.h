#pragma once

// The fader's logarithmic taper and its value <-> position conversions.
// Values grow upward: topLimit gives maxValue, bottomLimit gives minValue.

// 2 raised to e, but at least 0.00001.
double TaperBase(double e);
// Maps [0, 1] onto [0, 1], growing almost exponentially; odd; x itself when a == 1.
double Taper(double a, double x);
// Undoes Taper.
double InverseTaper(double a, double y);

// Travel and grab geometry of a thumb on a track (pixels from the window's top).
struct FaderTravel {
  int topLimit, bottomLimit, grabHalf, thumbCentre;
};
FaderTravel FaderTravelFor(int thumbHeight, int insetTop, int insetBottom, int trackHeight,
                           int bottomMargin, int topMargin);

// taperMode 1: logarithmic taper with taperBase; any other value: linear.
struct FaderScale {
  int minValue, maxValue, topLimit, bottomLimit, taperMode;
  double taperBase;
};
// Both truncate toward zero, independently of each other.
int ValueToPosition(const FaderScale& scale, int value);
int PositionToValue(const FaderScale& scale, int position);
// The position, topLimit..bottomLimit, whose value lies nearest to value; the
// higher position of two equally near.
int NearestPosition(const FaderScale& scale, int value);
