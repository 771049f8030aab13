#pragma once
// What a window hands its mouse messages to before it handles them: a tooltip
// needs them to see the pointer rest on a tool.
#include <windows.h>

class CMouseRelay {
public:
    // msg: a move, press or release that msg.hwnd is about to handle.
    virtual void RelayMouse(const MSG& msg) = 0;

protected:
    ~CMouseRelay() = default;
};
