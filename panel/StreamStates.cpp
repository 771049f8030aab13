#include "panel/StreamStates.h"

#include "device/Status.h"

namespace {

constexpr uint32_t kPlaybackStateSelector = 15;
constexpr uint32_t kRecordStateSelector = 14;

}  // namespace

StreamStates ReadStreamStates(CCardControl& device, int32_t card, const std::atomic<bool>* cancelled) {
    StreamStates states;
    auto stop = [cancelled] { return cancelled != nullptr && *cancelled; };
    for (int k = 0; k < kPlaybackStreams; ++k) {
        if (stop()) return states;
        states.playbackRead[k] = !IsPanelFailure(
            device.QueryStatus(card, 0, kPlaybackStateSelector, static_cast<uint32_t>(k), &states.playback[k]));
    }
    for (int k = 0; k < kRecordStreams; ++k) {
        if (stop()) return states;
        states.recordRead[k] = !IsPanelFailure(
            device.QueryStatus(card, 0, kRecordStateSelector, static_cast<uint32_t>(k), &states.record[k]));
    }
    return states;
}
