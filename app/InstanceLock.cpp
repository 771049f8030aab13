#include "app/InstanceLock.h"

namespace {

void ServeQueue() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace

CInstanceLock::CInstanceLock(const char* name) : mutex_(::CreateMutexA(nullptr, FALSE, name)) {}

CInstanceLock::~CInstanceLock() {
    if (mutex_ == nullptr) return;
    if (held_) ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
}

bool CInstanceLock::Take(DWORD milliseconds) {
    if (mutex_ == nullptr || held_) return true;
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    const DWORD kMessage = WAIT_OBJECT_0 + 1;
    DWORD result = kMessage;
    for (ULONGLONG now = ::GetTickCount64(); result == kMessage && now <= deadline; now = ::GetTickCount64()) {
        result = ::MsgWaitForMultipleObjects(1, &mutex_, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (result == kMessage) ServeQueue();
    }
    if (result == kMessage) result = ::WaitForSingleObject(mutex_, 0);
    switch (result) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED_0:
        held_ = true;
        return true;
    case WAIT_TIMEOUT:
        return false;
    default:
        return true;
    }
}
