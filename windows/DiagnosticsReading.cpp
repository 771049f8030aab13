#include "windows/DiagnosticsReading.h"

#include "device/Status.h"

namespace {

constexpr uint32_t kSelectFpgaRevision = 11;
constexpr uint32_t kSelectCardState = 12;
constexpr uint32_t kSelectDmaStatus = 13;
constexpr uint32_t kSelectMultiPlaying = 16;
constexpr uint32_t kSelectDmaErrors = 17;
constexpr uint32_t kSelectClockMeasurement = 6;

bool Query(CCardControl& device, int32_t card, uint32_t selector, uint32_t* value) {
    return !IsPanelFailure(device.QueryStatus(card, 0, selector, 0, value));
}

}  // namespace

DiagnosticsReading ReadDiagnostics(CCardControl& device, int32_t card) {
    DiagnosticsReading r;
    r.cardStateRead = Query(device, card, kSelectCardState, &r.cardState);
    r.multiPlayingRead = Query(device, card, kSelectMultiPlaying, &r.multiPlaying);
    r.dmaStatusRead = Query(device, card, kSelectDmaStatus, &r.dmaStatus);
    r.fpgaRevisionRead = Query(device, card, kSelectFpgaRevision, &r.fpgaRevision);
    r.clockMeasurementRead = Query(device, card, kSelectClockMeasurement, &r.clockMeasurement);
    r.dmaErrorCountRead = Query(device, card, kSelectDmaErrors, &r.dmaErrorCount);
    return r;
}
