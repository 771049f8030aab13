#include "app/InstanceLock.h"

CInstanceLock::CInstanceLock(const char* name) : mutex_(::CreateMutexA(nullptr, FALSE, name)) {}

CInstanceLock::~CInstanceLock() {
    if (mutex_ == nullptr) return;
    if (held_) ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
}

bool CInstanceLock::Take(DWORD milliseconds) {
    if (mutex_ == nullptr || held_) return true;
    switch (::WaitForSingleObject(mutex_, milliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        held_ = true;
        return true;
    case WAIT_TIMEOUT:
        return false;
    default:
        return true;
    }
}
