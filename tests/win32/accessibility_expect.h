#pragma once
// Checking what a screen reader reads of a control against a test table's row, and
// the reader in another process (accessibility_client) that reads and works it.
#include <windows.h>

#include <string>
#include <vector>

// What a client is to read of one control, as the tests' tables give it.
struct ExpectedReading {
    const char* name;
    long role;
    const char* value;
    long state;
    const char* action;
};

// Reads control as a client does; the test fails on every part that differs.
void ExpectReads(HWND control, const ExpectedReading& expected);

// Runs the reader on control with the given arguments after the output file
// ("action", "value" and texts) and serves this thread's messages meanwhile, since
// its calls arrive through them. Returns the lines it wrote.
std::vector<std::string> RunReader(HWND control, const std::vector<std::string>& args);
