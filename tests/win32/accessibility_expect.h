#pragma once
// Checking what a screen reader reads of a control against a test table's row, and
// the reader in another process (accessibility_client) that reads, works and hears
// the program.
#include <windows.h>

#include <string>
#include <vector>

#include "emulator/VirtualCard.h"

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

// The card the main window's reader tests start from: every strip on at full level,
// but Analog's right side at 31744 (what the knob at 31 sends, -6.3 dB) and ADAT 1-2
// at 32845 (-6.0 dB); the internal clock at 48000 Hz; no stream open or running.
void ReadersCard(VcCard& card);

// Runs the reader on control with the given arguments after the output file
// ("action", "value" and texts) and serves this thread's messages meanwhile, since
// its calls arrive through them. Returns the lines it wrote.
std::vector<std::string> RunReader(HWND control, const std::vector<std::string>& args);

// One WinEvent as the reader heard it.
struct HeardEvent {
    DWORD event;
    HWND hwnd;
    LONG object;
    LONG child;
};

// The reader hearing this process's WinEvents from another process, out of
// context, as screen readers hear them. A thread hears of the hook when it first
// raises an event, so the windows to hear run on a thread started afterwards, as
// for a reader that runs before the program starts.
class EventListener {
public:
    EventListener();  // returns once the reader's hook is set
    ~EventListener();
    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;

    bool ready() const { return ready_; }
    // Raises a mark on window (of the calling thread) and serves the thread's
    // messages until the reader has heard it; every event the thread raised before
    // has been heard then. Returns what was heard since the previous mark.
    std::vector<HeardEvent> Mark(HWND window);

private:
    std::vector<std::string> Lines() const;

    std::string file_;
    PROCESS_INFORMATION process_{};
    bool ready_ = false;
    LONG marks_ = 0;
    size_t taken_ = 1;  // lines already returned, "ready" first
};
