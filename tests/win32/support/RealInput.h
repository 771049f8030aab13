#pragma once
// Input as a user gives it: through the system's input queue, so that the system
// decides which window gets it (the one under the pointer, the one holding the
// capture, the focus window), and disabled windows get nothing.
#include <windows.h>

// A left click at a point of the screen.
void RealClick(POINT screen);
// A key pressed and released.
void RealKey(WORD virtualKey);
// Clicks at target, then at marker, and pumps this thread's messages until the
// marker's release has been taken from the queue: the click at target has then
// been delivered or dropped. False after a generous deadline.
bool RealClickThenMarker(POINT target, POINT marker);
// The pointer moved to a point of the screen, and there the left button pressed or
// released; each pumps this thread's messages until its event has been taken from
// the queue and handled. False after a generous deadline.
bool RealMoveTo(POINT screen);
bool RealPressAt(POINT screen);
bool RealReleaseAt(POINT screen);
