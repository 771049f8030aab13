#include "framework/Gdi.h"

#include <cstdlib>
#include <cstring>

#include "framework/WinApp.h"

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject != nullptr || object == nullptr) {
        return FALSE;
    }
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    if (m_hObject != nullptr) {
        return FALSE;
    }
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId)));
}

int CBitmap::GetBitmap(BITMAP* info) const {
    return ::GetObjectA(m_hObject, sizeof(BITMAP), info);
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc) {
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = pointSizeTenths;
    std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&font, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* font, CDC* dc) {
    if (m_hObject != nullptr) {
        return FALSE;
    }
    HDC hdc = dc != nullptr ? dc->m_hDC : ::GetDC(nullptr);
    // Tenths of a point to device pixels (truncating, as the point-size rule has it),
    // then to the context's logical units.
    POINT size{0, ::GetDeviceCaps(hdc, LOGPIXELSY) * font->lfHeight / 720};
    POINT origin{0, 0};
    ::DPtoLP(hdc, &size, 1);
    ::DPtoLP(hdc, &origin, 1);
    if (dc == nullptr) {
        ::ReleaseDC(nullptr, hdc);
    }
    LOGFONTA scaled = *font;
    scaled.lfHeight = -std::abs(size.y - origin.y);
    return Attach(::CreateFontIndirectA(&scaled));
}

BOOL CBrush::CreatePatternBrush(const CBitmap& pattern) {
    if (m_hObject != nullptr) {
        return FALSE;
    }
    return Attach(::CreatePatternBrush(pattern.Handle()));
}

CPen::CPen(int style, int width, COLORREF colour) { Attach(::CreatePen(style, width, colour)); }

BOOL CDC::BitBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, DWORD rop) const {
    return ::BitBlt(m_hDC, x, y, w, h, src.m_hDC, sx, sy, rop);
}

BOOL CDC::StretchBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, int sw, int sh,
                     DWORD rop) const {
    return ::StretchBlt(m_hDC, x, y, w, h, src.m_hDC, sx, sy, sw, sh, rop);
}

int CDC::DrawText(const char* text, int count, RECT* rect, UINT format) const {
    return ::DrawTextA(m_hDC, text, count, rect, format);
}

CPaintDC::CPaintDC(HWND hwnd) : hwnd_(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(hwnd_, &m_ps); }

CMemDC::CMemDC(const CDC& compatibleWith) { m_hDC = ::CreateCompatibleDC(compatibleWith.m_hDC); }

CMemDC::~CMemDC() {
    if (m_hDC != nullptr) {
        ::DeleteDC(m_hDC);
    }
}

CSelectObject::CSelectObject(const CDC& dc, HGDIOBJ object)
    : hdc_(dc.m_hDC), previous_(object != nullptr ? ::SelectObject(dc.m_hDC, object) : nullptr) {}

CSelectObject::~CSelectObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) {
        ::SelectObject(hdc_, previous_);
    }
}
