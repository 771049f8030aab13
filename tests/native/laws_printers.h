#pragma once
#include <ostream>

#include "controls/LayoutTypes.h"

// Readable failure messages for layout entries.
inline void PrintTo(const LayoutRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const LayoutPoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}
