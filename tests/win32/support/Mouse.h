#pragma once
// Mouse messages as the system delivers them to a control, in its client coordinates.
#include <windows.h>

#include "framework/Wnd.h"

LRESULT Press(HWND control, int x, int y);
LRESULT Release(HWND control, int x, int y);
LRESULT DoubleClick(HWND control, int x, int y);
// A move with the left button held.
LRESULT Move(HWND control, int x, int y);

inline LRESULT Press(const CWnd& control, int x = 5, int y = 5) { return Press(control.m_hWnd, x, y); }
inline LRESULT Release(const CWnd& control, int x = 5, int y = 5) { return Release(control.m_hWnd, x, y); }
inline LRESULT DoubleClick(const CWnd& control, int x = 5, int y = 5) { return DoubleClick(control.m_hWnd, x, y); }
inline LRESULT Move(const CWnd& control, int x, int y) { return Move(control.m_hWnd, x, y); }

// A press and its release at one point.
void Click(HWND control, int x = 3, int y = 3);
inline void ClickId(HWND dialog, int id) { Click(::GetDlgItem(dialog, id)); }
