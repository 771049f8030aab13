// The device layer fed arbitrary replies, statuses and reply sizes by its port,
// then driven through a sequence of card operations with arbitrary arguments. It
// checks the protocol as the driver and the callers see it: discovery's requests
// and card count, the words each request sets (and that every other word still
// holds what the last request left), nothing sent on a refused index or
// argument, outputs untouched when the call fails, and outputs and status taken
// from the reply when it succeeds.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/CardControl.h"
#include "device/DriverLink.h"
#include "device/ProgramLauncher.h"
#include "device/Words.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/ReplayPort.h"

namespace {

constexpr uint32_t kMaxOperations = 40;
constexpr uint32_t kSentinel32 = 0xC0DEFACEu;
constexpr uint16_t kSentinel16 = 0xBEEF;
constexpr uint8_t kSentinel8 = 0x5A;

// A word a request sets: its offset, its width in bytes and its value.
struct Field {
    uint32_t offset;
    uint32_t width;
    uint32_t value;
};

struct Expected {
    uint32_t code;
    std::vector<Field> fields;
};

// What the target knows of the link: the client id, the cards found and the
// request buffer as the last call left it.
struct Model {
    uint32_t clientId = 0;
    std::vector<uint32_t> driverIndexes;
    std::vector<uint32_t> idKeys;  // idWord1 | idWord2 << 16 of each card found
    uint8_t request[36] = {};
};

// The request carries the expected words, and every byte no word covers is what
// the previous request left in the buffer.
void CheckFrame(Model& model, const PortCall& call, const Expected& expected, const char* what) {
    Rule(call.code == expected.code, what);
    uint8_t wanted[36];
    std::memcpy(wanted, model.request, sizeof wanted);
    for (const Field& f : expected.fields)
        for (uint32_t i = 0; i < f.width; ++i) wanted[f.offset + i] = static_cast<uint8_t>(f.value >> (8 * i));
    for (const Field& f : expected.fields) {
        bool right = true;
        for (uint32_t i = 0; i < f.width; ++i) right = right && call.request[f.offset + i] == wanted[f.offset + i];
        Rule(right, f.offset == 0   ? "word 0 of a request is the client id"
                    : f.offset == 4 ? "word 1 of a request is the card's driver index"
                    : f.offset == 12 ? "offset 12 of a card request is the card reference"
                                     : "a request carries its arguments at their offsets");
    }
    Rule(std::memcmp(call.request, wanted, sizeof wanted) == 0,
         "words a request does not set hold what the previous request left");
    std::memcpy(model.request, call.requestAfter, sizeof model.request);
}

bool Succeeded(const PortCall& call) { return call.answered && GetWord32(call.reply, 0) == 0; }

void CheckDiscovery(Model& model, const PortRecord& record, CCardControl& control) {
    Rule(record.opens == 1 && record.openedPath == kDevicePath, "building a link opens \\\\.\\ZelkWave once");
    size_t next = 0;
    auto take = [&]() -> const PortCall& {
        Rule(next < record.calls.size(), "discovery sends the client, card and range requests in order");
        return record.calls[next++];
    };
    const PortCall& client = take();
    CheckFrame(model, client, {4403, {{4, 4, 0}}}, "discovery starts with the client request");
    model.clientId = Succeeded(client) ? GetWord32(client.reply, 4) : 0;
    for (uint32_t i = 0; i < kMaxCards; ++i) {
        const PortCall& card = take();
        CheckFrame(model, card, {4411, {{0, 4, model.clientId}, {4, 4, i}}},
                   "discovery sends a card request for each driver index 0..3");
        if (!Succeeded(card)) continue;
        const uint32_t key = GetWord16(card.reply, 14) | static_cast<uint32_t>(GetWord16(card.reply, 16)) << 16;
        bool duplicate = false;
        for (uint32_t seen : model.idKeys) duplicate = duplicate || seen == key;
        if (duplicate) continue;
        model.driverIndexes.push_back(i);
        model.idKeys.push_back(key);
        for (uint32_t range = 0; range < 2; ++range)
            CheckFrame(model, take(), {4491, {{0, 4, model.clientId}, {4, 4, i}, {8, 4, range}}},
                       "a new card gets range requests 0 and 1");
    }
    Rule(next == record.calls.size(), "discovery sends nothing else");
    Rule(control.GetCardCount() == model.driverIndexes.size(),
         "the card count is the number of distinct cards that answered with status 0");
}

// The arguments of one operation, drawn from the input.
struct Args {
    int32_t card;
    uint32_t a, b, c, d;
    uint16_t channel;
    bool withOutput;
};

int32_t PickCard(FuzzBytes& in) {
    switch (in.Pick(8)) {
    case 0: return static_cast<int32_t>(in.Word32());
    case 1: return -1;
    default: return static_cast<int32_t>(in.Pick(5));
    }
}

uint16_t PickChannel(FuzzBytes& in) { return in.Pick(4) == 0 ? in.Word16() : static_cast<uint16_t>(in.Pick(13)); }

// What a selector of QueryStatus reads: a register, or the status request.
struct RegisterRead {
    bool isRegister;
    uint32_t space, size, mode, address;
};

RegisterRead RegisterOf(uint32_t selector, uint32_t bank, uint32_t item) {
    switch (selector) {
    case 2: return {true, bank, 1, 0, 35};
    case 3: return {true, 0, 2, 0, 66};
    case 4: return {true, 0, 1, 1, 73};
    case 5: return {true, 0, 1, 1, 74 + item};
    case 6: return {true, 0, 2, 0, 61};
    case 7: return {true, 0, 1, 0, 24};
    case 8: return {true, 0, 2, 0, 24};
    case 9: return {true, 0, 2, 0, 62};
    case 10: return {true, 1, 2, 0, 32};
    case 11: return {true, 0, 1, 0, 4137};
    default: return {false, 0, 0, 0, 0};
    }
}

std::string g_launched;
bool CaptureLaunch(const char* commandLine) {
    g_launched = commandLine;
    return true;
}

class Driver {
public:
    Driver(FuzzBytes& in, PortRecord& record, Model& model, CCardControl& control)
        : in_(in), record_(record), model_(model), control_(control) {}

    void Step();

private:
    bool CardKnown(int32_t card) const { return static_cast<uint32_t>(card) < model_.driverIndexes.size(); }

    std::vector<Field> Head(int32_t card) const {
        return {{0, 4, model_.clientId}, {4, 4, model_.driverIndexes[static_cast<uint32_t>(card)]}};
    }
    std::vector<Field> HeadAndRef(int32_t card) const {
        std::vector<Field> fields = Head(card);
        fields.push_back({12, 4, 0});  // the card reference: 0 from discovery, 0 again after freeing
        return fields;
    }

    // The calls since `before`: none when the operation was refused before sending.
    size_t Sent(size_t before) const { return record_.calls.size() - before; }
    const PortCall& Call(size_t i) const { return record_.calls[i]; }

    // Checks a one-request operation: refused index or argument sends nothing and
    // returns its code; otherwise one request framed as expected, and the status is
    // reply word 0 or the call's failure. Returns the call, or null when none went out.
    const PortCall* One(size_t before, int32_t result, int32_t card, bool argOk, const Expected& expected);

    void QueryStatus(const Args& a);
    void Launch();

    FuzzBytes& in_;
    PortRecord& record_;
    Model& model_;
    CCardControl& control_;
};

const PortCall* Driver::One(size_t before, int32_t result, int32_t card, bool argOk, const Expected& expected) {
    if (!CardKnown(card)) {
        Rule(result == kBadCardIndex && Sent(before) == 0, "a card index not below the card count sends nothing, -869");
        return nullptr;
    }
    if (!argOk) {
        Rule(result == kArgOutOfRange && Sent(before) == 0, "an argument out of range sends nothing, -860");
        return nullptr;
    }
    Rule(Sent(before) == 1, "an operation sends one request");
    const PortCall& call = Call(before);
    CheckFrame(model_, call, expected, "an operation sends its own request code");
    if (!call.answered)
        Rule(result == kDriverCallFailed, "a failed call returns -870");
    else
        Rule(result == static_cast<int32_t>(GetWord32(call.reply, 0)), "an operation returns reply word 0");
    return &call;
}

void Driver::QueryStatus(const Args& a) {
    const size_t before = record_.calls.size();
    uint32_t out = kSentinel32;
    const uint32_t selector = a.b % 24 == 23 ? a.b : a.b % 24;
    const uint32_t item = a.c % 4 == 0 ? a.c : a.c % 14;
    const int32_t result = control_.QueryStatus(a.card, a.a, selector, item, a.withOutput ? &out : nullptr);
    const RegisterRead r = RegisterOf(selector, a.a, item);
    if (!r.isRegister) {
        std::vector<Field> f;
        if (CardKnown(a.card)) {
            f = Head(a.card);
            f.insert(f.end(), {{8, 4, a.a}, {16, 4, selector}, {20, 4, item}});
        }
        const PortCall* call = One(before, result, a.card, true, {4412, f});
        if (a.withOutput)
            Rule(call && call->answered ? out == GetWord32(call->reply, 4) : out == kSentinel32,
                 "a status query delivers reply word 1, or leaves the output alone when it fails");
        return;
    }
    if (!CardKnown(a.card)) {
        Rule(result == kBadCardIndex && Sent(before) == 0, "a card index not below the card count sends nothing, -869");
        Rule(out == kSentinel32, "a refused query leaves the output alone");
        return;
    }
    if (selector == 5 && item >= 12) {
        Rule(result == kArgOutOfRange && Sent(before) == 0, "selector 5 with item 12 or more sends nothing, -860");
        Rule(out == kSentinel32, "a refused query leaves the output alone");
        return;
    }
    // One register read, and a second one only when the first did not give 0.
    const size_t sent = Sent(before);
    Rule(sent == 1 || sent == 2, "a register selector reads the register once or twice");
    int32_t last = 0;
    const PortCall* answered = nullptr;
    for (size_t i = 0; i < sent; ++i) {
        const PortCall& call = Call(before + i);
        std::vector<Field> f = Head(a.card);
        f.insert(f.end(), {{8, 4, r.space}, {16, 4, r.size}, {20, 4, r.address}, {24, 4, r.mode & 0xFF}});
        CheckFrame(model_, call, {4432, f}, "a register selector sends the register read 4432");
        last = call.answered ? static_cast<int32_t>(GetWord32(call.reply, 0)) : kDriverCallFailed;
        if (i == 0) Rule((last != 0) == (sent == 2), "the register is read again only when the first read did not give 0");
        if (call.answered) answered = &call;
    }
    Rule(result == last, "a register selector returns the status of its last read");
    if (!a.withOutput) return;
    const char* untouched = "a query whose reads all fail leaves the caller's output untouched";
    if (selector == 2) {
        if (result == 0)
            Rule(out == ((GetWord32(Call(before + sent - 1).reply, 4) & 0x10) == 0 ? 1u : 0u),
                 "selector 2 gives 1 when bit 4 of the register is clear, else 0");
        else
            Rule(out == kSentinel32, "selector 2 writes its output only when the read gives 0");
        return;
    }
    if (!answered) {
        Rule(out == kSentinel32, selector == 6 ? "selector 6: a failed read leaves the caller's output untouched "
                                                 "(no clock bias added to a value that was never read)"
                                               : untouched);
        return;
    }
    const uint32_t value = GetWord32(answered->reply, 4);
    if (selector == 6) {
        const bool lastAnswered = answered == &Call(before + sent - 1);
        Rule(out == value + 5 || (!lastAnswered && out == value),
             "selector 6 delivers the register value read plus 5");
    } else {
        Rule(out == value, "a register selector delivers the value of its last successful read");
    }
}

void Driver::Launch() {
    char argument[320];
    const size_t length = in_.Pick(4) == 0 ? 300 : in_.Pick(40);
    for (size_t i = 0; i < length; ++i) argument[i] = static_cast<char>(1 + in_.Pick(255));
    argument[length] = '\0';
    const size_t before = record_.calls.size();
    g_launched.clear();
    Rule(control_.LaunchAudioSettings(PickCard(in_), argument) == 0, "launching the audio settings returns 0");
    Rule(Sent(before) == 0, "launching the audio settings sends no request");
    const std::string prefix = "MirvaCP.exe ";
    const std::string expected = (prefix + argument).substr(0, 255);
    Rule(g_launched == expected, "the audio settings command line is the prefix and the argument, cut at 255");
}

void Driver::Step() {
    Args a;
    a.card = PickCard(in_);
    a.a = in_.Word32();
    a.b = in_.Word32();
    a.c = in_.Word32();
    a.d = in_.Word32();
    a.channel = PickChannel(in_);
    a.withOutput = in_.Pick(8) != 0;
    const bool argOk = a.channel <= 10;
    const size_t before = record_.calls.size();
    const std::vector<Field> none;
    auto with = [&](std::vector<Field> head, std::initializer_list<Field> more) {
        head.insert(head.end(), more);
        return head;
    };
    const bool known = CardKnown(a.card);
    const std::vector<Field> head = known ? Head(a.card) : none;
    const std::vector<Field> ref = known ? HeadAndRef(a.card) : none;

    uint32_t out32 = kSentinel32;
    uint16_t left = kSentinel16, right = kSentinel16;
    uint8_t flag = kSentinel8;
    uint32_t* p32 = a.withOutput ? &out32 : nullptr;
    uint8_t* p8 = a.withOutput ? &flag : nullptr;

    // Each read checks its outputs: from the reply when the call went through,
    // untouched when it did not.
    auto delivered32 = [&](const PortCall* call, uint32_t value) {
        if (a.withOutput) Rule(call && call->answered ? out32 == value : out32 == kSentinel32,
                               "an operation's output is its reply value, or untouched when it fails");
    };
    auto deliveredFlag = [&](const PortCall* call) {
        if (a.withOutput)
            Rule(call && call->answered ? flag == (GetWord32(call->reply, 4) != 0 ? 1 : 0) : flag == kSentinel8,
                 "a flag read delivers 1 for a nonzero reply word 1 and 0 for zero, or stays untouched when it fails");
    };

    switch (in_.Pick(20)) {
    case 0: One(before, control_.ResetCardStart(a.card), a.card, true, {4408, head}); break;
    case 1: {
        const bool stopped = control_.ResetCardStop(a.card);
        if (!known) {
            Rule(!stopped && Sent(before) == 0, "resetting a card index not below the card count sends nothing");
            break;
        }
        Rule(Sent(before) == 1, "an operation sends one request");
        CheckFrame(model_, Call(before), {4409, head}, "the reset's first step sends 4409");
        Rule(stopped == Succeeded(Call(before)), "the reset's first step is true only for a call answered with 0");
        break;
    }
    case 2: QueryStatus(a); break;
    case 3: {
        const uint32_t mode = a.d;
        const PortCall* call = One(before, control_.ReadRegister(a.card, a.a, a.b, mode, a.c, p32), a.card, true,
                                   {4432, with(head, {{8, 4, a.a}, {16, 4, a.b}, {20, 4, a.c}, {24, 4, mode & 0xFF}})});
        delivered32(call, call ? GetWord32(call->reply, 4) : 0);
        break;
    }
    case 4: One(before, control_.SetClockMode(a.card, a.a), a.card, true, {4439, with(head, {{16, 4, a.a}})}); break;
    case 5: {
        const PortCall* call = One(before, control_.GetClockMode(a.card, p32), a.card, true, {4440, head});
        delivered32(call, call ? GetWord16(call->reply, 4) : 0);
        break;
    }
    case 6: {
        const uint16_t l = static_cast<uint16_t>(a.a), r = static_cast<uint16_t>(a.b);
        One(before, control_.SetChannelLevels(a.card, a.channel, l, r), a.card, argOk,
            {4481, with(ref, {{20, 2, a.channel}, {22, 2, l}, {24, 2, r}})});
        break;
    }
    case 7: {
        const PortCall* call =
            One(before, control_.GetChannelLevels(a.card, a.channel, a.withOutput ? &left : nullptr, &right), a.card,
                argOk, {4482, with(ref, {{8, 4, a.channel}})});
        if (a.withOutput)
            Rule(call && call->answered ? left == GetWord16(call->reply, 4) : left == kSentinel16,
                 "a level read delivers the low half of reply word 1 as left, or leaves it untouched when it fails");
        Rule(call && call->answered ? right == GetWord16(call->reply, 8) : right == kSentinel16,
             "a level read delivers the low half of reply word 2 as right, or leaves it untouched when it fails");
        break;
    }
    case 8: {
        const PortCall* call = One(before, control_.GetChannelControl(a.card, a.channel, p8), a.card, argOk,
                                   {4483, with(ref, {{8, 4, a.channel}})});
        deliveredFlag(call);
        break;
    }
    case 9: {
        const uint32_t on = a.a % 3 == 0 ? a.a : a.a % 3;
        One(before, control_.SetChannelControl(a.card, a.channel, on), a.card, argOk,
            {on == 1 ? 4485u : 4484u, with(ref, {{8, 4, a.channel}})});
        break;
    }
    case 10: {
        const uint16_t stream = static_cast<uint16_t>(a.b);
        const PortCall* call = One(before, control_.GetStreamSync(a.card, a.a, stream, p8), a.card, true,
                                   {4486, with(ref, {{16, 4, a.a}, {20, 2, stream}})});
        deliveredFlag(call);
        break;
    }
    case 11: {
        const uint16_t stream = static_cast<uint16_t>(a.b);
        const uint32_t on = a.c % 3 == 0 ? a.c : a.c % 3;
        One(before, control_.SetStreamSync(a.card, a.a, stream, on), a.card, true,
            {4487, with(ref, {{16, 4, a.a}, {20, 2, stream}, {22, 2, on == 1 ? 1u : 0u}})});
        break;
    }
    case 12: {
        const uint32_t on = a.a % 3 == 0 ? a.a : a.a % 3;
        One(before, control_.SetAutoSync(a.card, on), a.card, true, {on == 1 ? 4489u : 4488u, ref});
        break;
    }
    case 13: {
        const PortCall* call = One(before, control_.GetAutoSync(a.card, p8), a.card, true, {4490, ref});
        deliveredFlag(call);
        break;
    }
    case 14: One(before, control_.SaveDefaults(a.card), a.card, true, {4495, ref}); break;
    case 15: One(before, control_.RetrieveDefaults(a.card), a.card, true, {4496, ref}); break;
    case 16: One(before, control_.FreeCard(a.card), a.card, true, {4499, ref}); break;
    case 17: {
        const PortCall* call = One(before, control_.ReadDefaultsWord(a.card, p32), a.card, true, {4500, head});
        delivered32(call, call ? GetWord16(call->reply, 4) : 0);
        break;
    }
    case 18: Launch(); break;
    default: {
        // After Release every operation finds no card and sends nothing.
        control_.Release();
        Rule(record_.closes == 1, "releasing the control closes the device once");
        model_.driverIndexes.clear();
        Rule(control_.GetCardCount() == 0, "a released control counts no card");
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    PortRecord record;
    Model model;
    SetProgramLauncher(CaptureLaunch);
    CCardControl control(std::make_unique<ReplayPort>(in, record));
    CheckDiscovery(model, record, control);
    Driver driver(in, record, model, control);
    for (uint32_t i = 0; i < kMaxOperations && !in.Empty(); ++i) driver.Step();
    return 0;
}
