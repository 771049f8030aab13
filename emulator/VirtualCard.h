#pragma once
// The virtual card: a model of up to four cards that answers the driver protocol
// (4403, 4411, 4491 and every card operation) and the private codes of
// PrivateCodes.h. Freestanding C++: no exceptions, RTTI, standard library or heap,
// so that the same source builds into tests and into a kernel driver.
//
// The object is trivially constructible: a static instance is zero-filled without
// any runtime initialiser; call Reset() once before the first Dispatch. It holds no
// lock; its caller serialises calls, as a driver's device queue would.
#include <stddef.h>
#include <stdint.h>

#include "emulator/PrivateCodes.h"

constexpr uint32_t kVcRequestSize = 36;
constexpr uint32_t kVcReplySize = 28;

// The buffer sizes a code needs: 36 and 28 bytes for every code outside the private
// range, the private layouts for private codes. Dispatch refuses smaller buffers,
// and the driver refuses them before they reach the core.
constexpr uint32_t VcRequestBytesOf(uint32_t code) {
    return VcIsPrivateCode(code) ? static_cast<uint32_t>(sizeof(VcPrivateRequest)) : kVcRequestSize;
}

constexpr uint32_t VcReplyBytesOf(uint32_t code) {
    return code == kVcReadCard     ? static_cast<uint32_t>(sizeof(VcCardSnapshot))
           : code == kVcReadGlobal ? static_cast<uint32_t>(sizeof(VcGlobalSnapshot))
           : VcIsPrivateCode(code) ? static_cast<uint32_t>(sizeof(VcPrivateReply))
                                   : kVcReplySize;
}
constexpr uint32_t kVcLogCapacity = 64;

// One logged public request: its code and the 36 request bytes.
struct VcLogEntry {
    uint32_t code;
    uint8_t bytes[kVcRequestSize];
};

// Settings that stored defaults keep.
struct VcSettings {
    uint16_t left[kVcChannels];
    uint16_t right[kVcChannels];
    uint8_t control[kVcChannels];
    uint8_t recordSync[kVcRecordStreams];
    uint8_t playbackSync[kVcPlaybackStreams];
    uint8_t autoSync;
    uint16_t clockMode;
};

// One card slot; the slot number is the driver index it answers under.
struct VcCard {
    uint16_t idWords[4];
    uint32_t isFree;
    uint32_t rangeStart[2];
    uint32_t rangeLength[2];
    bool rangeFails;
    VcSettings settings;
    VcSettings defaults;
    uint32_t defaultsWord;
    uint32_t recordState[kVcRecordStreams];
    uint32_t playbackState[kVcPlaybackStreams];
    uint32_t cardState;
    uint32_t dmaStatus;
    uint32_t multiPlaying;
    uint32_t dmaErrorCount;
    uint32_t fpgaRevision;
    uint32_t clockMeasurement;
};

// The clock measurement register (address 61) that goes with a clock mode: with
// the 5 that the panel adds, 45056000 / (value + 1) lands on the mode's rate.
uint32_t VcClockMeasurementFor(uint32_t clockMode);

class CVirtualCard {
public:
    // Puts every card, fault and counter in the load state (the demo card).
    void Reset();

    // One request, with buffers of at least VcRequestBytesOf and VcReplyBytesOf
    // bytes. Returns false when the call must fail (nothing written
    // then). *replyBytes receives the number of reply bytes written, *delayMs the
    // delay the caller should apply before completing: the armed delay, at most
    // kVcMaxDelayMs (0 for private codes).
    bool Dispatch(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                  uint32_t* replyBytes, uint32_t* delayMs);

    // Direct access for in-process tests; the driver reaches the same through
    // private codes.
    VcCard& Card(uint32_t slot) { return cards_[slot & 3]; }
    const VcCard& Card(uint32_t slot) const { return cards_[slot & 3]; }
    void SetAnswerMask(uint32_t mask) { answerMask_ = mask & 0xF; }
    uint32_t AnswerMask() const { return answerMask_; }
    void SetCardCount(uint32_t count);
    void AnswerStatusForNextCalls(uint32_t status, uint32_t calls);
    void FailNextCalls(uint32_t calls) { failCalls_ = calls; }
    void SetDelayMs(uint32_t ms) { delayMs_ = ms; }

    uint32_t RequestCount() const { return requestCount_; }
    // The holder's clock reading when it saw the count grow; a reset clears it.
    void StampLastRequest(uint64_t ticks) { lastRequestTicks_ = ticks; }
    // Logged requests still held, oldest first (at most kVcLogCapacity).
    uint32_t LogSize() const;
    const VcLogEntry& LogEntry(uint32_t i) const;
    void ClearLog() { logNext_ = 0; logSize_ = 0; }

private:
    bool DispatchPublic(uint32_t code, const uint8_t* in, uint8_t* out);
    bool DispatchPrivate(uint32_t code, const uint8_t* in, uint8_t* out, uint32_t* replyBytes);
    uint32_t AnswerCardOperation(uint32_t code, VcCard& card, const uint8_t* in, uint8_t* out);
    uint32_t AnswerQuery(const VcCard& card, const uint8_t* in, uint8_t* out) const;
    uint32_t AnswerRegister(const VcCard& card, const uint8_t* in, uint8_t* out) const;
    uint32_t SetCardValue(uint32_t code, VcCard& card, const VcPrivateRequest& request);
    uint32_t SetGlobalValue(uint32_t code, const VcPrivateRequest& request);
    void FillSnapshot(uint32_t slot, VcCardSnapshot& s) const;
    void FillGlobal(VcGlobalSnapshot& s) const;
    void Log(uint32_t code, const uint8_t* in);
    void ResetCard(uint32_t slot);

    VcCard cards_[kVcMaxCards];
    VcCard scratch_;  // the addressed card before a request answered with a faulty status
    uint32_t answerMask_;
    uint32_t nextClientId_;
    uint32_t faultStatus_;
    uint32_t faultStatusCalls_;
    uint32_t failCalls_;
    uint32_t delayMs_;
    uint32_t requestCount_;
    uint64_t lastRequestTicks_;
    VcLogEntry log_[kVcLogCapacity];
    uint32_t logNext_;
    uint32_t logSize_;
};
