#include "windows/DiagnosticsText.h"

#include <cstdio>

unsigned CardStateStringId(uint32_t state, uint32_t multiPlaying) {
  switch (state) {
    case 0:
      return kIdsUninitialized;
    case 1:
      return multiPlaying != 0 ? kIdsReadyMulti : kIdsReadyNoMulti;
    case 2:
    case 3:
    case 4:
      return multiPlaying != 0 ? kIdsOpenedMulti : kIdsOpenedNoMulti;
    default:
      return kIdsErrorCondition;
  }
}

unsigned DmaStatusStringId(uint32_t status) {
  switch (status) {
    case 0:
      return kIdsDmaUninitialized;
    case 1:
      return kIdsIdle;
    case 2:
      return kIdsDmaSetup;
    case 3:
      return kIdsDmaActive;
    default:
      return kIdsDmaError;
  }
}

uint32_t SnapClockHz(uint32_t hz) {
  if (hz > 47600 && hz < 48400) return 48000;
  if (hz > 43700 && hz < 44500) return 44100;
  return hz;
}

uint32_t ClockFrequencyHz(uint32_t measurement) {
  // Dividing by measurement + 1 in 64 bits keeps the largest measurement from
  // wrapping the divisor to zero; its quotient is 0.
  const uint64_t divisor = static_cast<uint64_t>(measurement) + 1;
  return SnapClockHz(static_cast<uint32_t>(45056000u / divisor));
}

std::string FormatDmaErrors(int32_t count) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(count));
  return text;
}

std::string FormatFpgaRevision(uint32_t rev) {
  char text[16];
  std::snprintf(text, sizeof text, "%04lX", static_cast<unsigned long>(rev));
  return text;
}

std::string FormatClock(uint32_t hz) {
  char text[24];
  std::snprintf(text, sizeof text, "%lu Hz", static_cast<unsigned long>(hz));
  return text;
}

int32_t DmaErrorDifference(int32_t previous, int32_t now) {
  // Modulo 2^32, so a counter that wrapped still yields the count of new errors.
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(previous));
}
