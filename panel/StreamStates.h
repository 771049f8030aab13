#pragma once
// The states of the ten playback and six record streams behind the lamps, read in one
// poll. A poll may run on the lamp timer's thread: it touches only the device object.
#include <atomic>
#include <cstdint>

#include "device/CardControl.h"

constexpr int kPlaybackStreams = 10;
constexpr int kRecordStreams = 6;

struct StreamStates {
    uint32_t playback[kPlaybackStreams] = {};
    bool playbackRead[kPlaybackStreams] = {};
    uint32_t record[kRecordStreams] = {};
    bool recordRead[kRecordStreams] = {};
};

// Sixteen QueryStatus requests: the playback streams 0 to 9, then the record streams 0 to 5.
// Once *cancelled holds, no further request is sent and the rest stays unread.
StreamStates ReadStreamStates(CCardControl& device, int32_t card, const std::atomic<bool>* cancelled = nullptr);
