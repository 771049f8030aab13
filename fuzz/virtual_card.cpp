// The virtual card's request handling fed arbitrary codes, request bytes, buffer
// sizes and sequences. Besides crashes it checks what every caller of the card
// relies on: a refused call writes nothing, a refusal by status changes no card,
// a request touches only the card it addresses, every protocol request is logged
// and counted once, and a shared request/reply buffer answers like two buffers.
#include <cstring>
#include <memory>

#include "device/Words.h"
#include "emulator/VirtualCard.h"
#include "fuzz/FuzzBytes.h"

namespace {

constexpr uint32_t kMaxSteps = 48;
constexpr uint8_t kUntouched = 0xA5;  // what reply bytes hold before a call

const uint32_t kPublicCodes[] = {4403, 4411, 4491, 4408, 4409, 4412, 4432, 4439, 4440, 4481, 4482,
                                 4483, 4484, 4485, 4486, 4487, 4488, 4489, 4490, 4495, 4496, 4499, 4500};
const uint32_t kPrivateCodes[] = {kVcReadCard,         kVcReadGlobal,      kVcSetStreamState,  kVcSetCardState,
                                  kVcSetDmaStatus,     kVcSetMultiPlaying, kVcSetDmaErrorCount, kVcSetFpgaRevision,
                                  kVcSetClockMeasurement, kVcSetIdWords,   kVcSetRangeFail,    kVcSetCardCount,
                                  kVcSetAnswerMask,    kVcFaultStatus,     kVcFaultFail,       kVcFaultDelay,
                                  kVcResetToLoad};

bool IsKnownPublic(uint32_t code) {
    for (uint32_t known : kPublicCodes)
        if (code == known) return true;
    return false;
}

// The card's state as cardctl reads it, through the private codes.
struct CardView {
    VcGlobalSnapshot global;
    VcCardSnapshot cards[kVcMaxCards];
};

template <typename T>
T ReadPrivate(CVirtualCard& card, uint32_t code, uint32_t slot) {
    uint8_t request[sizeof(VcPrivateRequest)] = {};
    std::memcpy(request, &slot, sizeof slot);
    T snapshot;
    uint32_t written = 0;
    Rule(card.Dispatch(code, request, sizeof request, &snapshot, sizeof snapshot, &written, nullptr),
         "a snapshot read with buffers of its own size is answered");
    Rule(written == sizeof snapshot, "a snapshot read reports the snapshot's size");
    return snapshot;
}

CardView View(CVirtualCard& card) {
    CardView view;
    view.global = ReadPrivate<VcGlobalSnapshot>(card, kVcReadGlobal, 0);
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot)
        view.cards[slot] = ReadPrivate<VcCardSnapshot>(card, kVcReadCard, slot);
    return view;
}

bool SameCard(const VcCardSnapshot& a, const VcCardSnapshot& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One call as the fuzzer shapes it.
struct Call {
    uint32_t code = 0;
    uint32_t inSize = 0;
    uint32_t outSize = 0;
    bool shared = false;     // request and reply in one buffer, as a buffered transfer has them
    bool nullIn = false;
    bool nullOut = false;
    bool askBytes = true;    // pass a place for the reply size
    bool askDelay = true;    // pass a place for the delay
    uint8_t bytes[64] = {};  // the request; only inSize of them are passed
};

uint32_t PickCode(FuzzBytes& in) {
    switch (in.Pick(4)) {
    case 0: return kPublicCodes[in.Pick(sizeof kPublicCodes / sizeof *kPublicCodes)];
    case 1: return kPrivateCodes[in.Pick(sizeof kPrivateCodes / sizeof *kPrivateCodes)];
    case 2: return 4400 + in.Pick(104);
    default: return in.Word32();
    }
}

uint32_t PickSize(FuzzBytes& in, uint32_t fitting) {
    switch (in.Pick(4)) {
    case 0: return in.Pick(fitting + 1);
    case 1: return fitting + in.Pick(8);
    default: return fitting;
    }
}

Call ShapeCall(FuzzBytes& in) {
    Call call;
    call.code = PickCode(in);
    call.inSize = PickSize(in, VcRequestBytesOf(call.code));
    if (call.inSize > sizeof call.bytes) call.inSize = sizeof call.bytes;
    call.outSize = PickSize(in, VcReplyBytesOf(call.code));
    const uint8_t shape = in.Byte();
    call.shared = shape & 1;
    call.nullIn = (shape & 0x1E) == 0x1E;
    call.nullOut = (shape & 0x3E) == 0x3C;
    call.askBytes = !(shape & 0x40);
    call.askDelay = !(shape & 0x80);
    in.Fill(call.bytes, sizeof call.bytes);
    // Most requests address a driver index the card may know.
    if (in.Pick(4) != 0) std::memset(call.bytes + (VcIsPrivateCode(call.code) ? 0 : 4) + 1, 0, 3);
    return call;
}

struct Outcome {
    bool answered = false;
    uint32_t replyBytes = 0;
    uint32_t delayMs = 0;
    std::unique_ptr<uint8_t[]> reply;  // the whole reply buffer after the call
    uint32_t replySize = 0;
};

// Runs one call with buffers of exactly the sizes asked for, so that the sanitizer
// sees any access past them.
Outcome Run(CVirtualCard& card, const Call& call, bool shared) {
    const uint32_t size = shared ? (call.inSize > call.outSize ? call.inSize : call.outSize) : call.outSize;
    std::unique_ptr<uint8_t[]> request(new uint8_t[call.inSize]);
    std::memcpy(request.get(), call.bytes, call.inSize);
    Outcome got;
    got.replySize = size;
    got.reply.reset(new uint8_t[size]);
    std::memset(got.reply.get(), kUntouched, size);
    if (shared) std::memcpy(got.reply.get(), call.bytes, call.inSize);
    uint32_t replyBytes = 0xDEAD, delayMs = 0xDEAD;
    const void* in = call.nullIn ? nullptr : shared ? got.reply.get() : request.get();
    void* out = call.nullOut ? nullptr : got.reply.get();
    got.answered = card.Dispatch(call.code, in, call.inSize, out, call.outSize, call.askBytes ? &replyBytes : nullptr,
                                 call.askDelay ? &delayMs : nullptr);
    got.replyBytes = call.askBytes ? replyBytes : 0;
    got.delayMs = call.askDelay ? delayMs : 0;
    return got;
}

void CheckBuffers(const Call& call, const Outcome& got) {
    Rule(got.replyBytes <= call.outSize, "the card never reports more reply bytes than the reply buffer holds");
    if (!got.answered) Rule(got.replyBytes == 0, "a refused call reports no reply bytes");
    // Past what the card reports writing, the buffer holds what it held before.
    if (got.answered && !call.askBytes) return;
    for (uint32_t i = got.replyBytes; i < got.replySize; ++i) {
        const uint8_t before = call.shared && i < call.inSize ? call.bytes[i] : kUntouched;
        Rule(got.reply[i] == before, got.answered ? "the card writes nothing past the reply bytes it reports"
                                                  : "a refused call writes nothing into the reply buffer");
    }
}

void CheckPrivate(const Call& call, const Outcome& got, const CardView& before, const CardView& after) {
    Rule(got.delayMs == 0, "private requests are never delayed");
    if (call.code != kVcResetToLoad || !got.answered)
        Rule(after.global.requestCount == before.global.requestCount, "private requests are never counted");
    if (call.nullIn || call.nullOut || call.inSize < sizeof(VcPrivateRequest)) {
        Rule(!got.answered, "a private request shorter than its layout is refused");
        return;
    }
    uint32_t replySize = sizeof(VcPrivateReply);
    if (call.code == kVcReadCard) replySize = sizeof(VcCardSnapshot);
    if (call.code == kVcReadGlobal) replySize = sizeof(VcGlobalSnapshot);
    if (call.outSize < replySize) {
        Rule(!got.answered, "a private request whose reply buffer is short is refused");
        return;
    }
    Rule(got.answered, "a private request with buffers of its sizes is answered");
    if (call.askBytes) Rule(got.replyBytes == replySize, "a private reply reports its layout's size");
    const uint32_t slot = GetWord32(call.bytes, 0);
    if (call.code == kVcReadCard && slot >= kVcMaxCards) {
        VcCardSnapshot expected = {};
        expected.status = kVcBadArgument;
        expected.version = kVcSnapshotVersion;
        expected.size = sizeof expected;
        expected.card = slot;
        Rule(std::memcmp(got.reply.get(), &expected, sizeof expected) == 0,
             "the snapshot of a slot above 3 carries its status and header and is otherwise all zero");
    }
    if (call.code != kVcReadCard && call.code != kVcReadGlobal)
        Rule(GetWord32(got.reply.get(), 4) == GetWord32(call.bytes, 8), "a private reply echoes the value it was given");
}

void CheckPublic(const Call& call, const Outcome& got, const CardView& before, const CardView& after,
                 const CVirtualCard& card) {
    const bool refusedForSize =
        call.nullIn || call.nullOut || call.inSize < kVcRequestSize || call.outSize < kVcReplySize;
    if (refusedForSize) {
        Rule(!got.answered, "a protocol request with buffers under 36 and 28 bytes is refused");
        Rule(after.global.requestCount == before.global.requestCount, "a request refused for its sizes is not counted");
        for (uint32_t slot = 0; slot < kVcMaxCards; ++slot)
            Rule(SameCard(before.cards[slot], after.cards[slot]), "a request refused for its sizes changes no card");
        return;
    }
    Rule(after.global.requestCount == before.global.requestCount + 1, "every protocol request is counted once");
    const VcLogEntry& logged = card.LogEntry(card.LogSize() - 1);
    Rule(logged.code == call.code && std::memcmp(logged.bytes, call.bytes, kVcRequestSize) == 0,
         "the log holds the request's code and its 36 bytes as sent");
    if (call.askDelay) {
        const uint32_t armed = before.global.delayMs;
        Rule(got.delayMs == (armed > kVcMaxDelayMs ? kVcMaxDelayMs : armed),
             "the card asks for the armed delay, at most its cap");
    }

    const uint32_t index = GetWord32(call.bytes, 4);
    for (uint32_t slot = 0; slot < kVcMaxCards; ++slot) {
        if (slot != index)
            Rule(SameCard(before.cards[slot], after.cards[slot]), "a request changes no card but the one it addresses");
    }
    const bool cardKept = index >= kVcMaxCards || SameCard(before.cards[index], after.cards[index]);

    if (before.global.faultFailCalls > 0) {
        Rule(!got.answered, "an armed failure fails the call");
        Rule(after.global.faultFailCalls == before.global.faultFailCalls - 1, "each failed call uses up one armed failure");
        Rule(cardKept, "a failed call changes no card");
        return;
    }
    if (!got.answered) {
        Rule(cardKept, "a failed call changes no card");
        return;
    }
    Rule(IsKnownPublic(call.code), "only the protocol's codes are answered");
    if (call.askBytes) Rule(got.replyBytes == kVcReplySize, "a protocol reply is 28 bytes");
    const uint8_t* reply = got.reply.get();
    const uint32_t status = GetWord32(reply, 0);
    if (before.global.faultStatusCalls > 0) {
        Rule(status == before.global.faultStatus, "an armed status is answered at offset 0");
        Rule(after.global.faultStatusCalls == before.global.faultStatusCalls - 1,
             "each answer with the armed status uses one up");
        Rule(cardKept, "a request answered with an armed status changes no card");
        return;
    }
    const bool answers = index < kVcMaxCards && before.cards[index].answers;
    if (call.code != 4403)
        Rule(answers || status == kVcNoSuchCard, "a driver index that does not answer gets no-such-card");
    if (status != kVcOk) {
        Rule(cardKept, "a request refused with a status changes no card");
        for (uint32_t offset = 4; offset < kVcReplySize; offset += 4)
            Rule(GetWord32(reply, offset) == 0, "a request refused with a status answers nothing but the status");
        return;
    }
    const VcCardSnapshot& was = before.cards[index < kVcMaxCards ? index : 0];
    const VcCardSnapshot& now = after.cards[index < kVcMaxCards ? index : 0];
    switch (call.code) {
    case 4403:
        Rule(GetWord32(reply, 4) == before.global.nextClientId, "the client request hands out the next client id");
        Rule(after.global.nextClientId == before.global.nextClientId + 1, "each client id is handed out once");
        break;
    case 4411:
        for (uint32_t i = 0; i < 4; ++i)
            Rule(GetWord16(reply, 12 + 2 * i) == was.idWords[i], "the card request answers the card's id words at 12..18");
        Rule(GetWord32(reply, 24) == was.isFree, "the card request answers the free flag at 24");
        break;
    case 4481: {
        const uint16_t channel = GetWord16(call.bytes, 20);
        Rule(channel < kVcChannels, "a level request for a channel above 10 is refused");
        Rule(now.left[channel] == GetWord16(call.bytes, 22) && now.right[channel] == GetWord16(call.bytes, 24),
             "a level request stores the levels at 22 and 24 for the channel at 20");
        break;
    }
    case 4482: {
        const uint32_t channel = GetWord32(call.bytes, 8);
        Rule(channel < kVcChannels, "a level read for a channel above 10 is refused");
        Rule(GetWord32(reply, 4) == was.left[channel] && GetWord32(reply, 8) == was.right[channel],
             "a level read answers the channel's left and right levels");
        break;
    }
    case 4439:
        Rule(now.clockMode == GetWord32(call.bytes, 16), "a clock mode request stores the mode at 16");
        break;
    case 4440: Rule(GetWord32(reply, 4) == was.clockMode, "a clock mode read answers the mode"); break;
    case 4488:
    case 4489: Rule(now.autoSync == (call.code == 4489 ? 1u : 0u), "4489 turns auto sync on, 4488 off"); break;
    case 4490: Rule(GetWord32(reply, 4) == was.autoSync, "an auto sync read answers the flag"); break;
    default: break;
    }
}

CVirtualCard g_card;
CVirtualCard g_twin;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    g_card.Reset();
    for (uint32_t step = 0; step < kMaxSteps && !in.Empty(); ++step) {
        const Call call = ShapeCall(in);
        g_twin = g_card;
        const CardView before = View(g_card);
        const Outcome got = Run(g_card, call, call.shared);
        const CardView after = View(g_card);
        CheckBuffers(call, got);
        if (VcIsPrivateCode(call.code))
            CheckPrivate(call, got, before, after);
        else
            CheckPublic(call, got, before, after, g_card);

        // The same request in two buffers answers the same and leaves the same card.
        const Outcome apart = Run(g_twin, call, false);
        Rule(apart.answered == got.answered && apart.replyBytes == got.replyBytes &&
                 std::memcmp(apart.reply.get(), got.reply.get(), got.replyBytes) == 0,
             "a request in one shared buffer answers as in two buffers");
        const CardView twin = View(g_twin);
        for (uint32_t slot = 0; slot < kVcMaxCards; ++slot)
            Rule(SameCard(twin.cards[slot], after.cards[slot]), "a request in one shared buffer changes the card alike");
    }
    return 0;
}
