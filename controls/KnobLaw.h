#pragma once

// The knob's pointer angle, hit circle and drag law.
struct KnobPoint {
  int x, y;
};

// Pointer angle in radians: 5pi/4 at value 0, sweeping 3pi/2 clockwise up to hi - lo.
double KnobAngle(int value, int lo, int hi);
// End of the pointer line, each coordinate rounded half up.
KnobPoint KnobPointerEnd(int value, int lo, int hi, KnobPoint centre, unsigned radius);
// A press hits when it lies within the circle, its rim included.
bool KnobHit(KnobPoint press, KnobPoint centre, unsigned radius);
// One step per pixel right or up; unclamped.
int KnobDragValue(int startValue, KnobPoint start, KnobPoint now);
