#pragma once
// cardctl's command line turned into the one request it sends. Portable: the
// parsing is tested natively, the Win32 program only carries the result out.
#include <cstdint>
#include <string>

#include "emulator/PrivateCodes.h"

enum class CardctlAction {
    Usage,    // print the usage
    Status,   // read every card and the driver's counters
    Count,    // print the number of protocol requests seen
    Private,  // send `code` with `request` (private codes)
    Public,   // send `code` with `frame` as a client of the protocol
};

constexpr uint32_t kCardctlFrameBytes = 36;

struct CardctlCommand {
    CardctlAction action = CardctlAction::Usage;
    bool json = false;
    uint32_t code = 0;
    VcPrivateRequest request = {};
    // The request words as the protocol lays them out; word 0, the client
    // identifier, stays 0 as for a client that has none.
    uint8_t frame[kCardctlFrameBytes] = {};
};

// Parses the arguments after the program name, UTF-8 text. On failure returns
// false and sets `error` to one line without a trailing newline.
bool ParseCardctlCommand(int argc, const char* const* argv, CardctlCommand& command, std::string& error);

// Reads a 32-bit value: decimal, 0x hexadecimal, or a negative decimal (stored as
// its two's complement, for driver statuses), in ASCII digits only. False on
// anything else.
bool ParseCardctlNumber(const char* text, uint32_t& value);

// An argument as error messages quote it: in single quotes, with backslashes,
// control characters and every byte outside printable ASCII escaped, so that the
// message stays one line whatever the argument holds.
std::string CardctlQuoted(const char* text);

const char* CardctlUsage();
