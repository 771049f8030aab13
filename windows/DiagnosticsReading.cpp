#include "windows/DiagnosticsReading.h"

#include "device/Status.h"

namespace {

constexpr uint32_t kSelectFpgaRevision = 11;
constexpr uint32_t kSelectCardState = 12;
constexpr uint32_t kSelectDmaStatus = 13;
constexpr uint32_t kSelectMultiPlaying = 16;
constexpr uint32_t kSelectDmaErrors = 17;
constexpr uint32_t kSelectClockMeasurement = 6;

}  // namespace

DiagnosticsReading ReadDiagnostics(CCardControl& device, int32_t card, const std::atomic<bool>* cancelled) {
    struct Query {
        uint32_t selector;
        uint32_t DiagnosticsReading::*value;
        bool DiagnosticsReading::*read;
    };
    static constexpr Query kQueries[] = {
        {kSelectCardState, &DiagnosticsReading::cardState, &DiagnosticsReading::cardStateRead},
        {kSelectMultiPlaying, &DiagnosticsReading::multiPlaying, &DiagnosticsReading::multiPlayingRead},
        {kSelectDmaStatus, &DiagnosticsReading::dmaStatus, &DiagnosticsReading::dmaStatusRead},
        {kSelectFpgaRevision, &DiagnosticsReading::fpgaRevision, &DiagnosticsReading::fpgaRevisionRead},
        {kSelectClockMeasurement, &DiagnosticsReading::clockMeasurement, &DiagnosticsReading::clockMeasurementRead},
        {kSelectDmaErrors, &DiagnosticsReading::dmaErrorCount, &DiagnosticsReading::dmaErrorCountRead},
    };
    DiagnosticsReading r;
    for (const Query& q : kQueries) {
        if (cancelled != nullptr && *cancelled) break;
        r.*q.read = !IsPanelFailure(device.QueryStatus(card, 0, q.selector, 0, &(r.*q.value)));
    }
    return r;
}
