#pragma once
// Handling this thread's queued messages from inside a test.
#include <windows.h>

#include <functional>

// Dispatches every message already queued for this thread.
void PumpMessages();
// The same, but drops real mouse input: the display is shared with other test
// programs, so the real pointer may move over a control holding the capture. Tests
// that drive the mouse with sent messages only use this one.
void PumpMessagesDroppingMouse();
// Pumps messages until done() holds; false after a generous deadline.
bool PumpUntil(const std::function<bool()>& done);
// Pumps messages until done() holds, checking it after each message; false after a
// generous deadline. For a window a slow driver keeps busy, whose queue may never
// run empty.
bool PumpEachUntil(const std::function<bool()>& done);
// Pumps messages until done() holds, looking at it again every few milliseconds:
// what it waits for happens in another process and wakes nothing here. False after
// boundMs.
bool PumpLookingUntil(const std::function<bool()>& done, DWORD boundMs = 10000);
// Pumps messages until process has ended; false after boundMs.
bool PumpUntilEnded(HANDLE process, DWORD boundMs);
// Waits, handling nothing, until a message is queued for window; false after a
// generous deadline.
bool WaitUntilQueued(HWND window, UINT message);
// Handles the first message queued for window and nothing else; later ones stay queued.
void HandleFirstQueued(HWND window, UINT message);
// Pumps messages for the given time: only to show that nothing more happens.
void PumpFor(DWORD milliseconds);
