#pragma once
// Finding this thread's top-level windows from inside a test.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// This thread's top-level windows that keep accepts, in the system's order.
std::vector<HWND> ThreadWindows(const std::function<bool(HWND)>& keep);

// The class name of window.
std::string ClassOf(HWND window);
