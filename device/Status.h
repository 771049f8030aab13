#pragma once
#include <cstdint>

// Status codes of the panel's own failures; any other nonzero status is the driver's.
constexpr int32_t kBadCardIndex = -869;
constexpr int32_t kDriverCallFailed = -870;
constexpr int32_t kArgOutOfRange = -860;

// The panel's own failures leave a read's outputs untouched; a driver status still
// comes with the values read.
constexpr bool IsPanelFailure(int32_t status) {
    return status == kBadCardIndex || status == kDriverCallFailed || status == kArgOutOfRange;
}

// A change is known to be made only when the driver answered it with status 0: after
// a failed call or a driver status the card may not hold it, so it is read back.
constexpr bool IsChangeTaken(int32_t status) { return status == 0; }
