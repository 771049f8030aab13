#pragma once
// Counts and times the calls this program makes into user32 and gdi32, by putting
// a counting stand-in into each of their entries in the program's import table.
// Each call's own time is kept apart from the time of the probed calls nested in it
// (a window procedure run by DispatchMessage, say). Only calls made on the thread
// that started the count are counted.
#include <cstdint>
#include <string>
#include <vector>

struct CallFigure {
    std::string name;  // "user32.BeginPaint"
    uint64_t calls = 0;
    double ms = 0;     // own time, nested probed calls left out
};

// One call in progress, counted when the count runs on its thread: its own time is
// what the calls nested in it leave. The probes make one for each probed call; the
// benchmark makes one for each request to the in-process card.
class CProbedCall {
public:
    static constexpr int kCardRequest = -1;
    explicit CProbedCall(int id);
    ~CProbedCall();
    CProbedCall(const CProbedCall&) = delete;
    CProbedCall& operator=(const CProbedCall&) = delete;

private:
    int id_;
    uint64_t start_ = 0;
    uint64_t nested_ = 0;
    CProbedCall* outer_ = nullptr;
};

// Puts the stand-ins in place; false when the import table could not be changed.
bool InstallCallProbes();
void StartCallCount();
// The calls since StartCallCount, those made at least once, most time first.
std::vector<CallFigure> StopCallCount();
