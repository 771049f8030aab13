#pragma once
// Rig of the driver tests: runs cardctl and other programs as separate processes,
// talks to \\.\ZelkWave directly when a test needs raw requests, and stops and
// starts the driver's service.
#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/native/cardctl_json.h"

struct ProcessResult {
    bool ran = false;   // started and ended within the time allowed
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// Runs a command line (UTF-8) to its end, its stdout and stderr captured.
ProcessResult RunProcess(const std::string& commandLine);
// cardctl.exe and the second client, driver_client.exe, from this build.
ProcessResult RunCardctl(const std::string& arguments);
ProcessResult RunClient(const std::string& arguments);

// `cardctl status --json`, parsed; false (with the reason in `error`) when cardctl
// failed or printed something else than one JSON object.
bool ReadCardState(CJsonValue& state, std::string& error);

// The driver's service, as `net stop` and `net start` leave it.
bool StopDriver();
bool StartDriver();

// Lines of a captured output (the last line need not end in a newline).
int LineCount(const std::string& text);

// A handle on the device of its own, with read and write access so that private
// codes reach the driver as well.
class CRawDevice {
public:
    CRawDevice();
    ~CRawDevice();
    CRawDevice(const CRawDevice&) = delete;
    CRawDevice& operator=(const CRawDevice&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // One request; false when the call failed. `returned` gets the bytes reported.
    bool Send(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize, DWORD* returned = nullptr);
    DWORD lastError() const { return lastError_; }
    // Private requests: the load state back, and the protocol requests seen.
    bool ResetCard();
    uint32_t RequestCount();

private:
    HANDLE handle_;
    DWORD lastError_ = 0;
};
