#include "emulator/VirtualCard.h"

namespace {

// The number of cards that answer at load; a driver may be built with two.
#ifndef WAVE_VIRTUAL_CARDS
#define WAVE_VIRTUAL_CARDS 1
#endif
constexpr uint32_t kLoadCards = WAVE_VIRTUAL_CARDS;
static_assert(kLoadCards >= 1 && kLoadCards <= kVcMaxCards, "one to four cards");

constexpr uint32_t kFullLevel = 65535;
constexpr uint32_t kReadyState = 1;
constexpr uint32_t kDmaIdle = 1;
constexpr uint32_t kFpgaRevision = 0x0107;
constexpr uint32_t kMaxClockMode = 7;
constexpr uint32_t kRegisterFpga = 4137;
constexpr uint32_t kRegisterClock = 61;

uint16_t Read16(const uint8_t* p, uint32_t offset) {
    return static_cast<uint16_t>(p[offset] | (p[offset + 1] << 8));
}

uint32_t Read32(const uint8_t* p, uint32_t offset) {
    return static_cast<uint32_t>(p[offset]) | (static_cast<uint32_t>(p[offset + 1]) << 8) |
           (static_cast<uint32_t>(p[offset + 2]) << 16) | (static_cast<uint32_t>(p[offset + 3]) << 24);
}

void Write16(uint8_t* p, uint32_t offset, uint32_t v) {
    p[offset] = static_cast<uint8_t>(v);
    p[offset + 1] = static_cast<uint8_t>(v >> 8);
}

void Write32(uint8_t* p, uint32_t offset, uint32_t v) {
    Write16(p, offset, v);
    Write16(p, offset + 2, v >> 16);
}

void CopyBytes(uint8_t* to, const uint8_t* from, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) to[i] = from[i];
}

void ZeroBytes(uint8_t* p, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) p[i] = 0;
}

// Snapshots are arrays of 32-bit words, written out little-endian whatever the host.
template <typename T>
void StoreWords(const T& words, uint8_t* out) {
    static_assert(sizeof(T) % 4 == 0, "word layout");
    const uint32_t* w = reinterpret_cast<const uint32_t*>(&words);
    for (uint32_t i = 0; i < sizeof(T) / 4; ++i) Write32(out, 4 * i, w[i]);
}

bool IsCardOperation(uint32_t code) {
    switch (code) {
    case 4408: case 4409: case 4412: case 4432: case 4439: case 4440:
    case 4481: case 4482: case 4483: case 4484: case 4485: case 4486: case 4487:
    case 4488: case 4489: case 4490: case 4495: case 4496: case 4499: case 4500:
        return true;
    default:
        return false;
    }
}

// Levels, switches and synchronization of the demo card: everything on, a few
// channels off centre so that the balance knobs show something.
void LoadSettings(VcSettings& s) {
    for (uint32_t c = 0; c < kVcChannels; ++c) {
        s.left[c] = kFullLevel;
        s.right[c] = kFullLevel;
        s.control[c] = 1;
    }
    s.right[1] = 49152;
    s.left[6] = 40000;
    s.left[9] = 32768;
    s.right[9] = 32768;
    for (uint32_t i = 0; i < kVcRecordStreams; ++i) s.recordSync[i] = 1;
    for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) s.playbackSync[i] = 1;
    s.autoSync = 1;
    s.clockMode = 0;
}

}  // namespace

uint32_t VcClockMeasurementFor(uint32_t clockMode) {
    const uint32_t rate = (clockMode & 1) ? 44100 : 48000;
    const uint32_t rounded = (45056000 + rate / 2) / rate;
    return rounded - 1 - 5;
}

void CVirtualCard::ResetCard(uint32_t slot) {
    VcCard& c = cards_[slot];
    ZeroBytes(reinterpret_cast<uint8_t*>(&c), sizeof c);
    c.idWords[0] = 0x1A3C;
    c.idWords[1] = 0x0601;
    c.idWords[2] = static_cast<uint16_t>(0x0010 + slot);
    c.idWords[3] = 0x0002;
    c.rangeStart[0] = 0xE000 + 0x100 * slot;
    c.rangeLength[0] = 0x100;
    c.rangeStart[1] = 0xF4000000u + 0x10000 * slot;
    c.rangeLength[1] = 0x10000;
    LoadSettings(c.settings);
    c.defaults = c.settings;
    c.defaultsWord = 1;
    c.cardState = kReadyState;
    c.dmaStatus = kDmaIdle;
    c.fpgaRevision = kFpgaRevision;
    c.clockMeasurement = VcClockMeasurementFor(c.settings.clockMode);
}

void CVirtualCard::Reset() {
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) ResetCard(slot);
    SetCardCount(kLoadCards);
    nextClientId_ = 0x100;
    faultStatus_ = 0;
    faultStatusCalls_ = 0;
    failCalls_ = 0;
    delayMs_ = 0;
    requestCount_ = 0;
    lastRequestTicks_ = 0;
    ClearLog();
}

void CVirtualCard::SetCardCount(uint32_t count) {
    answerMask_ = count >= kVcMaxCards ? 0xF : (1u << count) - 1;
}

void CVirtualCard::AnswerStatusForNextCalls(uint32_t status, uint32_t calls) {
    faultStatus_ = status;
    faultStatusCalls_ = calls;
}

uint32_t CVirtualCard::LogSize() const { return logSize_; }

const VcLogEntry& CVirtualCard::LogEntry(uint32_t i) const {
    return log_[(logNext_ + kVcLogCapacity - logSize_ + i) % kVcLogCapacity];
}

void CVirtualCard::Log(uint32_t code, const uint8_t* in) {
    VcLogEntry& e = log_[logNext_];
    e.code = code;
    CopyBytes(e.bytes, in, kVcRequestSize);
    logNext_ = (logNext_ + 1) % kVcLogCapacity;
    if (logSize_ < kVcLogCapacity) ++logSize_;
    ++requestCount_;
}

bool CVirtualCard::Dispatch(uint32_t code, const void* in, uint32_t inSize, void* out,
                            uint32_t outSize, uint32_t* replyBytes, uint32_t* delayMs) {
    if (replyBytes) *replyBytes = 0;
    if (delayMs) *delayMs = 0;
    if (!in || !out) return false;
    if (inSize < VcRequestBytesOf(code) || outSize < VcReplyBytesOf(code)) return false;
    if (VcIsPrivateCode(code))
        return DispatchPrivate(code, static_cast<const uint8_t*>(in), static_cast<uint8_t*>(out), replyBytes);

    // The request and reply may share one buffer (buffered transfers): read all of
    // the request before writing any of the reply.
    uint8_t request[kVcRequestSize];
    CopyBytes(request, static_cast<const uint8_t*>(in), kVcRequestSize);
    Log(code, request);
    if (delayMs) *delayMs = delayMs_ > kVcMaxDelayMs ? kVcMaxDelayMs : delayMs_;
    if (failCalls_ > 0) {
        --failCalls_;
        return false;
    }
    uint8_t reply[kVcReplySize];
    if (faultStatusCalls_ > 0) {
        // Answer as the card would, but report the armed status and keep the card
        // as it was: a refusing driver does not carry the request out.
        --faultStatusCalls_;
        const uint32_t slot = Read32(request, 4) & 3;
        scratch_ = cards_[slot];
        const bool ok = DispatchPublic(code, request, reply);
        cards_[slot] = scratch_;
        if (!ok) return false;
        Write32(reply, 0, faultStatus_);
    } else if (!DispatchPublic(code, request, reply)) {
        return false;
    }
    CopyBytes(static_cast<uint8_t*>(out), reply, kVcReplySize);
    if (replyBytes) *replyBytes = kVcReplySize;
    return true;
}

bool CVirtualCard::DispatchPublic(uint32_t code, const uint8_t* in, uint8_t* out) {
    ZeroBytes(out, kVcReplySize);
    const uint32_t index = Read32(in, 4);
    const bool answers = index < kVcMaxCards && (answerMask_ >> index & 1);
    if (code == 4403) {
        Write32(out, 0, kVcOk);
        Write32(out, 4, nextClientId_++);
        return true;
    }
    if (code == 4411) {
        if (!answers) {
            Write32(out, 0, kVcNoSuchCard);
            return true;
        }
        const VcCard& c = cards_[index];
        Write32(out, 0, kVcOk);
        for (uint32_t i = 0; i < 4; ++i) Write16(out, 12 + 2 * i, c.idWords[i]);
        Write32(out, 24, c.isFree);
        return true;
    }
    if (code == 4491) {
        if (!answers) {
            Write32(out, 0, kVcNoSuchCard);
            return true;
        }
        const VcCard& c = cards_[index];
        if (c.rangeFails) return false;
        const uint32_t range = Read32(in, 8);
        if (range > 1) {
            Write32(out, 0, kVcBadArgument);
            return true;
        }
        Write32(out, 0, kVcOk);
        Write32(out, 4, range == 0 ? 1 : 0);  // 1: I/O ports, 0: memory
        Write32(out, 8, index);
        Write32(out, 12, c.rangeStart[range]);
        Write32(out, 16, c.rangeLength[range]);
        return true;
    }
    if (!IsCardOperation(code)) return false;
    Write32(out, 0, answers ? AnswerCardOperation(code, cards_[index], in, out) : kVcNoSuchCard);
    return true;
}

uint32_t CVirtualCard::AnswerCardOperation(uint32_t code, VcCard& card, const uint8_t* in,
                                           uint8_t* out) {
    VcSettings& s = card.settings;
    const uint32_t channel = Read32(in, 8);
    switch (code) {
    case 4408:
        card.cardState = kReadyState;
        card.dmaStatus = kDmaIdle;
        return kVcOk;
    case 4409:
        card.cardState = 0;
        card.dmaStatus = 0;
        card.multiPlaying = 0;
        for (uint32_t i = 0; i < kVcRecordStreams; ++i) card.recordState[i] = 0;
        for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) card.playbackState[i] = 0;
        return kVcOk;
    case 4412:
        return AnswerQuery(card, in, out);
    case 4432:
        return AnswerRegister(card, in, out);
    case 4439: {
        const uint32_t mode = Read32(in, 16);
        if (mode > kMaxClockMode) return kVcBadArgument;
        s.clockMode = static_cast<uint16_t>(mode);
        card.clockMeasurement = VcClockMeasurementFor(mode);
        return kVcOk;
    }
    case 4440:
        Write32(out, 4, s.clockMode);
        return kVcOk;
    case 4481: {
        const uint32_t c = Read16(in, 20);
        if (c >= kVcChannels) return kVcBadArgument;
        s.left[c] = Read16(in, 22);
        s.right[c] = Read16(in, 24);
        return kVcOk;
    }
    case 4482:
        if (channel >= kVcChannels) return kVcBadArgument;
        Write32(out, 4, s.left[channel]);
        Write32(out, 8, s.right[channel]);
        return kVcOk;
    case 4483:
        if (channel >= kVcChannels) return kVcBadArgument;
        Write32(out, 4, s.control[channel]);
        return kVcOk;
    case 4484:
    case 4485:
        if (channel >= kVcChannels) return kVcBadArgument;
        s.control[channel] = code == 4485 ? 1 : 0;
        return kVcOk;
    case 4486:
    case 4487: {
        const uint32_t direction = Read32(in, 16);
        const uint32_t stream = Read16(in, 20);
        uint8_t* sync = nullptr;
        if (direction == 0 && stream < kVcRecordStreams) sync = &s.recordSync[stream];
        if (direction == 1 && stream < kVcPlaybackStreams) sync = &s.playbackSync[stream];
        if (!sync) return kVcBadArgument;
        if (code == 4487)
            *sync = Read16(in, 22) != 0 ? 1 : 0;
        else
            Write32(out, 4, *sync);
        return kVcOk;
    }
    case 4488:
    case 4489:
        s.autoSync = code == 4489 ? 1 : 0;
        return kVcOk;
    case 4490:
        Write32(out, 4, s.autoSync);
        return kVcOk;
    case 4495:
        card.defaults = s;
        card.defaultsWord = 1;
        return kVcOk;
    case 4496:
        s = card.defaults;
        card.clockMeasurement = VcClockMeasurementFor(s.clockMode);
        return kVcOk;
    case 4499:
        card.isFree = 1;
        return kVcOk;
    case 4500:
        Write32(out, 4, card.defaultsWord);
        return kVcOk;
    default:
        return kVcUnknownRequest;
    }
}

uint32_t CVirtualCard::AnswerQuery(const VcCard& card, const uint8_t* in, uint8_t* out) const {
    const uint32_t selector = Read32(in, 16);
    const uint32_t item = Read32(in, 20);
    uint32_t value = 0;
    switch (selector) {
    case 12: value = card.cardState; break;
    case 13: value = card.dmaStatus; break;
    case 14:
        if (item >= kVcRecordStreams) return kVcBadArgument;
        value = card.recordState[item];
        break;
    case 15:
        if (item >= kVcPlaybackStreams) return kVcBadArgument;
        value = card.playbackState[item];
        break;
    case 16: value = card.multiPlaying; break;
    case 17: value = card.dmaErrorCount; break;
    default: return kVcBadArgument;
    }
    Write32(out, 4, value);
    return kVcOk;
}

uint32_t CVirtualCard::AnswerRegister(const VcCard& card, const uint8_t* in, uint8_t* out) const {
    const uint32_t address = Read32(in, 20);
    uint32_t value = 0;
    if (address == kRegisterFpga) value = card.fpgaRevision;
    if (address == kRegisterClock) value = card.clockMeasurement;
    Write32(out, 4, value);
    return kVcOk;
}

bool CVirtualCard::DispatchPrivate(uint32_t code, const uint8_t* in, uint8_t* out, uint32_t* replyBytes) {
    VcPrivateRequest request;
    request.card = Read32(in, 0);
    request.index = Read32(in, 4);
    request.value = Read32(in, 8);
    for (uint32_t i = 0; i < 3; ++i) request.extra[i] = Read32(in, 12 + 4 * i);

    if (code == kVcReadCard || code == kVcReadGlobal) {
        if (code == kVcReadCard) {
            VcCardSnapshot s;
            FillSnapshot(request.card, s);
            StoreWords(s, out);
        } else {
            VcGlobalSnapshot s;
            FillGlobal(s);
            StoreWords(s, out);
        }
        if (replyBytes) *replyBytes = VcReplyBytesOf(code);
        return true;
    }
    uint32_t status = kVcUnknownRequest;
    if (code == kVcResetToLoad) {
        Reset();
        status = kVcOk;
    } else if (code >= kVcSetCardCount) {
        status = SetGlobalValue(code, request);
    } else if (request.card >= kVcMaxCards) {
        status = kVcBadArgument;
    } else {
        status = SetCardValue(code, cards_[request.card], request);
    }
    Write32(out, 0, status);
    Write32(out, 4, request.value);
    if (replyBytes) *replyBytes = sizeof(VcPrivateReply);
    return true;
}

uint32_t CVirtualCard::SetCardValue(uint32_t code, VcCard& card, const VcPrivateRequest& r) {
    switch (code) {
    case kVcSetStreamState: {
        const uint32_t direction = r.index / 16;
        const uint32_t stream = r.index % 16;
        if (direction == 0 && stream < kVcRecordStreams) {
            card.recordState[stream] = r.value;
            return kVcOk;
        }
        if (direction == 1 && stream < kVcPlaybackStreams) {
            card.playbackState[stream] = r.value;
            return kVcOk;
        }
        return kVcBadArgument;
    }
    case kVcSetCardState: card.cardState = r.value; return kVcOk;
    case kVcSetDmaStatus: card.dmaStatus = r.value; return kVcOk;
    case kVcSetMultiPlaying: card.multiPlaying = r.value; return kVcOk;
    case kVcSetDmaErrorCount: card.dmaErrorCount = r.value; return kVcOk;
    case kVcSetFpgaRevision: card.fpgaRevision = r.value; return kVcOk;
    case kVcSetClockMeasurement: card.clockMeasurement = r.value; return kVcOk;
    case kVcSetIdWords:
        card.idWords[0] = static_cast<uint16_t>(r.value);
        card.idWords[1] = static_cast<uint16_t>(r.value >> 16);
        card.idWords[2] = static_cast<uint16_t>(r.extra[0]);
        card.idWords[3] = static_cast<uint16_t>(r.extra[0] >> 16);
        return kVcOk;
    case kVcSetRangeFail: card.rangeFails = r.value != 0; return kVcOk;
    default: return kVcUnknownRequest;
    }
}

uint32_t CVirtualCard::SetGlobalValue(uint32_t code, const VcPrivateRequest& r) {
    switch (code) {
    case kVcSetCardCount:
        if (r.value > kVcMaxCards) return kVcBadArgument;
        SetCardCount(r.value);
        return kVcOk;
    case kVcSetAnswerMask:
        if (r.value > 0xF) return kVcBadArgument;
        SetAnswerMask(r.value);
        return kVcOk;
    case kVcFaultStatus: AnswerStatusForNextCalls(r.value, r.index); return kVcOk;
    case kVcFaultFail: FailNextCalls(r.index); return kVcOk;
    case kVcFaultDelay: SetDelayMs(r.value); return kVcOk;
    default: return kVcUnknownRequest;
    }
}

void CVirtualCard::FillSnapshot(uint32_t slot, VcCardSnapshot& s) const {
    ZeroBytes(reinterpret_cast<uint8_t*>(&s), sizeof s);
    s.version = kVcSnapshotVersion;
    s.size = sizeof s;
    s.card = slot;
    if (slot >= kVcMaxCards) {
        s.status = kVcBadArgument;
        return;
    }
    const VcCard& c = cards_[slot];
    const VcSettings& now = c.settings;
    const VcSettings& def = c.defaults;
    s.status = kVcOk;
    s.answers = answerMask_ >> slot & 1;
    s.rangeFails = c.rangeFails ? 1 : 0;
    for (uint32_t i = 0; i < 4; ++i) s.idWords[i] = c.idWords[i];
    s.isFree = c.isFree;
    for (uint32_t r = 0; r < 2; ++r) {
        s.rangeStart[r] = c.rangeStart[r];
        s.rangeLength[r] = c.rangeLength[r];
    }
    for (uint32_t ch = 0; ch < kVcChannels; ++ch) {
        s.left[ch] = now.left[ch];
        s.right[ch] = now.right[ch];
        s.control[ch] = now.control[ch];
        s.defaultLeft[ch] = def.left[ch];
        s.defaultRight[ch] = def.right[ch];
        s.defaultControl[ch] = def.control[ch];
    }
    s.clockMode = now.clockMode;
    s.autoSync = now.autoSync;
    s.defaultClockMode = def.clockMode;
    s.defaultAutoSync = def.autoSync;
    for (uint32_t i = 0; i < kVcRecordStreams; ++i) {
        s.recordSync[i] = now.recordSync[i];
        s.defaultRecordSync[i] = def.recordSync[i];
        s.recordState[i] = c.recordState[i];
    }
    for (uint32_t i = 0; i < kVcPlaybackStreams; ++i) {
        s.playbackSync[i] = now.playbackSync[i];
        s.defaultPlaybackSync[i] = def.playbackSync[i];
        s.playbackState[i] = c.playbackState[i];
    }
    s.defaultsWord = c.defaultsWord;
    s.cardState = c.cardState;
    s.dmaStatus = c.dmaStatus;
    s.multiPlaying = c.multiPlaying;
    s.dmaErrorCount = c.dmaErrorCount;
    s.fpgaRevision = c.fpgaRevision;
    s.clockMeasurement = c.clockMeasurement;
}

void CVirtualCard::FillGlobal(VcGlobalSnapshot& s) const {
    s.status = kVcOk;
    s.version = kVcSnapshotVersion;
    s.size = sizeof s;
    s.answerMask = answerMask_;
    s.faultStatus = faultStatus_;
    s.faultStatusCalls = faultStatusCalls_;
    s.faultFailCalls = failCalls_;
    s.delayMs = delayMs_;
    s.requestCount = requestCount_;
    s.nextClientId = nextClientId_;
    s.lastRequestTicksLow = static_cast<uint32_t>(lastRequestTicks_);
    s.lastRequestTicksHigh = static_cast<uint32_t>(lastRequestTicks_ >> 32);
}
