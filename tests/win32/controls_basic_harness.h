#pragma once
// Test support for the skinned controls: a top-level parent that records what its
// children send it, and pixel read-back of windows, bitmaps and off-screen drawings.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "controls/SkinBitmap.h"
#include "framework/Wnd.h"

// Colours as 0xRRGGBB.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return (static_cast<Colour>(r) << 16) | (static_cast<Colour>(g) << 8) | static_cast<Colour>(b);
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> colours;  // rows top to bottom
    Colour At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
    // The top-left width x height part.
    Pixels Crop(int w, int h) const;
};

bool operator==(const Pixels& a, const Pixels& b);
inline bool operator!=(const Pixels& a, const Pixels& b) { return !(a == b); }

// The pixels of a bitmap, as drawn 1:1.
Pixels BitmapPixels(const CSkinBitmap& bitmap);
// The pixels of the cached skin bitmap id (the test fails when it is missing).
Pixels SkinPixels(int id);

// A 32-bit DIB section selected into a memory device context, filled with one colour.
class CDibCanvas {
public:
    CDibCanvas(int width, int height, Colour fill);
    ~CDibCanvas();
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;
    HDC Hdc() const { return dc_; }
    Pixels Read() const;

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// The client area of a visible window as the user sees it, after its pending paint.
Pixels CaptureClient(HWND hwnd);

// A visible top-level window at the screen's origin that records WM_USER from its children.
class CTestParent : public CWnd {
public:
    CTestParent();
    std::vector<std::pair<WPARAM, LPARAM>> notifications;
    HWND FirstChild() const { return ::GetWindow(m_hWnd, GW_CHILD); }

protected:
    LRESULT OnUser(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Mouse messages as the system delivers them to a control, in client coordinates.
LRESULT Press(const CWnd& control, int x = 5, int y = 5);
LRESULT Release(const CWnd& control, int x = 5, int y = 5);
LRESULT DoubleClick(const CWnd& control, int x = 5, int y = 5);
