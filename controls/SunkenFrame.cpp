#include "controls/SunkenFrame.h"

namespace {

constexpr COLORREF kColours[4] = {
    RGB(155, 164, 172),  // outer shadow
    RGB(95, 101, 97),    // inner shadow
    RGB(187, 200, 216),  // inner light
    RGB(231, 231, 231),  // outer light
};

// Made once: a window draws a dozen frames at every repaint.
const CPen* Pens() {
    static const CPen pens[4] = {
        {PS_SOLID, 1, kColours[0]},
        {PS_SOLID, 1, kColours[1]},
        {PS_SOLID, 1, kColours[2]},
        {PS_SOLID, 1, kColours[3]},
    };
    return pens;
}

}  // namespace

void DrawSunkenFrame(CDC* dc, RECT r) {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    // The last point of a polyline is not painted.
    const POINT lines[4][3] = {
        {{L, B}, {L, T}, {R, T}},
        {{L + 1, B - 1}, {L + 1, T + 1}, {R - 1, T + 1}},
        {{L + 2, B - 1}, {R - 1, B - 1}, {R - 1, T + 2}},
        {{L + 1, B}, {R, B}, {R, T + 1}},
    };
    const CPen* pens = Pens();
    // Puts the caller's pen back once the four lines are drawn.
    const CSelectObject restore(*dc, pens[0]);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) ::SelectObject(dc->m_hDC, pens[i].GetSafeHandle());
        dc->Polyline(lines[i], 3);
    }
}
