#pragma once
// One entry of the card table, filled by discovery. Only driverIndex and cardRef
// are sent to the driver; the rest is kept for reference.
#include <cstdint>

struct RangeRecord {
    uint32_t infoA;
    uint32_t infoB;
    uint32_t first;
    uint32_t last;  // first + length - 1
};

struct CardRecord {
    uint32_t cardRef;
    uint32_t driverIndex;
    uint16_t idWord0;
    uint16_t idWord1;  // idWord1 and idWord2 tell duplicates apart
    uint16_t idWord2;
    uint16_t idWord3;
    uint32_t isFree;
    RangeRecord ranges[2];
};
