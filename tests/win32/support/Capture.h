#pragma once
// What a window shows on the screen.
#include <windows.h>

#include "tests/win32/support/Pixels.h"

// The client area of a visible window as the user sees it, children included, after
// the pending paints of the window and its children (nothing more is invalidated).
Pixels CaptureClient(HWND hwnd);

// What the screen shows in rect, whichever windows show it.
Pixels CaptureScreen(const RECT& rect);

// The client area of a window in screen coordinates.
RECT ClientOnScreen(HWND hwnd);

// Repaints the window now: its own paint, whether or not anything was pending.
void Repaint(HWND hwnd);
