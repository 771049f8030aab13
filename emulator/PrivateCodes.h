#pragma once
// Private request codes of the virtual card. Only the kernel driver that wraps the
// core and the console tool cardctl use them; the panel never does. They lie far
// from the protocol's 4403..4500 and all decode to METHOD_BUFFERED (low two bits 0).
//
// Freestanding: builds inside a kernel driver as well as in user programs.
//
// Every private request uses the request layout VcPrivateRequest (24 bytes; a
// client may pass a larger buffer). Unless a code says otherwise the reply is
// VcPrivateReply (8 bytes). Requests shorter than their layout, or reply buffers
// shorter than their layout, are refused (the call fails, nothing is written).
// Private requests are never logged, never counted, never delayed and never
// failed by an armed fault. Everything is little-endian 32-bit words.
//
// "card" below is a card slot 0..3, which is also the driver index under which
// that card answers the card request 4411.
#include <stdint.h>

// Every code in this range is private, known or not.
constexpr uint32_t kVcPrivateFirst = 0x7A00;
constexpr uint32_t kVcPrivateLast = 0x7AFF;

constexpr bool VcIsPrivateCode(uint32_t code) { return code >= kVcPrivateFirst && code <= kVcPrivateLast; }

enum : uint32_t {
    // Reads one card. Request: card. Reply: VcCardSnapshot.
    kVcReadCard = 0x7A00,
    // Reads what concerns all cards. Request: nothing. Reply: VcGlobalSnapshot.
    kVcReadGlobal = 0x7A04,

    // Card setters. Request: card, index, value as given; reply: VcPrivateReply.
    kVcSetStreamState = 0x7A10,      // index = direction * 16 + stream (0: record 0..5, 1: playback 0..9)
    kVcSetCardState = 0x7A14,        // value = card state (12)
    kVcSetDmaStatus = 0x7A18,        // value = DMA status (13)
    kVcSetMultiPlaying = 0x7A1C,     // value = multi playing word (16)
    kVcSetDmaErrorCount = 0x7A20,    // value = DMA error count (17)
    kVcSetFpgaRevision = 0x7A24,     // value = register 4137
    kVcSetClockMeasurement = 0x7A28, // value = register 61 (until the next clock mode change)
    kVcSetIdWords = 0x7A2C,          // value = idWord0 | idWord1 << 16, extra[0] = idWord2 | idWord3 << 16
    kVcSetRangeFail = 0x7A30,        // value = nonzero: range requests 4491 for this card fail

    // Global setters. Request: value (card and index ignored); reply: VcPrivateReply.
    kVcSetCardCount = 0x7A40,        // value = 0..4: slots 0..value-1 answer, the others do not
    kVcSetAnswerMask = 0x7A44,       // value = bit i set: driver index i answers 4411 (bits 0..3)
    kVcFaultStatus = 0x7A48,         // value = driver status, index = number of calls to answer with it
    kVcFaultFail = 0x7A4C,           // index = number of calls that fail outright
    kVcFaultDelay = 0x7A50,          // value = delay per request in milliseconds (0 = none, at most kVcMaxDelayMs)
    kVcResetToLoad = 0x7A7C,         // puts every card, fault and counter back to the load state
};

// Statuses of private replies (and of the virtual card's own refusals of public requests).
enum : uint32_t {
    kVcOk = 0,
    kVcUnknownRequest = 0xE0000001,
    kVcNoSuchCard = 0xE0000002,
    kVcBadArgument = 0xE0000003,
};

// A delay armed for every request is capped, so that a stray value cannot stall
// every client of the card for hours.
constexpr uint32_t kVcMaxDelayMs = 10000;

struct VcPrivateRequest {
    uint32_t card;
    uint32_t index;
    uint32_t value;
    uint32_t extra[3];
};

struct VcPrivateReply {
    uint32_t status;
    uint32_t value;
};

constexpr uint32_t kVcChannels = 11;       // channel 0..10
constexpr uint32_t kVcRecordStreams = 6;   // record streams 0..5
constexpr uint32_t kVcPlaybackStreams = 10; // playback streams 0..9
constexpr uint32_t kVcMaxCards = 4;
constexpr uint32_t kVcSnapshotVersion = 1;

// The whole state of one card, as kVcReadCard answers it.
struct VcCardSnapshot {
    uint32_t status;      // kVcOk, or kVcBadArgument for a slot above 3
    uint32_t version;     // kVcSnapshotVersion
    uint32_t size;        // sizeof(VcCardSnapshot)
    uint32_t card;
    uint32_t answers;     // 1 when this slot answers 4411
    uint32_t rangeFails;  // 1 when its range requests fail
    uint32_t idWords[4];  // offsets 12, 14, 16, 18 of the 4411 reply
    uint32_t isFree;      // offset 24 of the 4411 reply; set by 4499
    uint32_t rangeStart[2];
    uint32_t rangeLength[2];
    uint32_t left[kVcChannels];
    uint32_t right[kVcChannels];
    uint32_t control[kVcChannels];
    uint32_t clockMode;
    uint32_t autoSync;
    uint32_t recordSync[kVcRecordStreams];
    uint32_t playbackSync[kVcPlaybackStreams];
    uint32_t defaultLeft[kVcChannels];
    uint32_t defaultRight[kVcChannels];
    uint32_t defaultControl[kVcChannels];
    uint32_t defaultClockMode;
    uint32_t defaultAutoSync;
    uint32_t defaultRecordSync[kVcRecordStreams];
    uint32_t defaultPlaybackSync[kVcPlaybackStreams];
    uint32_t defaultsWord;  // what 4500 answers
    uint32_t recordState[kVcRecordStreams];
    uint32_t playbackState[kVcPlaybackStreams];
    uint32_t cardState;
    uint32_t dmaStatus;
    uint32_t multiPlaying;
    uint32_t dmaErrorCount;
    uint32_t fpgaRevision;      // register 4137
    uint32_t clockMeasurement;  // register 61
};

// What concerns all cards, as kVcReadGlobal answers it.
struct VcGlobalSnapshot {
    uint32_t status;
    uint32_t version;
    uint32_t size;
    uint32_t answerMask;        // bit i: driver index i answers
    uint32_t faultStatus;       // driver status answered while faultStatusCalls > 0
    uint32_t faultStatusCalls;
    uint32_t faultFailCalls;
    uint32_t delayMs;
    uint32_t requestCount;      // public requests seen since load
    uint32_t nextClientId;
    // When the last public request was counted, in the performance counter's ticks,
    // as the core's holder stamps it (0 until it does).
    uint32_t lastRequestTicksLow;
    uint32_t lastRequestTicksHigh;
};
