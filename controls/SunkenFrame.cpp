#include "controls/SunkenFrame.h"

namespace {

struct FrameLine {
    COLORREF colour;
    POINT points[3];  // the last point of a polyline is not painted
};

}  // namespace

void DrawSunkenFrame(CDC* dc, RECT r) {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const FrameLine lines[4] = {
        {RGB(155, 164, 172), {{L, B}, {L, T}, {R, T}}},                  // outer shadow
        {RGB(95, 101, 97), {{L + 1, B - 1}, {L + 1, T + 1}, {R - 1, T + 1}}},  // inner shadow
        {RGB(187, 200, 216), {{L + 2, B - 1}, {R - 1, B - 1}, {R - 1, T + 2}}},  // inner light
        {RGB(231, 231, 231), {{L + 1, B}, {R, B}, {R, T + 1}}},              // outer light
    };
    // The pens outlive their selections, which put the caller's pen back each time.
    CPen pens[4] = {
        {PS_SOLID, 1, lines[0].colour},
        {PS_SOLID, 1, lines[1].colour},
        {PS_SOLID, 1, lines[2].colour},
        {PS_SOLID, 1, lines[3].colour},
    };
    for (int i = 0; i < 4; ++i) {
        CSelectObject selected(*dc, pens[i]);
        dc->Polyline(lines[i].points, 3);
    }
}
