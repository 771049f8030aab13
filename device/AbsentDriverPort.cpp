#include "device/AbsentDriverPort.h"

void CAbsentDriverPort::Open(const char*) {}

bool CAbsentDriverPort::Control(uint32_t, void*, uint32_t, void*, uint32_t) { return false; }

void CAbsentDriverPort::Close() {}
