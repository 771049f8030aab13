#pragma once
// The six values of one diagnostics update, read in one poll. A poll may run on the
// diagnostics timer's thread: it touches only the device object.
#include <atomic>
#include <cstdint>

#include "device/CardControl.h"

struct DiagnosticsReading {
    uint32_t cardState = 0;
    uint32_t multiPlaying = 0;
    uint32_t dmaStatus = 0;
    uint32_t fpgaRevision = 0;
    uint32_t clockMeasurement = 0;
    uint32_t dmaErrorCount = 0;
    bool cardStateRead = false;
    bool multiPlayingRead = false;
    bool dmaStatusRead = false;
    bool fpgaRevisionRead = false;
    bool clockMeasurementRead = false;
    bool dmaErrorCountRead = false;
};

// QueryStatus, bank 0 and item 0, for card state, multi playing, DMA status, FPGA
// revision, clock measurement, then the DMA error count. Once *cancelled holds, no
// further query is sent and the rest stays unread.
DiagnosticsReading ReadDiagnostics(CCardControl& device, int32_t card, const std::atomic<bool>* cancelled = nullptr);
