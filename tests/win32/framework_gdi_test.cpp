// GDI wrappers: objects are deleted with their wrapper, selections and paint
// contexts leave the device context as they found it, point-size fonts.
#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "resources/resource.h"

namespace {

TEST(GdiObject, WrapperDeletesItsObjectUnlessDetached) {
    HGDIOBJ deleted = nullptr;
    HGDIOBJ kept = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CPen other(PS_SOLID, 1, RGB(0, 255, 0));
        deleted = pen.GetSafeHandle();
        kept = other.Detach();
        EXPECT_EQ(::GetObjectType(deleted), static_cast<DWORD>(OBJ_PEN));
    }
    EXPECT_EQ(::GetObjectType(deleted), 0u);
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));
    ::DeleteObject(kept);
}

TEST(GdiSelect, SelectionsAreUndoneInReverseOrder) {
    CDC screen(nullptr);
    CMemDC dc(screen);
    const HGDIOBJ originalPen = dc.GetCurrentObject(OBJ_PEN);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    {
        CSelectObject selectRed(dc, red);
        EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), red.GetSafeHandle());
        {
            CSelectObject selectBlue(dc, blue);
            EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), blue.GetSafeHandle());
        }
        EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), red.GetSafeHandle());
    }
    EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), originalPen);
}

TEST(GdiSelect, BackgroundModeIsRestored) {
    CDC screen(nullptr);
    CMemDC dc(screen);
    dc.SetBkMode(OPAQUE);
    {
        CBkModeScope transparent(dc, TRANSPARENT);
        EXPECT_EQ(::GetBkMode(dc.m_hDC), TRANSPARENT);
    }
    EXPECT_EQ(::GetBkMode(dc.m_hDC), OPAQUE);
}

TEST(GdiDC, MemoryContextIsDeletedWithItsWrapper) {
    HDC hdc = nullptr;
    {
        CDC screen(nullptr);
        CMemDC dc(screen);
        hdc = dc.GetSafeHdc();
        EXPECT_EQ(::GetObjectType(hdc), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(hdc), 0u);
}

// Paints with a pen and a font selected and reports what the context held.
class CPaintProbe : public CWnd {
public:
    HGDIOBJ penBefore = nullptr;
    HGDIOBJ penDuring = nullptr;
    HGDIOBJ penAfter = nullptr;
    HGDIOBJ fontBefore = nullptr;
    HGDIOBJ fontAfter = nullptr;
    int paints = 0;

protected:
    LRESULT OnPaint(WPARAM, LPARAM) {
        ++paints;
        CPaintDC dc(m_hWnd);
        penBefore = dc.GetCurrentObject(OBJ_PEN);
        fontBefore = dc.GetCurrentObject(OBJ_FONT);
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        CFont font;
        font.CreatePointFont(90, "Arial", &dc);
        {
            CSelectObject selectPen(dc, pen);
            CSelectObject selectFont(dc, font);
            penDuring = dc.GetCurrentObject(OBJ_PEN);
            dc.MoveTo(0, 0);
            dc.LineTo(10, 10);
        }
        penAfter = dc.GetCurrentObject(OBJ_PEN);
        fontAfter = dc.GetCurrentObject(OBJ_FONT);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbe, CWnd)
    ON_MESSAGE(WM_PAINT, CPaintProbe::OnPaint)
END_MESSAGE_MAP()

TEST(GdiPaint, PaintLeavesTheContextAsFoundAndValidatesTheWindow) {
    CPaintProbe probe;
    const RECT rect = {0, 0, 50, 50};
    ASSERT_TRUE(probe.CreateEx(0, CWnd::DefaultClassName(), "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
    probe.Invalidate(FALSE);
    probe.UpdateWindow();
    ASSERT_GE(probe.paints, 1);
    EXPECT_NE(probe.penDuring, probe.penBefore);
    EXPECT_EQ(probe.penAfter, probe.penBefore);
    EXPECT_EQ(probe.fontAfter, probe.fontBefore);
    EXPECT_FALSE(::GetUpdateRect(probe.m_hWnd, nullptr, FALSE));
}

TEST(GdiFont, PointSizeBecomesCharacterHeightAtTheScreensResolution) {
    CDC screen(::GetDC(nullptr));
    ASSERT_EQ(::GetDeviceCaps(screen.m_hDC, LOGPIXELSY), 96);
    ::ReleaseDC(nullptr, screen.m_hDC);
    struct Case {
        int tenths;
        LONG height;
    };
    // Pixels = dpi x tenths / 720, truncated: 8 points is 10 pixels, not 11.
    const Case cases[] = {{90, -12}, {80, -10}, {120, -16}};
    for (const Case& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, "MS Sans Serif"));
        LOGFONTA info{};
        ASSERT_EQ(::GetObjectA(font.GetSafeHandle(), sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.lfHeight, c.height) << c.tenths;
        EXPECT_STREQ(info.lfFaceName, "MS Sans Serif");
    }
}

TEST(GdiBitmap, LoadsFromTheProgramsResources) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_STONE));
    BITMAP info{};
    ASSERT_EQ(bitmap.GetBitmap(&info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 80);
    EXPECT_EQ(info.bmHeight, 80);
    const HGDIOBJ first = bitmap.GetSafeHandle();
    EXPECT_FALSE(bitmap.LoadBitmap(IDB_KNOB));
    EXPECT_EQ(bitmap.GetSafeHandle(), first);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(4321));
    EXPECT_EQ(missing.GetSafeHandle(), nullptr);
}

}  // namespace
