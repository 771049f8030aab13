#pragma once
#include <cstdint>
#include <string>

// What the diagnostics window shows for the values it reads from the card.

// String table ids of the card state and DMA status texts.
constexpr unsigned kIdsUninitialized = 141;         // "Uninitialized"
constexpr unsigned kIdsReadyNoMulti = 142;          // "Ready - No Multi Playing"
constexpr unsigned kIdsOpenedNoMulti = 143;         // "Opened - No Multi Playing"
constexpr unsigned kIdsOpenedMulti = 144;           // "Opened - Multi Playing"
constexpr unsigned kIdsErrorCondition = 145;        // "Error Condition"
constexpr unsigned kIdsDmaUninitialized = 146;      // "DMA engine uninitialized"
constexpr unsigned kIdsDmaSetup = 147;              // "Setup"
constexpr unsigned kIdsDmaActive = 148;             // "Audio DMA's active"
constexpr unsigned kIdsDmaError = 149;              // "Audio DMA error"
constexpr unsigned kIdsReadyMulti = 150;            // "Ready - Multi Playing"
constexpr unsigned kIdsIdle = 151;                  // "Idle"

unsigned CardStateStringId(uint32_t state, uint32_t multiPlaying);
unsigned DmaStatusStringId(uint32_t status);

// 48000 for 47600 < hz < 48400, 44100 for 43700 < hz < 44500, else hz itself.
uint32_t SnapClockHz(uint32_t hz);
// 45056000 / (measurement + 1), snapped. The largest measurement, whose successor does
// not fit 32 bits, stands for a clock too slow to count and gives 0.
uint32_t ClockFrequencyHz(uint32_t measurement);

std::string FormatDmaErrors(int32_t count);     // "%d"
std::string FormatFpgaRevision(uint32_t rev);   // "%04X"
std::string FormatClock(uint32_t hz);           // "<hz> Hz"

// Growth of the card's DMA error count between two reads; a counter that wrapped
// past the 32-bit limit still gives the number of new errors.
int32_t DmaErrorDifference(int32_t previous, int32_t now);
