#pragma once
// Screenshots for a person to look at.
#include <string>

#include "tests/win32/support/Pixels.h"

// Saves the pixels as build/screenshots/<name>.png.
bool SaveScreenshot(const Pixels& pixels, const std::string& name);
