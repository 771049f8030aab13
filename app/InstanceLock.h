#pragma once
// A named mutex that one copy of the program holds from before it discovers the
// cards until it ends, so that copies started at the same moment agree on which
// of them runs: the title check alone misses a copy that has no window yet.
// Taken and released by the thread that made it, which keeps its queue served while
// it waits: a starter waiting for the copy to be ready for input is not held.
#include <windows.h>

class CInstanceLock {
public:
    explicit CInstanceLock(const char* name);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // Takes the lock, waiting at most `milliseconds`; true once this copy holds
    // it. A lock left by a copy that died is taken. When the mutex cannot be made
    // or waited on, every copy holds it: the program still runs, unguarded.
    bool Take(DWORD milliseconds);

private:
    HANDLE mutex_;
    bool held_ = false;
};
