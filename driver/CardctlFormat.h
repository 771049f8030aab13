#pragma once
// cardctl's two forms of the card state: readable text and one JSON object. Both
// are stable, so that people and scripts can compare them from run to run.
#include <string>

#include "emulator/PrivateCodes.h"

struct CardctlState {
    VcGlobalSnapshot global;
    VcCardSnapshot cards[kVcMaxCards];
};

// Cards that answer are shown whole; a slot that does not answer gets one line.
std::string FormatStatusText(const CardctlState& state);

// Every slot, answering or not, under "cards" in slot order.
std::string FormatStatusJson(const CardctlState& state);
