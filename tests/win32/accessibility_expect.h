#pragma once
// Checking what a screen reader reads of a control against a test table's row.
#include <windows.h>

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
