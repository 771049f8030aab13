#pragma once
// GDI wrappers: every object, selection and device context is released or
// restored by a destructor, so a paint leaves the device context as it found it.
#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();  // DeleteObject of the held handle
    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);  // takes ownership
    HGDIOBJ Detach();
    BOOL DeleteObject();
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT resourceId);  // LoadBitmapA from AfxGetResourceHandle()
    int GetBitmap(BITMAP* info) const; // GetObjectA, 24-byte BITMAP record
    HBITMAP Handle() const { return static_cast<HBITMAP>(m_hObject); }
};

class CDC;

class CFont : public CGdiObject {
public:
    // Point size in tenths of a point, for the screen (or dc when given).
    BOOL CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* font, CDC* dc = nullptr);
    HFONT Handle() const { return static_cast<HFONT>(m_hObject); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour);
    HPEN Handle() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    BOOL CreatePatternBrush(const CBitmap& pattern);  // the brush keeps its own copy
    HBRUSH Handle() const { return static_cast<HBRUSH>(m_hObject); }
};

// A device context. The base class does not own its handle.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hdc) : m_hDC(hdc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;
    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }

    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    int SetMapMode(int mode) const { return ::SetMapMode(m_hDC, mode); }
    BOOL DPtoLP(POINT* points, int count = 1) const { return ::DPtoLP(m_hDC, points, count); }
    BOOL BitBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, DWORD rop) const;
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) const { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL LPtoDP(POINT* points, int count = 1) const { return ::LPtoDP(m_hDC, points, count); }
    int GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }
    BOOL StretchBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, int sw, int sh, DWORD rop) const;
    BOOL Polyline(const POINT* points, int count) const { return ::Polyline(m_hDC, points, count); }
    BOOL MoveTo(int x, int y) const { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) const { return ::LineTo(m_hDC, x, y); }
    int DrawText(const char* text, int count, RECT* rect, UINT format) const;
    BOOL DrawIcon(int x, int y, HICON icon) const { return ::DrawIcon(m_hDC, x, y, icon); }
    HGDIOBJ GetCurrentObject(UINT type) const { return ::GetCurrentObject(m_hDC, type); }
};

// Begins painting on construction, ends it on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hwnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};
private:
    HWND hwnd_;
};

// A memory device context compatible with another; deleted on destruction.
class CMemDC : public CDC {
public:
    explicit CMemDC(const CDC& compatibleWith);
    ~CMemDC() override;
};

// Selects an object into a device context and selects the previous one back.
class CSelectObject {
public:
    CSelectObject(const CDC& dc, HGDIOBJ object);
    CSelectObject(const CDC& dc, const CGdiObject& object) : CSelectObject(dc, object.GetSafeHandle()) {}
    ~CSelectObject();
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
private:
    HDC hdc_;
    HGDIOBJ previous_;
};

// Sets the brush origin, in device pixels, and restores the previous one.
class CBrushOriginScope {
public:
    CBrushOriginScope(const CDC& dc, POINT origin) : hdc_(dc.m_hDC) {
        ::SetBrushOrgEx(hdc_, origin.x, origin.y, &previous_);
    }
    ~CBrushOriginScope() { ::SetBrushOrgEx(hdc_, previous_.x, previous_.y, nullptr); }
    CBrushOriginScope(const CBrushOriginScope&) = delete;
    CBrushOriginScope& operator=(const CBrushOriginScope&) = delete;
private:
    HDC hdc_;
    POINT previous_{};
};

// Sets a background mode and restores the previous one.
class CBkModeScope {
public:
    CBkModeScope(const CDC& dc, int mode) : hdc_(dc.m_hDC), previous_(::SetBkMode(dc.m_hDC, mode)) {}
    ~CBkModeScope() { ::SetBkMode(hdc_, previous_); }
    CBkModeScope(const CBkModeScope&) = delete;
    CBkModeScope& operator=(const CBkModeScope&) = delete;
private:
    HDC hdc_;
    int previous_;
};
