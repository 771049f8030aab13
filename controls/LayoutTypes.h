#pragma once

// Plain rectangles and points of the computed layouts, in client pixels.
// Rectangles are (left, top, right, bottom); points are a control's top-left corner.
struct LayoutRect {
  int left, top, right, bottom;
};

struct LayoutPoint {
  int x, y;
};

inline bool operator==(const LayoutRect& a, const LayoutRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const LayoutRect& a, const LayoutRect& b) { return !(a == b); }
inline bool operator==(const LayoutPoint& a, const LayoutPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const LayoutPoint& a, const LayoutPoint& b) { return !(a == b); }
